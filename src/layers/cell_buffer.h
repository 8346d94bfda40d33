#pragma once
// Job cell buffers: per render job, (piece width + 2) x (piece height + 2) cells with a
// one-cell frame around the piece. The renderer writes them on its worker thread and
// the glue reads them on the calling thread.
#include <cstdint>

namespace corvanthe {

struct Cell {
    float colour[4];   // red, green, blue, alpha
    uint32_t aux[4];   // aux[2] carries the disc coverage k (0 inside, 1..3 rim, 4 outside)
    uint32_t extra;
};
static_assert(sizeof(Cell) == 36);

struct CellBuffer {
    int32_t index = 0;       // i, counted from 0 per job
    int32_t alias = 1000;    // i + 1000
    void* job = nullptr;     // the job record that owns the buffer
    int32_t left = 0;        // piece corner in render coordinates
    int32_t top = 0;
    int32_t columns = 0;     // piece width + 2
    int32_t rows = 0;        // piece height + 2
    Cell* cells = nullptr;   // one heap block; null when allocation failed

    // The cell of pixel (x, y), or null outside the buffer (frame included).
    Cell* cell(int32_t x, int32_t y) {
        const int64_t column = int64_t(x) - left + 1;
        const int64_t row = int64_t(y) - top + 1;
        if (!cells || column < 0 || row < 0 || column >= columns || row >= rows) return nullptr;
        return cells + row * columns + column;
    }
    const Cell* cell(int32_t x, int32_t y) const { return const_cast<CellBuffer*>(this)->cell(x, y); }
};

// The colour and auxiliary writers; a pixel outside the buffer is ignored.
inline void write_colour(CellBuffer& buffer, int32_t x, int32_t y, float red, float green, float blue, float alpha) {
    if (Cell* c = buffer.cell(x, y)) {
        c->colour[0] = red;
        c->colour[1] = green;
        c->colour[2] = blue;
        c->colour[3] = alpha;
    }
}

inline void write_auxiliary(CellBuffer& buffer, int32_t x, int32_t y, const uint32_t (&words)[4]) {
    if (Cell* c = buffer.cell(x, y))
        for (int i = 0; i < 4; ++i) c->aux[i] = words[i];
}

// The cell buffers of one job, one per layer.
struct JobCells {
    CellBuffer* buffers = nullptr;
    int32_t count = 0;
};

// Allocates count buffers over the piece (left, top, width x height), numbered 0..count-1,
// each pointing back to the job. All or nothing: false leaves cells empty. The cells are not
// initialised: clear_job_cells zeroes them, on the thread that is about to write them.
bool allocate_job_cells(JobCells& cells, int32_t count, int32_t left, int32_t top, int32_t width, int32_t height,
                        void* job);

// Zeroes every cell of every buffer, frame included.
void clear_job_cells(JobCells& cells);

// Frees every cell block and the buffer array; cells becomes empty.
void free_job_cells(JobCells& cells);

}  // namespace corvanthe
