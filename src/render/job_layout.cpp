#include "render/job_layout.h"

#include <algorithm>

namespace corvanthe {
namespace {

constexpr int32_t kWhole = 0;  // the piece spans the rectangle along that axis

struct LayoutShape {
    int32_t piece_width;   // or kWhole
    int32_t piece_height;  // or kWhole
    bool cuts;             // false: no jobs
    bool single_thread;
};

constexpr LayoutShape kShapes[] = {
    {256, 256, true, false},     // 0 tiles
    {1, kWhole, true, true},     // 1 pixel columns, one thread
    {0, 0, false, true},         // 2 no layout
    {1, kWhole, true, false},    // 3 pixel columns
    {kWhole, 1, true, false},    // 4 pixel rows
    {64, kWhole, true, false},   // 5 columns 64 wide
    {kWhole, 64, true, false},   // 6 rows 64 high
    {64, kWhole, true, true},    // 7 columns 64 wide, one thread
};
constexpr int32_t kTypes = int32_t(sizeof kShapes / sizeof kShapes[0]);

const LayoutShape* shape_of(int32_t type) { return type >= 0 && type < kTypes ? &kShapes[type] : nullptr; }

int32_t pieces_along(int32_t size, int32_t piece) { return piece == kWhole ? 1 : (size + piece - 1) / piece; }

// One piece along an axis: its start and end, relative to the rectangle.
void piece_span(int32_t number, int32_t piece, int32_t size, int32_t& start, int32_t& end) {
    if (piece == kWhole) {
        start = 0;
        end = size;
        return;
    }
    start = number * piece;
    end = std::min(start + piece, size);
}

}  // namespace

JobLayout make_job_layout(const sdk::VRect& rect, int32_t type) {
    JobLayout layout{};
    layout.rect = rect;
    layout.type = type;
    const int64_t width = int64_t(rect.right) - rect.left, height = int64_t(rect.bottom) - rect.top;
    const LayoutShape* shape = shape_of(type);
    if (!shape || !shape->cuts || width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return layout;
    layout.width = int32_t(width);
    layout.height = int32_t(height);
    layout.rows = pieces_along(layout.height, shape->piece_height);
    const int64_t jobs = int64_t(pieces_along(layout.width, shape->piece_width)) * layout.rows;
    layout.job_count = jobs > INT32_MAX ? 0 : int32_t(jobs);
    return layout;
}

void select_job(JobLayout& layout, int32_t index) {
    const LayoutShape& shape = *shape_of(layout.type);
    layout.job_index = index;
    piece_span(index / layout.rows, shape.piece_width, layout.width, layout.piece.left, layout.piece.right);
    piece_span(index % layout.rows, shape.piece_height, layout.height, layout.piece.top, layout.piece.bottom);
}

bool single_thread_layout(int32_t type) {
    const LayoutShape* shape = shape_of(type);
    return shape && shape->single_thread;
}

}  // namespace corvanthe
