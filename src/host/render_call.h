#pragma once
// The one call from the host boundary into the renderer: render the sun over the
// render rectangle, glue it and write it through the host image access. The render
// mode, scale divisor and offsets are already set in the settings record.
#include "host/host_context.h"

namespace corvanthe {

using RenderProc = void (*)(HostContext& context, const sdk::VRect& render_rect);

void render_sun(HostContext& context, const sdk::VRect& render_rect);

// Replaces the renderer (nullptr restores the built-in one): tests watch the renders
// a run asks for and stand in their own.
void set_render_proc(RenderProc procedure);

}  // namespace corvanthe
