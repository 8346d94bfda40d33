#include "host/render_call.h"

namespace corvanthe {
namespace {

// Filled in with the render driver and the worker pool; until then a run leaves the
// image as it is.
void built_in_render(HostContext&, const sdk::VRect&) {}

RenderProc renderer = built_in_render;

}  // namespace

void render_sun(HostContext& context, const sdk::VRect& render_rect) { renderer(context, render_rect); }

void set_render_proc(RenderProc procedure) { renderer = procedure ? procedure : built_in_render; }

}  // namespace corvanthe
