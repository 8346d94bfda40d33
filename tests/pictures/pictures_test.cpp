#include <array>
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "picture_book.h"
#include "ui/pictures.h"

namespace corvanthe::ui {
namespace {

struct Needed {
    PictureKind kind;
    int32_t id;
    int32_t width;
    int32_t height;
    bool opaque;  // drawn again over itself (a new knob position, a new face): must cover all
};

constexpr PictureKind B = PictureKind::Bitmap;
constexpr PictureKind I = PictureKind::Icon;
constexpr PictureKind C = PictureKind::Cursor;

// What the dialog draws, at the sizes its layout is made for.
constexpr Needed kNeeded[] = {
    {B, 239, 957, 656, true}, {B, 101, 150, 16, true}, {B, 102, 150, 16, true}, {B, 120, 12, 14, false},
    {B, 156, 85, 83, true},   {I, 122, 5, 5, false},    {B, 202, 32, 32, true}, {B, 203, 32, 32, true},
    {B, 208, 32, 32, true},   {B, 210, 32, 32, true},   {B, 211, 32, 32, true}, {B, 212, 32, 32, true},
    {B, 213, 32, 32, true},   {B, 214, 32, 32, true},   {B, 215, 32, 32, true}, {B, 216, 32, 32, true},
    {B, 217, 96, 96, true},   {B, 241, 48, 48, false},  {I, 151, 16, 16, false}, {I, 152, 16, 16, false},
    {I, 153, 16, 16, false},  {I, 231, 24, 24, false},  {I, 240, 24, 24, false}, {I, 241, 24, 24, false},
    {I, 237, 24, 24, false},  {I, 186, 24, 24, false},  {I, 242, 24, 24, false}, {I, 225, 24, 24, false},
    {I, 5, 24, 24, false},    {I, 169, 24, 24, false},  {I, 235, 24, 24, false}, {I, 236, 24, 24, false},
    {C, 107, 32, 32, false},  {C, 109, 32, 32, false},
    // The Info and About boxes are sized to their pictures.
    {B, 145, 460, 300, false}, {B, 127, 320, 110, false}, {B, 136, 320, 76, false}, {B, 131, 320, 40, false},
};

uint8_t alpha(const RgbaImage& image, int32_t x, int32_t y) {
    return image.pixels[(static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4 + 3];
}

// The picture's pixel as premultiplied 0..255 values, the mean of a square of `size` pixels.
std::array<int32_t, 4> premultiplied(const RgbaImage& image, int32_t x, int32_t y, int32_t size) {
    std::array<int32_t, 4> sum{};
    for (int32_t dy = 0; dy < size; ++dy)
        for (int32_t dx = 0; dx < size; ++dx) {
            const uint8_t* p = &image.pixels[(static_cast<size_t>(y + dy) * static_cast<size_t>(image.width) +
                                              static_cast<size_t>(x + dx)) * 4];
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c] * p[3] / 255;
            sum[3] += p[3];
        }
    for (int32_t& channel : sum)
        channel /= size * size;
    return sum;
}

TEST(Pictures, EveryPictureTheDialogDrawsIsThereAtItsSizeAndDrawn) {
    for (const Needed& needed : kNeeded) {
        for (int32_t scale : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "picture " << needed.id << " of kind " << static_cast<int>(needed.kind)
                                            << " at scale " << scale);
            const Picture* picture = find_picture(needed.kind, needed.id, scale);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->kind, needed.kind);
            EXPECT_EQ(picture->id, needed.id);
            const RgbaImage& image = picture->image;
            ASSERT_EQ(image.width, needed.width * scale);
            ASSERT_EQ(image.height, needed.height * scale);
            ASSERT_EQ(image.pixels.size(), static_cast<size_t>(image.width * image.height) * 4);
            std::set<uint32_t> colours;
            size_t covered = 0;
            for (size_t i = 0; i < image.pixels.size(); i += 4) {
                if (image.pixels[i + 3] == 0)
                    continue;
                ++covered;
                colours.insert((uint32_t{image.pixels[i]} << 16) | (uint32_t{image.pixels[i + 1]} << 8) | image.pixels[i + 2]);
            }
            if (needed.opaque) {
                EXPECT_EQ(covered * 4, image.pixels.size());
            }
            // Drawn pictures, not boxes: shaded, anti-aliased, several colours.
            EXPECT_GE(colours.size(), needed.width * needed.height < 100 ? 3u : 8u);
            EXPECT_GE(covered * 10, image.pixels.size() / 4);
            if (needed.kind == C) {
                // The hot spot lies on the drawn cursor, so the click lands where the cursor shows.
                ASSERT_TRUE((Rect{0, 0, image.width, image.height}.contains(picture->hot_spot.x, picture->hot_spot.y)));
                EXPECT_GT(alpha(image, picture->hot_spot.x, picture->hot_spot.y), 0);
            }
        }
        // Twice the size is the same picture: halved again, it differs from the plain one only in
        // the finer edges (a shape left at the wrong scale moves whole areas).
        const RgbaImage& plain = find_picture(needed.kind, needed.id, 1)->image;
        const RgbaImage& large = find_picture(needed.kind, needed.id, 2)->image;
        int64_t difference = 0;
        for (int32_t y = 0; y < plain.height; ++y)
            for (int32_t x = 0; x < plain.width; ++x) {
                std::array<int32_t, 4> one = premultiplied(plain, x, y, 1);
                std::array<int32_t, 4> halved = premultiplied(large, 2 * x, 2 * y, 2);
                for (int c = 0; c < 4; ++c)
                    difference += std::abs(one[c] - halved[c]);
            }
        EXPECT_LE(difference, int64_t{4} * 4 * plain.width * plain.height) << "picture " << needed.id;
        EXPECT_EQ(find_picture(needed.kind, needed.id), find_picture(needed.kind, needed.id, 1));
    }
    EXPECT_EQ(find_picture(B, 239, 0), nullptr);
    EXPECT_EQ(find_picture(B, 239, 3), nullptr);
    // Bitmaps and icons number themselves apart, and a number nobody uses has no picture.
    EXPECT_NE(find_picture(B, 241)->image.width, find_picture(I, 241)->image.width);
    EXPECT_EQ(find_picture(B, 5), nullptr);
    EXPECT_EQ(find_picture(I, 0), nullptr);
    EXPECT_EQ(find_picture(C, 122), nullptr);
}

TEST(Pictures, AreMadeOnceAndTheSameEachTime) {
    const Picture* first = find_picture(B, 239);
    EXPECT_EQ(find_picture(B, 239), first);
    for (const pictures::PictureRecipe& recipe : pictures::picture_recipes()) {
        Picture again = pictures::make_picture(recipe, 1);
        const Picture* kept = find_picture(recipe.kind, recipe.id);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(again.image.pixels, kept->image.pixels) << recipe.name;
    }
}

}  // namespace
}  // namespace corvanthe::ui
