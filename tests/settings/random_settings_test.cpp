#include <gtest/gtest.h>

#include <cstring>

#include "settings/parameter_table.h"
#include "settings/random_settings.h"

namespace corvanthe {
namespace {

SunSettings fresh() {
    SunSettings s{};
    initialise(s);
    return s;
}

bool same_parameters(const SunSettings& a, const SunSettings& b) {
    for (const ParameterInfo& p : kParameters)
        if (get_float(a, p) != get_float(b, p)) return false;
    return std::memcmp(&a.colour4, &b.colour4, sizeof a.colour4) == 0 &&
           std::memcmp(&a.colour5, &b.colour5, sizeof a.colour5) == 0 && a.flare_z == b.flare_z &&
           a.spike_z == b.spike_z;
}

}  // namespace

// The classic C runtime's rand after srand(1) yields 41, 18467, 6334, 26500, 19169, 15724, ...
TEST(RandomSettings, DrawsFollowTheRuntimeSequence) {
    CRandom r;
    r.seed(1);
    EXPECT_EQ(random_in(r, 0, 100), 2);    // 41 >> 4 = 2
    EXPECT_EQ(random_in(r, 0, 100), 2);    // 18467 >> 4 = 1154, & 127 = 2
    EXPECT_EQ(random_in(r, 0, 100), 11);   // 395 & 127
    EXPECT_EQ(random_in(r, 0, 100), 46);   // 1656 & 127 = 120 is above 100; 1198 & 127 = 46
    EXPECT_EQ(random_in(r, 0, 50), 22);    // 982 & 63

    r.seed(1);
    const Colour16 c = random_colour(r);
    EXPECT_EQ(c.red, 41 << 8);
    EXPECT_EQ(c.green, 35 << 8);  // 18467 & 255
    EXPECT_EQ(c.blue, 190 << 8);  // 6334 & 255

    // Dice starts with the four spike draws, then the sun radius: the same values.
    r.seed(1);
    SunSettings s = fresh();
    dice(s, r);
    EXPECT_EQ(s.spike_brightness, 2);
    EXPECT_EQ(s.spike_width, 2);
    EXPECT_EQ(s.spike_radius, 11);
    EXPECT_EQ(s.spike_count, 46);
    EXPECT_EQ(s.sun_radius, 22);
}

TEST(RandomSettings, RangesOfTheSingleDraws) {
    CRandom r;
    r.seed(99);
    for (int i = 0; i < 2000; ++i) {
        const int32_t swapped = random_in(r, 10, 5);
        ASSERT_GE(swapped, 5);
        ASSERT_LE(swapped, 10);
        ASSERT_EQ(random_in(r, 7, 7), 7);
        const int32_t wide = random_in(r, -100, 100000);
        ASSERT_GE(wide, -100);
        ASSERT_LE(wide, -100 + 2047);  // eleven bits of the draw
        const float offset = random_offset(r);
        ASSERT_GE(offset, -0.7f);
        ASSERT_LE(offset, 0.7f);
    }
}

TEST(RandomSettings, DiceKeepsItsRules) {
    CRandom r;
    r.seed(2026);
    bool saw_eclipse = false, saw_flare_offset = false;
    for (int i = 0; i < 3000; ++i) {
        SunSettings s = fresh();
        s.glue = 14;
        s.x_center = 0.1f;
        s.y_center = 0.9f;
        s.scale_divisor = 4;
        dice(s, r);
        ASSERT_TRUE(s.sun_type == kSunNormal || s.sun_type == kSunEclipse) << s.sun_type;
        saw_eclipse |= s.sun_type == kSunEclipse;
        ASSERT_EQ(s.flare_z, 0.0f);
        ASSERT_EQ(s.spike_z, 0.0f);
        ASSERT_EQ(s.flare_detail, 25);
        ASSERT_GE(s.flare_brightness, 50);
        ASSERT_LE(s.flare_brightness, 100);
        ASSERT_GE(s.master_brightness, 25);
        ASSERT_LE(s.master_brightness, 37);
        ASSERT_GE(s.sun_swirl_size, 5);
        ASSERT_LE(s.flare_count, 20);
        ASSERT_GE(s.random_seed, 0);
        ASSERT_LE(s.random_seed, 2047);
        ASSERT_EQ(std::memcmp(&s.colour4, &s.halo_colour, sizeof s.colour4), 0);
        ASSERT_EQ(s.sun_colour.red & 0xFF, 0);
        saw_flare_offset |= s.flare_x != 0.0f;
        ASSERT_EQ(s.glue, 14);
        ASSERT_EQ(s.x_center, 0.1f);
        ASSERT_EQ(s.y_center, 0.9f);
        ASSERT_EQ(s.scale_divisor, 4);
        ASSERT_STREQ(s.settings_name, "random settings");
    }
    EXPECT_TRUE(saw_eclipse);
    EXPECT_TRUE(saw_flare_offset);
}

TEST(RandomSettings, SameSeedSameSun) {
    CRandom a, b, c;
    a.seed(31337);
    b.seed(31337);
    c.seed(31338);
    SunSettings sa = fresh(), sb = fresh(), sc = fresh();
    dice(sa, a);
    dice(sb, b);
    dice(sc, c);
    EXPECT_TRUE(same_parameters(sa, sb));
    EXPECT_FALSE(same_parameters(sa, sc));
    EXPECT_EQ(a.next(), b.next());  // and the same number of draws taken
}

TEST(RandomSettings, EcceChangesOnlyTheSeed) {
    CRandom r;
    r.seed(1);
    SunSettings s = fresh();
    const SunSettings before = s;
    ecce(s, r);
    EXPECT_EQ(s.random_seed, 41);
    EXPECT_STREQ(s.settings_name, "random settings");
    s.random_seed = before.random_seed;
    EXPECT_TRUE(same_parameters(s, before));
}

}  // namespace corvanthe
