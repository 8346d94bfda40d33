#pragma once
// How a run's rectangle is cut into the pieces of its jobs.
#include <cstdint>

#include "sdk/types.h"

namespace corvanthe {

// Layout types: 0 tiles of 256 x 256 taken column by column; 1 and 3 single pixel columns;
// 4 single pixel rows; 5 and 7 columns 64 wide; 6 rows 64 high. Type 2 (and any other) cuts
// no jobs.
struct JobLayout {
    sdk::VRect rect;    // the area of the run
    int32_t height;     // bottom - top
    int32_t width;      // right - left
    int32_t type;
    int32_t rows;       // rows of pieces: job i is in column i / rows, row i % rows
    int32_t job_count;
    int32_t job_index;  // the job this copy describes
    sdk::VRect piece;   // that job's piece, relative to rect
};

// The layout of a run over rect; job_count is 0 for an empty rectangle or a type that cuts nothing.
JobLayout make_job_layout(const sdk::VRect& rect, int32_t type);

// Sets the job index and its piece (0 <= index < job_count).
void select_job(JobLayout& layout, int32_t index);

// Layout types whose jobs run one at a time: 1, 2 and 7.
bool single_thread_layout(int32_t type);

}  // namespace corvanthe
