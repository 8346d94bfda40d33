#include "render/sun_render.h"

#include <memory>
#include <new>

#include "layers/glue_task.h"
#include "render/pixel_kernel.h"
#include "render/render_prepare.h"

namespace corvanthe {
namespace {

DepthClass depth_of(int32_t bits) {
    if (bits <= 8) return DepthClass::Eight;
    if (bits == 16) return DepthClass::Sixteen;
    return DepthClass::Float;
}

class SunJobs final : public JobWork {
public:
    SunJobs(const RenderContext& context, const GlueSetup& glue, GlueDestination& destination,
            RenderProgress* progress)
        : context_(context), glue_(glue), destination_(destination), progress_(progress) {}

    int32_t layer_count() const override { return context_.job_buffers; }

    void work(JobTask& task) override {
        if (task.cells.count < 1) return;
        const sdk::VRect& p = task.piece;
        render_piece(context_, {p.left, p.top, p.right, p.bottom}, task.cells.buffers[0]);
    }

    void complete(JobTask& task) override {
        if (stopped_ || task.cells.count < 1) return;
        if (!glue_task(task.cells.buffers[0], task.piece, glue_, destination_)) stopped_ = true;
    }

    void progress(int32_t finished, int32_t total) override {
        if (progress_ && glue_.render_mode == 0) progress_->report(finished, total);
    }

private:
    const RenderContext& context_;
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
    request.rect = {target.rect.left, target.rect.top, target.rect.right, target.rect.bottom};
    request.image_width = target.image_width;
    request.image_height = target.image_height;
    request.render_mode = glue.render_mode;
    request.scale_divisor = target.scale_divisor;
    request.view_origin_x = target.view_origin_x;
    request.view_origin_y = target.view_origin_y;
    request.depth = depth_of(target.depth_bits);
    if (const int16_t code = render_prepare(*context, settings, request)) return code;

    SunJobs jobs(*context, glue, destination, progress);
    return run_jobs(kSunJob, target.rect, kTileLayout, jobs, options) ? 0 : kSunRenderNoMemory;
}

}  // namespace corvanthe
