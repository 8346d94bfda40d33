#include "bench/bench_support.h"

#include "render/render_prepare.h"
#include "render/sun_job.h"
#include "render/worker_pool.h"

namespace corvanthe::bench {

namespace {

// The sun jobs with a completion step that only reads the finished piece.
class SunCells final : public SunJobWork {
public:
    SunCells(const RenderContext& context, float& checksum) : SunJobWork(context, 0, 0), checksum_(checksum) {}
    void complete(JobTask& task) override {
        if (task.cells.count < 1) return;
        if (const Cell* c = task.cells.buffers[0].cell(task.piece.left, task.piece.top)) checksum_ += c->colour[0];
    }

private:
    float& checksum_;
};

}  // namespace

ProcessorCount::ProcessorCount(int32_t processors) { set_processor_override(processors); }
ProcessorCount::~ProcessorCount() { set_processor_override(0); }

bool render_into_cells(RenderContext& context, const SunSettings& settings, const RenderRequest& request,
                       float& checksum) {
    if (render_prepare(context, settings, request) != 0) return false;
    SunCells work(context, checksum);
    const sdk::VRect rect{request.rect.top, request.rect.left, request.rect.bottom, request.rect.right};
    return run_jobs(kSunJob, rect, kTileLayout, work);
}

}  // namespace corvanthe::bench
