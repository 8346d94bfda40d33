#include "render/sun_job.h"

#include "render/fast_kernel.h"

namespace corvanthe {

void render_job_piece(const RenderContext& context, int32_t origin_x, int32_t origin_y, const sdk::VRect& piece,
                      CellBuffer& buffer) {
    // The same cells, addressed from the kernel's origin.
    CellBuffer shifted = buffer;
    shifted.left = int32_t(int64_t(buffer.left) - origin_x);
    shifted.top = int32_t(int64_t(buffer.top) - origin_y);
    const RenderRect local{int32_t(int64_t(piece.left) - origin_x), int32_t(int64_t(piece.top) - origin_y),
                           int32_t(int64_t(piece.right) - origin_x), int32_t(int64_t(piece.bottom) - origin_y)};
    render_piece_fast(context, local, shifted);
}

void SunJobWork::work(JobTask& task) {
    if (task.cells.count < 1 || !task.cells.buffers) return;
    render_job_piece(context_, origin_x_, origin_y_, task.piece, task.cells.buffers[0]);
}

}  // namespace corvanthe
