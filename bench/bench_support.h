#pragma once
// What the benchmarks share: a pool thread count that is undone when a benchmark ends,
// and a sun rendered into cell buffers as job kind 2 of the pool.
#include <cstdint>

#include "render/render_context.h"
#include "settings/sun_settings.h"
#include "tests/support/render_request.h"

namespace corvanthe::bench {

using testing::default_settings;
using testing::full_request;

// Sets the pool's processor count for one benchmark and restores the system's after it.
class ProcessorCount {
public:
    explicit ProcessorCount(int32_t processors);
    ~ProcessorCount();
    ProcessorCount(const ProcessorCount&) = delete;
    ProcessorCount& operator=(const ProcessorCount&) = delete;
};

// render_prepare, then the pool's kind-2 run over the request's rectangle into per-job cell
// buffers. False when the preparation or a job failed. `checksum` sums one cell per job so
// the work cannot be optimised away.
bool render_into_cells(RenderContext& context, const SunSettings& settings, const RenderRequest& request,
                       float& checksum);

}  // namespace corvanthe::bench
