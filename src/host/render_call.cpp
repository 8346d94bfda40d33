#include "host/render_call.h"

#include "host/pool_render.h"

namespace corvanthe {
namespace {

RenderProc renderer = render_on_pool;

}  // namespace

void render_sun(HostContext& context, const sdk::VRect& render_rect) { renderer(context, render_rect); }

void set_render_proc(RenderProc procedure) { renderer = procedure ? procedure : render_on_pool; }

}  // namespace corvanthe
