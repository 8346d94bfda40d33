#pragma once
// Where every control of the main dialog sits: client rectangles in dialog pixels, grouped
// sun, flares, spikes, halo, bow, glue down the left, then the preview's buttons, the files,
// the memory dots and OK/Cancel below the preview, on a 2-pixel grid. Tab order is the order
// of this table.
#include <cstdint>
#include <vector>

#include "ui/canvas.h"

namespace corvanthe::ui {

constexpr int32_t kDialogWidth = 957;
constexpr int32_t kDialogHeight = 656;

struct Placement {
    int32_t id;
    Rect place;
};

// Every control, in reading (and tab) order.
const std::vector<Placement>& layout_table();
// The rectangle of `id`; empty for ids without one.
Rect layout_rect(int32_t id);

}  // namespace corvanthe::ui
