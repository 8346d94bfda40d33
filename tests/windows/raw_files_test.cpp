// Raw pixel files, test pictures and descriptors from the command line: what the two
// raw-file hosts exchange.
#include <gtest/gtest.h>

#include <cstring>

#include "apps/winhost/raw_image.h"
#include "apps/winhost/test_picture.h"
#include "apps/winhost/typed_descriptor.h"
#include "sdk/four_cc.h"

namespace corvanthe::winhost {
namespace {

TEST(RawImage, KeepsEverySampleAndTheMask) {
    for (const int depth : {8, 16, 32}) {
        PictureSpec spec;
        spec.width = 13;
        spec.height = 7;
        spec.depth = depth;
        spec.transparency = depth != 16;
        spec.mask = depth != 8;
        const auto picture = make_test_picture(spec);
        ASSERT_TRUE(picture);
        const auto bytes = encode_raw_image(*picture);
        EXPECT_EQ(bytes.size(), 16 + picture->pixels.size() + picture->mask.size());
        const auto back = decode_raw_image(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 13);
        EXPECT_EQ(back->height, 7);
        EXPECT_EQ(back->depth, depth);
        EXPECT_EQ(back->transparency, spec.transparency);
        EXPECT_EQ(back->pixels, picture->pixels);
        EXPECT_EQ(back->mask, picture->mask);
    }
}

TEST(RawImage, RefusesInconsistentFiles) {
    PictureSpec spec;
    spec.width = 4;
    spec.height = 3;
    spec.mask = true;
    const auto good = encode_raw_image(*make_test_picture(spec));
    ASSERT_TRUE(decode_raw_image(good));

    auto shorter = good;
    shorter.resize(good.size() - 1);
    auto longer = good;
    longer.push_back(0);
    auto no_mask_flag = good;  // the mask's bytes then look like trailing junk
    no_mask_flag[15] = 0;
    auto bad_depth = good;
    bad_depth[12] = 24;
    auto two_planes = good;
    two_planes[13] = 2;
    auto zero_width = good;
    std::memset(&zero_width[4], 0, 4);
    auto huge = good;  // a size whose byte count would not fit is refused before any sum
    std::memset(&huge[4], 0xFF, 8);
    auto magic = good;
    magic[0] = 'X';
    for (const auto* bytes : {&shorter, &longer, &no_mask_flag, &bad_depth, &two_planes, &zero_width, &huge, &magic})
        EXPECT_FALSE(decode_raw_image(*bytes));
    EXPECT_FALSE(decode_raw_image({}));
}

TEST(TestPicture, SpansDarkToLightAndSelectsARoundArea) {
    PictureSpec spec;
    spec.width = 33;
    spec.height = 33;
    spec.depth = 16;
    spec.mask = true;
    const auto picture = make_test_picture(spec);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->sample(0, 0, 0), 0);
    EXPECT_EQ(picture->sample(32, 0, 0), 32768);  // red runs across
    EXPECT_EQ(picture->sample(0, 32, 1), 32768);  // green runs down
    EXPECT_EQ(picture->mask[16 * 33 + 16], 255);  // centre selected
    EXPECT_EQ(picture->mask[0], 0);               // corner not
    EXPECT_FALSE(make_test_picture({0, 5, 8, true, false, false}));
    EXPECT_FALSE(make_test_picture({5, 5, 12, true, false, false}));
}

TEST(TypedDescriptor, TypesEachSettingAsTheParameterTableDoes) {
    hosting::Descriptor descriptor;
    std::string error;
    for (const char* setting : {"0014=80", "0001=255", "0021=1", "0042=1.5", "sgky=5", "suky=3"})
        EXPECT_TRUE(put_setting(descriptor, setting, error)) << setting << ": " << error;
    ASSERT_EQ(descriptor.items.size(), 6u);

    const auto* radius = descriptor.find(four_cc("0014"));
    ASSERT_TRUE(radius);
    EXPECT_EQ(radius->kind, hosting::ItemKind::Integer);
    EXPECT_EQ(radius->integer, 80);
    EXPECT_EQ(descriptor.find(four_cc("0001"))->integer, 255);  // colours travel as their 8-bit value
    EXPECT_EQ(descriptor.find(four_cc("0021"))->kind, hosting::ItemKind::Boolean);
    const auto* number = descriptor.find(four_cc("0042"));
    EXPECT_EQ(number->kind, hosting::ItemKind::Float);
    EXPECT_EQ(number->number, 1.5);
    const auto* glue = descriptor.find(four_cc("sgky"));
    EXPECT_EQ(glue->kind, hosting::ItemKind::Enumerated);
    EXPECT_EQ(glue->type, four_cc("sgty"));
    EXPECT_EQ(glue->value, four_cc("sg05"));
    EXPECT_EQ(descriptor.find(four_cc("suky"))->value, four_cc("su03"));
}

TEST(TypedDescriptor, RefusesWhatIsNotASetting) {
    hosting::Descriptor descriptor;
    std::string error;
    for (const char* setting : {"zzzz=1", "0014", "014=3", "0014=", "0014=eighty", "0014=1.5", "0014=1e300",
                                "0042=nan", "sgky=2x"}) {
        error.clear();
        EXPECT_FALSE(put_setting(descriptor, setting, error)) << setting;
        EXPECT_FALSE(error.empty()) << setting;
    }
    EXPECT_TRUE(descriptor.items.empty());
}

}  // namespace
}  // namespace corvanthe::winhost
