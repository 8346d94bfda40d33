#include "render/render_fixture.h"

#include <gtest/gtest.h>

#include "render/pixel_kernel.h"
#include "render/render_prepare.h"

namespace corvanthe::testing {

std::unique_ptr<RenderContext> prepared(const SunSettings& settings, const RenderRequest& request) {
    auto context = std::make_unique<RenderContext>();
    EXPECT_EQ(render_prepare(*context, settings, request), 0);
    return context;
}

OwnedCellBuffer::OwnedCellBuffer(const RenderRect& piece) {
    buffer.left = piece.left;
    buffer.top = piece.top;
    buffer.columns = piece.right - piece.left + 2;
    buffer.rows = piece.bottom - piece.top + 2;
    cells.assign(size_t(buffer.columns) * size_t(buffer.rows), Cell{});
    buffer.cells = cells.data();
}

std::unique_ptr<OwnedCellBuffer> render_area(const RenderContext& context, const RenderRect& area) {
    auto out = std::make_unique<OwnedCellBuffer>(area);
    render_piece(context, area, out->buffer);
    return out;
}

}  // namespace corvanthe::testing
