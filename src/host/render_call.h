#pragma once
// The one call from the host boundary into the renderer: render the sun over the
// render rectangle, glue it and write it through the host image access. The render
// mode, scale divisor and offsets are already set in the settings record.
#include "host/host_context.h"

namespace corvanthe {

void render_sun(HostContext& context, const sdk::VRect& render_rect);

}  // namespace corvanthe
