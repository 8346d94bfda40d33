#pragma once
// Builds every table of a render from the settings, before any job starts.
#include <cstdint>

#include "render/render_context.h"
#include "sdk/filter_record.h"
#include "settings/sun_settings.h"

namespace corvanthe {

constexpr int16_t kRenderOutOfMemory = sdk::kMemFullErr;
constexpr int32_t kMaxScaleDivisor = 65536;

// Fills `context` for one render: 0 on success, kRenderOutOfMemory when the sphere map
// buffer cannot be had (the context is then not ready and render_piece draws nothing).
int16_t render_prepare(RenderContext& context, const SunSettings& settings, const RenderRequest& request);

}  // namespace corvanthe
