#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layers/glue_in_place.h"
#include "layers/glue_mode.h"
#include "layers/glue_task.h"

namespace corvanthe {
namespace {

// Sun values around the places where the glue's formulas and conversions switch: zero, the
// fixed-point half, one, just below and above them, negatives and NaN.
constexpr float kInRange[] = {0.0f, -0.0f, 0.5f, 0.49999f, 0.50001f, 1.0f, 0.99999f, 1.0f / 255, 0.1234f, -0.3f};
constexpr float kOver[] = {1.00001f, 1.5f, 3.0f, 9.0f, 70000.0f};

// An image of interleaved samples of 1, 2 or 4 bytes under a piece at (left, top): separate
// input and output buffers with padded rows, an optional transparency sample and an optional
// selection.
struct SampleImage {
    sdk::VRect piece{};
    int32_t sample_bytes = 1;
    int32_t pixel_bytes = 3;
    int32_t alpha = -1;  // transparency sample, read and written
    bool selection = false;
    int64_t row_bytes = 0;
    std::vector<uint8_t> in, out, mask;

    SampleImage(const sdk::VRect& area, int32_t bytes, int32_t samples, int32_t alpha_sample, bool with_mask,
                std::mt19937& random)
        : piece(area), sample_bytes(bytes), pixel_bytes(bytes * samples), alpha(alpha_sample), selection(with_mask) {
        const int64_t width = piece.right - piece.left, height = piece.bottom - piece.top;
        row_bytes = width * pixel_bytes + 5;
        in.resize(size_t(row_bytes * height));
        for (uint8_t& b : in) b = uint8_t(random());
        if (sample_bytes == 4) {
            // Host floats: mostly 0..1, some beyond it, some NaN.
            const float specials[] = {-0.25f, 1.75f, 40000.0f, std::nanf("")};
            for (size_t at = 0; at + 4 <= in.size(); at += 4) {
                const float v = random() % 5 == 0 ? specials[random() % 4] : float(random() % 1001) / 1000.0f;
                std::memcpy(&in[at], &v, 4);
            }
        }
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
        const int64_t at = int64_t(y - piece.top) * (piece.right - piece.left + 3) + x - piece.left;
        return selection ? kByteValues[mask[size_t(at)]] : 1.0f;
    }
    // Sample i of the pixel at `at`: integers over 255 or 32768, floats as they are.
    float load(const uint8_t* at, int i) const {
        at += i * sample_bytes;
        if (sample_bytes == 1) return float(at[0]) / 255.0f;
        if (sample_bytes == 2) return float(at[0] | at[1] << 8) / 32768.0f;
        float v;
        std::memcpy(&v, at, 4);
        return v;
    }
    // Integers scaled, held to their range (NaN gives 0) and truncated; floats as they are.
    void store(uint8_t* at, int i, float v) const {
        at += i * sample_bytes;
        if (sample_bytes == 4) {
            std::memcpy(at, &v, 4);
            return;
        }
        const float scale = sample_bytes == 1 ? 255.0f : 32768.0f, scaled = v * scale;
        const uint32_t n = uint32_t(scaled > scale ? scale : scaled > 0.0f ? scaled : 0.0f);
        at[0] = uint8_t(n);
        if (sample_bytes == 2) at[1] = uint8_t(n >> 8);
    }
    SamplePiece samples() {
        SamplePiece s;
        s.sample_bytes = sample_bytes;
        s.in = in.data();
        s.in_row_bytes = row_bytes;
        s.in_pixel_bytes = pixel_bytes;
        s.in_alpha = alpha;
        s.out = out.data();
        s.out_row_bytes = row_bytes;
        s.out_pixel_bytes = pixel_bytes;
        s.out_alpha = alpha;
        s.mask = selection ? mask.data() : nullptr;
        s.mask_row_bytes = piece.right - piece.left + 3;
        return s;
    }
};

// Lays the image open; the glue must then never take the pixel-at-a-time road.
class OpenDestination : public GlueDestination {
public:
    explicit OpenDestination(SampleImage& image) : image_(image) {}
    bool begin_piece(const sdk::VRect&) override { return true; }
    bool sample_piece(const sdk::VRect& piece, SamplePiece& samples) override {
        EXPECT_EQ(piece.left, image_.piece.left);
        EXPECT_EQ(piece.top, image_.piece.top);
        samples = image_.samples();
        return true;
    }
    PixelValue read(int32_t, int32_t) override {
        ADD_FAILURE() << "read outside the in-place road";
        return {};
    }
    float mask(int32_t, int32_t) override { return 1; }
    void write(int32_t, int32_t, const PixelValue&) override { ADD_FAILURE() << "write outside the in-place road"; }

private:
    SampleImage& image_;
};

// The plain glue of the piece, pixel by pixel: H and the selection read from the image,
// glue_pixel, and each written channel stored as the host stores it.
std::vector<uint8_t> reference(const SampleImage& image, const CellBuffer& cells, const GlueSetup& setup) {
    std::vector<uint8_t> out = image.out;
    for (int32_t y = image.piece.top; y < image.piece.bottom; ++y)
        for (int32_t x = image.piece.left; x < image.piece.right; ++x) {
            const Cell* c = cells.cell(x, y);
            const PixelValue sun =
                c ? PixelValue{c->colour[0], c->colour[1], c->colour[2], c->colour[3]} : PixelValue{};
            const uint8_t* h = image.in.data() + image.offset(x, y);
            const PixelValue host{image.load(h, 0), image.load(h, 1), image.load(h, 2),
                                  image.alpha >= 0 ? image.load(h, image.alpha) : 1.0f};
            const PixelValue r = glue_pixel(x, y, sun, c ? int32_t(c->aux[2]) : 0, host, image.mask_at(x, y), setup);
            uint8_t* o = out.data() + image.offset(x, y);
            image.store(o, 0, r.red);
            image.store(o, 1, r.green);
            image.store(o, 2, r.blue);
            if (image.alpha >= 0) image.store(o, image.alpha, r.alpha);
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

// At every depth, in every mode (and outside them), with and without a selection, a
// transparency sample and editable transparency, over runs whose lengths are not multiples
// of four and that cross the cell buffer's edges: the samples written in place are exactly
// the plain glue's.
TEST(GlueInPlace, WritesExactlyWhatThePixelGlueWritesAtEveryDepthAndInEveryMode) {
    std::mt19937 random(2024);
    const sdk::VRect piece{3, 5, 11, 42};  // 37 × 8
    const Cells cells(9, 4, 29, 5, random);
    struct Layout {
        int32_t samples, alpha;
    };
    const Layout layouts[] = {{3, -1}, {4, 3}, {4, -1}};
    for (const int32_t bytes : {1, 2, 4})
        for (int32_t mode = -1; mode <= kGlueModeCount + 1; ++mode)
            for (const Layout& layout : layouts)
                for (int variant = 0; variant < 4; ++variant) {
                    GlueSetup setup;
                    setup.mode = mode;
                    setup.float_destination = bytes == 4;
                    setup.editable_transparency = variant & 2;
                    SampleImage image(piece, bytes, layout.samples, layout.alpha, variant & 1, random);
                    const std::vector<uint8_t> want = reference(image, cells.buffer, setup);
                    OpenDestination destination(image);
                    ASSERT_TRUE(glue_task(cells.buffer, piece, setup, destination));
                    const std::string what = std::to_string(bytes) + "-byte samples, mode " + std::to_string(mode) +
                                             ", " + std::to_string(layout.samples) + " samples, alpha " +
                                             std::to_string(layout.alpha) + ", variant " + std::to_string(variant);
                    ASSERT_EQ(image.out.size(), want.size());
                    for (size_t i = 0; i < want.size(); ++i)
                        ASSERT_EQ(int(image.out[i]), int(want[i])) << what << ", byte " << i;
                }
}

// Only colour images without the preview backdrop go in place, and only with the samples
// the setup's destination expects; the rest take the pixel road.
TEST(GlueInPlace, GreyPreviewAndMismatchedSamplesTakeThePixelRoad) {
    SamplePiece samples;
    GlueSetup setup;
    for (const int32_t bytes : {1, 2, 4}) {
        samples.sample_bytes = bytes;
        setup.float_destination = bytes == 4;
        EXPECT_TRUE(glues_in_place(setup, samples)) << bytes;
        setup.float_destination = bytes != 4;
        EXPECT_FALSE(glues_in_place(setup, samples)) << bytes;
    }
    samples.sample_bytes = 1;
    setup.float_destination = false;
    setup.grey = true;
    EXPECT_FALSE(glues_in_place(setup, samples));
    setup.grey = false;
    setup.render_mode = 1;
    EXPECT_FALSE(glues_in_place(setup, samples));
}

}  // namespace
}  // namespace corvanthe
