#include "render/sun_render.h"

#include <memory>
#include <new>

#include "layers/glue_task.h"
#include "render/render_prepare.h"
#include "render/sun_job.h"

namespace corvanthe {
namespace {

DepthClass depth_of(int32_t bits) {
    if (bits <= 8) return DepthClass::Eight;
    if (bits == 16) return DepthClass::Sixteen;
    return DepthClass::Float;
}

// The kernel's jobs with the glue as their completion step.
class SunJobs final : public SunJobWork {
public:
    SunJobs(const RenderContext& context, const SunTarget& target, const GlueSetup& glue,
            GlueDestination& destination, RenderProgress* progress)
        : SunJobWork(context, target.origin_x, target.origin_y),
          glue_(glue),
          destination_(destination),
          progress_(progress) {}

    void complete(JobTask& task) override {
        if (stopped_ || task.cells.count < 1 || !task.cells.buffers) return;
        if (!glue_task(task.cells.buffers[0], task.piece, glue_, destination_)) stopped_ = true;
    }

    void progress(int32_t finished, int32_t total) override {
        if (progress_ && glue_.render_mode == 0) progress_->report(finished, total);
    }

    // A refused piece (the host's error or cancel) ends the render: no more tiles are rendered.
    bool stopped() const override { return stopped_; }

private:
    const GlueSetup& glue_;
    GlueDestination& destination_;
    RenderProgress* progress_;
    bool stopped_ = false;
};

}  // namespace

int16_t render_sun_pieces(const SunSettings& settings, const SunTarget& target, const GlueSetup& glue,
                          GlueDestination& destination, RenderProgress* progress, const PoolOptions& options) {
    // The tables are large; they live for this render only.
    std::unique_ptr<RenderContext> context(new (std::nothrow) RenderContext());
    if (!context) return kRenderOutOfMemory;

    RenderRequest request;
    if (glue.render_mode == 1)
        request.rect = {0, 0, target.image_width, target.image_height};
    else
        request.rect = {0, 0, target.rect.right - target.rect.left, target.rect.bottom - target.rect.top};
    request.image_width = target.image_width;
    request.image_height = target.image_height;
    request.render_mode = glue.render_mode;
    request.scale_divisor = target.scale_divisor;
    request.view_origin_x = target.view_origin_x;
    request.view_origin_y = target.view_origin_y;
    request.depth = depth_of(target.depth_bits);
    if (const int16_t code = render_prepare(*context, settings, request)) return code;

    SunJobs jobs(*context, target, glue, destination, progress);
    return run_jobs(kSunJob, target.rect, kTileLayout, jobs, options) ? 0 : kSunRenderNoMemory;
}

}  // namespace corvanthe
