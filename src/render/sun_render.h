#pragma once
// The sun's render on the worker pool: every job renders its piece with the pixel kernel
// on a worker thread, and its completion step glues the piece onto the destination on
// the calling thread, one piece at a time in the order the jobs finish.
#include <cstdint>

#include "layers/glue_destination.h"
#include "layers/glue_write_back.h"
#include "render/worker_pool.h"
#include "sdk/filter_record.h"
#include "settings/sun_settings.h"

namespace corvanthe {

// Where the sun is rendered, in pixels of the target.
struct SunTarget {
    sdk::VRect rect{};          // the render rectangle
    int32_t image_width = 0;    // of the whole target (render mode 2 zooms by it)
    int32_t image_height = 0;
    int32_t scale_divisor = 1;
    int32_t origin_x = 0;       // where the kernel counts its pixels from (the centre is
    int32_t origin_y = 0;       // placed relative to it): the render rectangle's corner
    int32_t view_origin_x = 0;  // a preview's top-left corner in image pixels
    int32_t view_origin_y = 0;
    int32_t depth_bits = 8;     // of the target's channels: 8, 16 or 32 (float)
};

class RenderProgress {
public:
    virtual void report(int32_t finished, int32_t total) = 0;

protected:
    ~RenderProgress() = default;
};

constexpr int16_t kSunRenderNoMemory = sdk::kMemFullErr;

// Renders and glues the whole rectangle; glue.render_mode is the render's mode, and progress
// (optional) hears of finished jobs in render mode 0. A preview (mode 1) is the whole image's sun
// seen at 1/scale_divisor from the view origin: its sizes and centre are taken on the image, and
// the rectangle holds the preview pixels it shows. Once the destination refuses a piece (the
// host's error or cancel) no later piece is rendered or glued. Returns 0 (also after a refusal,
// whose code the destination keeps); kSunRenderNoMemory when the tables could not be built
// (nothing is drawn) or a job could not run for want of memory.
int16_t render_sun_pieces(const SunSettings& settings, const SunTarget& target, const GlueSetup& glue,
                          GlueDestination& destination, RenderProgress* progress,
                          const PoolOptions& options = {});

}  // namespace corvanthe
