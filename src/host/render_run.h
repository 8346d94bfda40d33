#pragma once
// One render of the sun: into the host image (mode 0), the dialog's preview (mode 1)
// or a layered store (mode 2). Whatever the render changes in the host's rectangles
// and in the settings record is put back afterwards.
#include <cstdint>

#include "host/host_context.h"

namespace corvanthe {

enum RenderMode : int32_t { kRenderHostImage = 0, kRenderPreview = 1, kRenderLayerStore = 2 };

// Needs the kept blocks locked and the work buffers allocated.
void render_run(HostContext& context, int32_t mode);

}  // namespace corvanthe
