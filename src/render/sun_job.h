#pragma once
// Job kind 2 of the worker pool: the pixel kernel over each job's piece.
#include <cstdint>

#include "layers/job.h"
#include "render/render_context.h"
#include "sdk/types.h"

namespace corvanthe {

// Renders every job's piece into its first cell buffer. Pieces arrive in the run's
// coordinates; the kernel counts pixels from `origin` (the run coordinates of its (0, 0):
// the render rectangle's corner for a render into the image, (0, 0) for a preview run over
// the preview's own pixels). Subclasses add the completion step (the glue).
class SunJobWork : public JobWork {
public:
    SunJobWork(const RenderContext& context, int32_t origin_x, int32_t origin_y)
        : context_(context), origin_x_(origin_x), origin_y_(origin_y) {}

    int32_t layer_count() const override { return context_.job_buffers; }
    void work(JobTask& task) override;

protected:
    ~SunJobWork() = default;

private:
    const RenderContext& context_;
    int32_t origin_x_;
    int32_t origin_y_;
};

// The kernel over one piece given in run coordinates, into a buffer laid out in them too.
void render_job_piece(const RenderContext& context, int32_t origin_x, int32_t origin_y, const sdk::VRect& piece,
                      CellBuffer& buffer);

}  // namespace corvanthe
