#pragma once
// Helpers shared by the renderer tests: a prepared context, cell buffers that own
// their cells, and whole-area rendering.
#include <memory>
#include <vector>

#include "layers/cell_buffer.h"
#include "render/render_context.h"
#include "settings/sun_settings.h"
#include "tests/support/render_request.h"

namespace corvanthe::testing {

// A context prepared for `request`; fails the test when the preparation fails.
std::unique_ptr<RenderContext> prepared(const SunSettings& settings, const RenderRequest& request);

// A cell buffer over `piece` with its own zeroed cells.
struct OwnedCellBuffer {
    explicit OwnedCellBuffer(const RenderRect& piece);
    OwnedCellBuffer(const OwnedCellBuffer&) = delete;
    OwnedCellBuffer& operator=(const OwnedCellBuffer&) = delete;
    std::vector<Cell> cells;
    CellBuffer buffer;
    const Cell& at(int32_t x, int32_t y) const { return *buffer.cell(x, y); }
};

// Renders `area` as one piece.
std::unique_ptr<OwnedCellBuffer> render_area(const RenderContext& context, const RenderRect& area);

}  // namespace corvanthe::testing
