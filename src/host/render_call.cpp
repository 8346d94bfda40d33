#include "host/render_call.h"

// Filled in with the render driver and the worker pool; until then a run leaves the
// image as it is.

namespace corvanthe {

void render_sun(HostContext&, const sdk::VRect&) {}

}  // namespace corvanthe
