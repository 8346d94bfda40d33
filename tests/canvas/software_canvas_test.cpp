#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ui/canvas/label_font.h"
#include "ui/canvas/png_writer.h"
#include "ui/canvas/software_canvas.h"

namespace corvanthe::ui {
namespace {

constexpr Colour kGround = 0x102030;

RgbaImage blank(int32_t width, int32_t height) {
    return RgbaImage{width, height, std::vector<uint8_t>(static_cast<size_t>(width * height) * 4, 0)};
}

Colour rgb_at(const RgbaImage& image, int32_t x, int32_t y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return (Colour{p[0]} << 16) | (Colour{p[1]} << 8) | p[2];
}

uint8_t alpha_at(const RgbaImage& image, int32_t x, int32_t y) {
    return image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3];
}

// The columns that hold ink of colour `ink`: [first, last + 1), or {0, 0} for none.
std::pair<int32_t, int32_t> ink_columns(const RgbaImage& image, Colour ink) {
    int32_t first = image.width;
    int32_t end = 0;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            if (rgb_at(image, x, y) == ink) {
                first = std::min(first, x);
                end = std::max(end, x + 1);
            }
    return end == 0 ? std::pair{0, 0} : std::pair{first, end};
}

TEST(SoftwareCanvas, DrawsAKnownSceneWithClipLinesBlendAndFocus) {
    RgbaImage image = blank(40, 30);
    SoftwareCanvas canvas(image);
    canvas.fill({0, 0, 40, 30}, kGround);
    EXPECT_EQ(alpha_at(image, 0, 0), 255);

    canvas.clip({5, 5, 20, 20});
    canvas.fill({-10, -10, 100, 100}, 0xFF0000);
    canvas.line({0, 12}, {39, 12}, 0x00FF00);
    canvas.unclip();
    EXPECT_EQ(rgb_at(image, 5, 5), 0xFF0000u);
    EXPECT_EQ(rgb_at(image, 19, 19), 0xFF0000u);
    EXPECT_EQ(rgb_at(image, 4, 5), kGround);
    EXPECT_EQ(rgb_at(image, 20, 19), kGround);
    EXPECT_EQ(rgb_at(image, 19, 20), kGround);
    EXPECT_EQ(rgb_at(image, 5, 12), 0x00FF00u);
    EXPECT_EQ(rgb_at(image, 19, 12), 0x00FF00u);
    EXPECT_EQ(rgb_at(image, 4, 12), kGround);
    EXPECT_EQ(rgb_at(image, 20, 12), kGround);

    // Lines leave out their end point, in every direction.
    canvas.line({25, 2}, {35, 2}, 0xFFFFFF);
    EXPECT_EQ(rgb_at(image, 25, 2), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 34, 2), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 35, 2), kGround);
    canvas.line({38, 20}, {38, 10}, 0xFFFFFF);
    EXPECT_EQ(rgb_at(image, 38, 20), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 38, 11), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 38, 10), kGround);
    canvas.line({30, 10}, {25, 5}, 0xFFFFFF);
    EXPECT_EQ(rgb_at(image, 30, 10), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 26, 6), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 25, 5), kGround);
    canvas.line({1, 1}, {1, 1}, 0xFFFFFF);
    EXPECT_EQ(rgb_at(image, 1, 1), kGround);
    canvas.line({10, 27}, {15, 29}, 0xFFFFFF);  // halves round toward the end point
    EXPECT_EQ(rgb_at(image, 10, 27), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 11, 27), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 12, 28), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 13, 28), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 14, 29), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 15, 29), kGround);

    // Images blend by their alpha; a picture hanging over the edge draws its visible part.
    RgbaImage picture{3, 1, {255, 255, 255, 128, 0, 0, 0, 0, 255, 0, 0, 255}};
    canvas.image({22, 22}, picture);
    uint8_t half = static_cast<uint8_t>((255 * 128 + 0x10 * 127 + 127) / 255);
    EXPECT_EQ(image.pixels[(22 * 40 + 22) * 4], half);
    EXPECT_EQ(alpha_at(image, 22, 22), 255);
    EXPECT_EQ(rgb_at(image, 23, 22), kGround);
    EXPECT_EQ(rgb_at(image, 24, 22), 0xFF0000u);
    canvas.image({38, 29}, picture);
    EXPECT_EQ(image.pixels[(29 * 40 + 38) * 4], half);
    canvas.image({-2, 0}, picture);
    EXPECT_EQ(rgb_at(image, 0, 0), 0xFF0000u);
    RgbaImage torn{3, 2, {1, 2, 3}};
    canvas.image({0, 0}, torn);  // holds fewer bytes than it claims: drawn as nothing
    EXPECT_EQ(rgb_at(image, 0, 0), 0xFF0000u);

    // The focus rectangle inverts every other pixel of its outline; twice takes it away.
    const RgbaImage before = image;
    canvas.focus_rect({24, 14, 34, 19});
    EXPECT_EQ(rgb_at(image, 24, 14), kGround ^ 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 25, 14), kGround);
    EXPECT_EQ(rgb_at(image, 33, 17), kGround ^ 0xFFFFFFu);
    EXPECT_EQ(rgb_at(image, 26, 16), kGround);
    canvas.focus_rect({24, 14, 34, 19});
    EXPECT_EQ(image.pixels, before.pixels);
}

// The plain walk: Bresenham's, one point at a time from `from` up to `to`.
std::set<std::pair<int32_t, int32_t>> bresenham(Point from, Point to) {
    std::set<std::pair<int32_t, int32_t>> points;
    int32_t dx = std::abs(to.x - from.x);
    int32_t dy = -std::abs(to.y - from.y);
    int32_t error = dx + dy;
    for (int32_t x = from.x, y = from.y; x != to.x || y != to.y;) {
        points.insert({x, y});
        int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += from.x < to.x ? 1 : -1;
        }
        if (twice <= dx) {
            error += dx;
            y += from.y < to.y ? 1 : -1;
        }
    }
    return points;
}

TEST(SoftwareCanvas, LinesReachingFarBeyondTheSurfaceDrawOnlyTheirVisiblePart) {
    // Every line between points around a small surface draws the plain walk's points that fall
    // on it, and only those.
    for (int32_t ax = -3; ax <= 10; ++ax)
        for (int32_t ay = -3; ay <= 10; ++ay)
            for (int32_t bx = -3; bx <= 10; ++bx)
                for (int32_t by = -3; by <= 10; ++by) {
                    RgbaImage small = blank(8, 8);
                    SoftwareCanvas(small).line({ax, ay}, {bx, by}, 0xFFFFFF);
                    std::set<std::pair<int32_t, int32_t>> expected;
                    for (auto [x, y] : bresenham({ax, ay}, {bx, by}))
                        if (x >= 0 && x < 8 && y >= 0 && y < 8)
                            expected.insert({x, y});
                    std::set<std::pair<int32_t, int32_t>> drawn;
                    for (int32_t y = 0; y < 8; ++y)
                        for (int32_t x = 0; x < 8; ++x)
                            if (alpha_at(small, x, y) != 0)
                                drawn.insert({x, y});
                    ASSERT_EQ(drawn, expected) << "(" << ax << ", " << ay << ") to (" << bx << ", " << by << ")";
                }

    RgbaImage image = blank(40, 30);
    SoftwareCanvas canvas(image);
    canvas.fill({0, 0, 40, 30}, kGround);
    // Billions of pixels long: drawn at once, edge to edge, in both directions.
    canvas.line({INT32_MIN, 3}, {INT32_MAX, 3}, 0xFFFFFF);
    canvas.line({20, INT32_MAX}, {20, INT32_MIN}, 0x00FF00);
    canvas.line({-1000000000, -1000000000}, {1000000000, 1000000000}, 0xFF0000);
    for (int32_t i = 0; i < 40; ++i)
        EXPECT_EQ(rgb_at(image, i, 3), i == 3 ? 0xFF0000u : i == 20 ? 0x00FF00u : 0xFFFFFFu) << i;
    for (int32_t i = 0; i < 30; ++i) {
        EXPECT_EQ(rgb_at(image, 20, i), i == 20 ? 0xFF0000u : 0x00FF00u) << i;
        if (i != 3 && i != 20) {
            EXPECT_EQ(rgb_at(image, i, i), 0xFF0000u) << i;
        }
    }
    EXPECT_EQ(rgb_at(image, 5, 6), kGround);
    // A steep line from two million rows above arrives where its slope puts it: at row y, x is
    // y / 2 with halves rounded toward the end point.
    canvas.line({-1000000, -2000000}, {1000000, 2000000}, 0x0000FF);
    EXPECT_EQ(rgb_at(image, 0, 0), 0x0000FFu);
    EXPECT_EQ(rgb_at(image, 1, 1), 0x0000FFu);
    EXPECT_EQ(rgb_at(image, 1, 2), 0x0000FFu);
    EXPECT_EQ(rgb_at(image, 15, 29), 0x0000FFu);
    EXPECT_EQ(rgb_at(image, 14, 29), kGround);
}

TEST(SoftwareCanvas, BlendsOntoTransparentPicturesWithoutDarkening) {
    RgbaImage image = blank(1, 1);
    SoftwareCanvas canvas(image);
    canvas.image({0, 0}, RgbaImage{1, 1, {200, 100, 50, 128}});
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{200, 100, 50, 128}));
    canvas.image({0, 0}, RgbaImage{1, 1, {0, 0, 0, 128}});
    // Half black over half orange: 128 of the 192 that cover the pixel are black, so a third of the
    // orange shows (200 * 127 / 382 rounds to 66), not half of it as a plain mix would give.
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{66, 33, 17, 192}));
}

TEST(SoftwareCanvas, TextWidthIsTheDrawnExtentAndGlyphsNeverTouch) {
    for (std::string_view label : {"Radius", "Swirl count", "Cold/hot", "Brightness", "dot 25", "Ëté Ñ"}) {
        RgbaImage image = blank(120, 20);
        SoftwareCanvas canvas(image);
        canvas.text({7, 3}, label, 0xFFFFFF);
        auto [first, end] = ink_columns(image, 0xFFFFFF);
        EXPECT_EQ(first, 7) << label;
        // Every glyph keeps one blank column at its right: the last one is the width's end.
        EXPECT_EQ(end, 7 + canvas.text_width(label) - 1) << label;
    }
    for (char32_t code = 0x20; code <= 0xFF; ++code) {
        if (code >= 0x7F && code < 0xA0)
            continue;
        const LabelGlyph& glyph = label_glyph(code);
        for (uint16_t row : glyph.rows)
            EXPECT_EQ(row >> (glyph.advance - 1), 0) << "glyph " << static_cast<uint32_t>(code);
    }
    // Widths close to the system's label font, never wider, so texts fit where it fits: Arial's
    // advances at 11 pixels to the em set these in 51.98 and 107.04 pixels.
    EXPECT_LE(label_text_width("Brightness"), 52);
    EXPECT_GE(label_text_width("Brightness"), 47);
    EXPECT_LE(label_text_width("Choose the sun color."), 107);
    EXPECT_GE(label_text_width("Choose the sun color."), 97);

    // UTF-8: Latin-1 letters are themselves, anything else is one box per character, and a broken
    // sequence never swallows the characters after it.
    EXPECT_EQ(label_text_width("\xC3\xA9"), label_glyph(0xE9).advance);
    EXPECT_EQ(label_text_width("\xE2\x82\xAC"), label_glyph(0xFFFD).advance);
    EXPECT_EQ(label_text_width("\xC3" "A"), label_glyph(0xFFFD).advance + label_glyph(U'A').advance);
    EXPECT_EQ(label_text_width("\xC0\xAF"), 2 * label_glyph(0xFFFD).advance);  // overlong "/"
    EXPECT_NE(label_glyph(0xE9).rows[2], 0);  // the accent is drawn

    // Clipped text stays inside the clip.
    RgbaImage image = blank(60, 12);
    SoftwareCanvas canvas(image);
    canvas.clip({0, 0, 10, 12});
    canvas.text({5, 0}, "MMMM", 0xFFFFFF);
    EXPECT_EQ(ink_columns(image, 0xFFFFFF).second, 10);
}

TEST(SoftwareCanvas, WritesPngThatLibpngReadsBack) {
    RgbaImage image = blank(300, 230);  // more than one stored block
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(i * 7 + i / 1000);
    std::string path = ::testing::TempDir() + "canvas_test.png";
    ASSERT_TRUE(write_png(image, path));

    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&read, path.c_str())) << read.message;
    read.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(read));
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr)) << read.message;
    EXPECT_EQ(read.width, 300u);
    EXPECT_EQ(read.height, 230u);
    EXPECT_EQ(pixels, image.pixels);
    std::remove(path.c_str());

    EXPECT_FALSE(write_png(image, ::testing::TempDir() + "no/such/folder/x.png"));
    EXPECT_TRUE(encode_png(RgbaImage{}).empty());
}

}  // namespace
}  // namespace corvanthe::ui
