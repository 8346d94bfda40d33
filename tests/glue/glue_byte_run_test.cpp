#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "layers/glue_mode.h"
#include "layers/glue_task.h"

namespace corvanthe {
namespace {

// Sun values around the places where the glue's formulas and conversions switch: zero, the
// fixed-point half, one, just below and above them, negatives and NaN.
constexpr float kInRange[] = {0.0f, -0.0f, 0.5f, 0.49999f, 0.50001f, 1.0f, 0.99999f, 1.0f / 255, 0.1234f, -0.3f};
constexpr float kOver[] = {1.00001f, 1.5f, 3.0f, 9.0f, 70000.0f};

// An 8-bit image of interleaved samples under a piece at (left, top): separate input and
// output buffers with padded rows, an optional transparency sample and an optional selection.
struct ByteImage {
    sdk::VRect piece{};
    int32_t pixel_bytes = 3;
    int32_t alpha = -1;  // transparency sample, read and written
    bool selection = false;
    int64_t row_bytes = 0;
    std::vector<uint8_t> in, out, mask;

    ByteImage(const sdk::VRect& area, int32_t bytes, int32_t alpha_sample, bool with_mask, std::mt19937& random)
        : piece(area), pixel_bytes(bytes), alpha(alpha_sample), selection(with_mask) {
        const int64_t width = piece.right - piece.left, height = piece.bottom - piece.top;
        row_bytes = width * pixel_bytes + 5;
        in.resize(size_t(row_bytes * height));
        for (uint8_t& b : in) b = uint8_t(random());
        out.assign(in.size(), 0xA5);  // what no write touches stays
        if (selection) {
            mask.resize(size_t((width + 3) * height));
            for (uint8_t& m : mask) m = random() % 3 == 0 ? 255 : uint8_t(random());
        }
    }
    int64_t offset(int32_t x, int32_t y) const {
        return int64_t(y - piece.top) * row_bytes + int64_t(x - piece.left) * pixel_bytes;
    }
    float mask_at(int32_t x, int32_t y) const {
        return selection ? kByteValues[mask[size_t(int64_t(y - piece.top) * (piece.right - piece.left + 3) + x - piece.left)]]
                         : 1.0f;
    }
    BytePiece bytes() {
        BytePiece b;
        b.in = in.data();
        b.in_row_bytes = row_bytes;
        b.in_pixel_bytes = pixel_bytes;
        b.in_alpha = alpha;
        b.out = out.data();
        b.out_row_bytes = row_bytes;
        b.out_pixel_bytes = pixel_bytes;
        b.out_alpha = alpha;
        b.mask = selection ? mask.data() : nullptr;
        b.mask_row_bytes = piece.right - piece.left + 3;
        return b;
    }
};

// Lays the image open; the glue must then never take the pixel-at-a-time road.
class OpenDestination : public GlueDestination {
public:
    explicit OpenDestination(ByteImage& image) : image_(image) {}
    bool begin_piece(const sdk::VRect&) override { return true; }
    bool byte_piece(const sdk::VRect& piece, BytePiece& bytes) override {
        EXPECT_EQ(piece.left, image_.piece.left);
        EXPECT_EQ(piece.top, image_.piece.top);
        bytes = image_.bytes();
        return true;
    }
    PixelValue read(int32_t, int32_t) override {
        ADD_FAILURE() << "read outside the byte road";
        return {};
    }
    float mask(int32_t, int32_t) override { return 1; }
    void write(int32_t, int32_t, const PixelValue&) override { ADD_FAILURE() << "write outside the byte road"; }

private:
    ByteImage& image_;
};

// The plain glue of the piece, pixel by pixel: H and the selection as the image's quotients
// by 255, glue_pixel, and each written channel scaled by 255, truncated and held to 0..255.
std::vector<uint8_t> reference(const ByteImage& image, const CellBuffer& cells, const GlueSetup& setup) {
    std::vector<uint8_t> out = image.out;
    auto to_byte = [](float v) {
        const float scaled = v * 255.0f;
        return uint8_t(scaled > 255.0f ? 255.0f : scaled > 0.0f ? scaled : 0.0f);
    };
    for (int32_t y = image.piece.top; y < image.piece.bottom; ++y)
        for (int32_t x = image.piece.left; x < image.piece.right; ++x) {
            const Cell* c = cells.cell(x, y);
            const PixelValue sun = c ? PixelValue{c->colour[0], c->colour[1], c->colour[2], c->colour[3]} : PixelValue{};
            const uint8_t* h = image.in.data() + image.offset(x, y);
            const PixelValue host{float(h[0]) / 255.0f, float(h[1]) / 255.0f, float(h[2]) / 255.0f,
                                  image.alpha >= 0 ? float(h[image.alpha]) / 255.0f : 1.0f};
            const PixelValue r = glue_pixel(x, y, sun, c ? int32_t(c->aux[2]) : 0, host, image.mask_at(x, y), setup);
            uint8_t* o = out.data() + image.offset(x, y);
            o[0] = to_byte(r.red);
            o[1] = to_byte(r.green);
            o[2] = to_byte(r.blue);
            if (image.alpha >= 0) o[image.alpha] = to_byte(r.alpha);
        }
    return out;
}

// A cell buffer over part of the piece, so that rows and columns on every side take zero
// records. Rows alternate between suns inside 0..1 (the common case) and suns with light
// above one here and there; alphas range over everything.
struct Cells {
    std::vector<Cell> storage;
    CellBuffer buffer;

    Cells(int32_t left, int32_t top, int32_t width, int32_t height, std::mt19937& random)
        : storage(size_t(width + 2) * (height + 2)) {
        buffer.left = left;
        buffer.top = top;
        buffer.columns = width + 2;
        buffer.rows = height + 2;
        buffer.cells = storage.data();
        auto pick = [&](const auto& list) { return list[random() % std::size(list)]; };
        for (int32_t row = 0; row < buffer.rows; ++row)
            for (int32_t column = 0; column < buffer.columns; ++column) {
                Cell& c = storage[size_t(row * buffer.columns + column)];
                for (int i = 0; i < 3; ++i) {
                    const uint32_t draw = random() % 16;
                    c.colour[i] = row % 2 == 1 && draw == 0 ? pick(kOver)
                                  : draw < 4                 ? pick(kInRange)
                                  : draw == 4                ? std::nanf("")
                                                             : float(random() % 32769) / 32768.0f;
                }
                const uint32_t draw = random() % 4;
                c.colour[3] = draw == 0 ? pick(kInRange) : draw == 1 ? pick(kOver) : float(random() % 1000) / 999.0f;
                c.aux[2] = random() % 5;
            }
    }
};

// In every mode (and outside them), with and without a selection, a transparency sample and
// editable transparency, over runs whose lengths are not multiples of four and that cross
// the cell buffer's edges: the bytes written in place are exactly the plain glue's.
TEST(GlueByteRun, WritesExactlyWhatThePixelGlueWritesInEveryMode) {
    std::mt19937 random(2024);
    const sdk::VRect piece{3, 5, 11, 42};  // 37 × 8
    const Cells cells(9, 4, 29, 5, random);
    struct Layout {
        int32_t pixel_bytes, alpha;
    };
    const Layout layouts[] = {{3, -1}, {4, 3}, {4, -1}};
    for (int32_t mode = -1; mode <= kGlueModeCount + 1; ++mode)
        for (const Layout& layout : layouts)
            for (int variant = 0; variant < 4; ++variant) {
                const bool masked = variant & 1;
                GlueSetup setup;
                setup.mode = mode;
                setup.editable_transparency = variant & 2;
                ByteImage image(piece, layout.pixel_bytes, layout.alpha, masked, random);
                const std::vector<uint8_t> want = reference(image, cells.buffer, setup);
                OpenDestination destination(image);
                ASSERT_TRUE(glue_task(cells.buffer, piece, setup, destination));
                const std::string what = "mode " + std::to_string(mode) + ", " + std::to_string(layout.pixel_bytes) +
                                         " bytes, alpha " + std::to_string(layout.alpha) + ", variant " +
                                         std::to_string(variant);
                ASSERT_EQ(image.out.size(), want.size());
                for (size_t i = 0; i < want.size(); ++i)
                    ASSERT_EQ(int(image.out[i]), int(want[i])) << what << ", byte " << i;
            }
}

}  // namespace
}  // namespace corvanthe
