#include "layers/cell_buffer.h"

#include <cstdlib>
#include <cstring>

namespace corvanthe {

bool allocate_job_cells(JobCells& cells, int32_t count, int32_t left, int32_t top, int32_t width, int32_t height,
                        void* job) {
    cells = {};
    if (count <= 0) return true;
    if (width < 0 || height < 0) return false;
    auto* buffers = static_cast<CellBuffer*>(std::calloc(size_t(count), sizeof(CellBuffer)));
    if (!buffers) return false;
    cells = {buffers, count};
    const size_t columns = size_t(width) + 2, rows = size_t(height) + 2;
    for (int32_t i = 0; i < count; ++i) {
        CellBuffer& b = buffers[i];
        b.index = i;
        b.alias = i + 1000;
        b.job = job;
        b.left = left;
        b.top = top;
        b.columns = int32_t(columns);
        b.rows = int32_t(rows);
        b.cells = static_cast<Cell*>(std::malloc(columns * rows * sizeof(Cell)));
        if (!b.cells) {
            free_job_cells(cells);
            return false;
        }
    }
    return true;
}

void clear_job_cells(JobCells& cells) {
    for (int32_t i = 0; i < cells.count; ++i) {
        const CellBuffer& b = cells.buffers[i];
        std::memset(b.cells, 0, size_t(b.columns) * size_t(b.rows) * sizeof(Cell));
    }
}

void free_job_cells(JobCells& cells) {
    for (int32_t i = 0; i < cells.count; ++i) std::free(cells.buffers[i].cells);
    std::free(cells.buffers);
    cells = {};
}

}  // namespace corvanthe
