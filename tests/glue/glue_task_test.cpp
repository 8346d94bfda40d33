#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "layers/glue_mode.h"
#include "layers/glue_task.h"

namespace corvanthe {
namespace {

struct Visit {
    int32_t x, y;
    PixelValue value;
};

class ListDestination : public GlueDestination {
public:
    bool begin_piece(const sdk::VRect& piece) override {
        asked = piece;
        return accept;
    }
    PixelValue read(int32_t, int32_t) override { return {0.5f, 0.5f, 0.5f, 1}; }
    float mask(int32_t, int32_t) override { return 1; }
    void write(int32_t x, int32_t y, const PixelValue& v) override { visits.push_back({x, y, v}); }

    bool accept = true;
    sdk::VRect asked{};
    std::vector<Visit> visits;
};

// A buffer for the piece at (left, top) of w × h with its one-cell frame; the cell of (x, y)
// holds red = x / 100, green = y / 100 and the coverage k in its third auxiliary word.
struct TestCells {
    TestCells(int32_t left, int32_t top, int32_t w, int32_t h) : storage(size_t(w + 2) * (h + 2)) {
        buffer.left = left;
        buffer.top = top;
        buffer.columns = w + 2;
        buffer.rows = h + 2;
        buffer.cells = storage.data();
        for (int32_t y = top - 1; y <= top + h; ++y)
            for (int32_t x = left - 1; x <= left + w; ++x) {
                write_colour(buffer, x, y, x / 100.0f, y / 100.0f, 0, 1);
                const uint32_t aux[4] = {7, 7, uint32_t(x % 5), 7};
                write_auxiliary(buffer, x, y, aux);
            }
    }
    std::vector<Cell> storage;
    CellBuffer buffer;
};

TEST(GlueTask, GluesThePieceRowByRowFromTheMatchingCells) {
    TestCells cells(10, 20, 3, 2);
    ListDestination d;
    GlueSetup setup;
    setup.mode = kGlueComposite;  // shows k: s + k/4 × 0.5
    ASSERT_TRUE(glue_task(cells.buffer, {20, 10, 22, 13}, setup, d));
    EXPECT_EQ(d.asked.left, 10);
    EXPECT_EQ(d.asked.bottom, 22);
    ASSERT_EQ(d.visits.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const int32_t x = 10 + int32_t(i % 3), y = 20 + int32_t(i / 3);
        EXPECT_EQ(d.visits[i].x, x);
        EXPECT_EQ(d.visits[i].y, y);
        const float k = float(x % 5);
        EXPECT_NEAR(d.visits[i].value.red, x / 100.0f + k / 8, 1e-4f) << i;
        EXPECT_NEAR(d.visits[i].value.green, y / 100.0f + k / 8, 1e-4f) << i;
    }
}

TEST(GlueTask, PixelsBeyondTheBufferGetAZeroRecordAndARefusedPieceNothing) {
    TestCells cells(0, 0, 1, 1);
    ListDestination d;
    GlueSetup setup;
    setup.mode = kGlueScreen;
    // (2, 0) lies outside the frame: black, transparent sun, so screen leaves the image.
    ASSERT_TRUE(glue_task(cells.buffer, {0, 2, 1, 3}, setup, d));
    ASSERT_EQ(d.visits.size(), 1u);
    EXPECT_FLOAT_EQ(d.visits[0].value.red, 0.5f);
    EXPECT_EQ(d.visits[0].value.alpha, 0.0f);

    d.visits.clear();
    d.accept = false;
    EXPECT_FALSE(glue_task(cells.buffer, {0, 0, 1, 1}, setup, d));
    EXPECT_TRUE(d.visits.empty());
}

// Runs longer than the buffer is wide, starting left of it, ending inside or right of it,
// and rows above and below it: each pixel gets exactly the glue of its own cell, or of a
// zero record where the buffer (frame included) does not reach.
TEST(GlueTask, RunsCrossingTheBufferEdgesTakeEachPixelsOwnCell) {
    TestCells cells(100, 5, 300, 3);
    ListDestination d;
    GlueSetup setup;
    setup.mode = kGlueComposite;
    const sdk::VRect piece{2, -50, 10, 700};
    ASSERT_TRUE(glue_task(cells.buffer, piece, setup, d));
    ASSERT_EQ(d.visits.size(), size_t(8 * 750));
    size_t i = 0;
    for (int32_t y = piece.top; y < piece.bottom; ++y)
        for (int32_t x = piece.left; x < piece.right; ++x, ++i) {
            const Cell* cell = cells.buffer.cell(x, y);
            const PixelValue sun = cell ? PixelValue{cell->colour[0], cell->colour[1], cell->colour[2], cell->colour[3]}
                                        : PixelValue{};
            const PixelValue want = glue_pixel(x, y, sun, cell ? int32_t(cell->aux[2]) : 0, d.read(x, y), 1, setup);
            ASSERT_EQ(d.visits[i].x, x);
            ASSERT_EQ(d.visits[i].y, y);
            ASSERT_EQ(std::memcmp(&d.visits[i].value, &want, sizeof want), 0) << "(" << x << ", " << y << ")";
        }
}

}  // namespace
}  // namespace corvanthe
