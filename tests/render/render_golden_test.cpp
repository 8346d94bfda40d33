// Golden hashes pin whole renders against regressions; the hand-worked tests in the
// other files establish that the renders are right. Set CORVANTHE_UPDATE_GOLDEN=1 to
// rewrite the file after an intended change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "render/golden_image.h"
#include "render/pixel_kernel.h"
#include "render/render_fixture.h"
#include "render/render_prepare.h"
#include "render/worker_pool.h"
#include "settings/parameter_table.h"

namespace corvanthe {
namespace {

using namespace corvanthe::testing;

TEST(RenderGolden, MatrixMatchesThePinnedHashes) {
    const auto cases = golden_cases();
    std::map<std::string, uint64_t> hashes;
    for (const GoldenCase& c : cases) {
        ASSERT_EQ(hashes.count(c.name), 0u) << "duplicate case " << c.name;
        hashes[c.name] = serial_render_hash(*prepared(c.settings, c.request), c.area);
    }
    if (std::getenv("CORVANTHE_UPDATE_GOLDEN")) {
        ASSERT_TRUE(write_golden_file(render_golden_path(), hashes));
        GTEST_SKIP() << "golden file rewritten";
    }
    const auto pinned = read_golden_file(render_golden_path());
    ASSERT_FALSE(pinned.empty()) << render_golden_path();
    for (const auto& [name, hash] : hashes) {
        const auto it = pinned.find(name);
        ASSERT_NE(it, pinned.end()) << "no pinned hash for " << name;
        EXPECT_EQ(hash, it->second) << name;
    }
    // Seeds are taken as unsigned 16-bit values, and a slider beyond its range renders
    // as its end: both follow from the definitions, not from the pinned file.
    SunSettings s = default_settings();
    s.random_seed = 65536 + 3;
    EXPECT_EQ(serial_render_hash(*prepared(s, full_request(120, 90)), {0, 0, 120, 90}), hashes.at("seed_3"));
    s = default_settings();
    s.sun_radius = 5000;
    EXPECT_EQ(serial_render_hash(*prepared(s, full_request(120, 90)), {0, 0, 120, 90}), hashes.at("sun_radius_100"));
}

TEST(RenderGolden, HashDoesNotDependOnHowTheAreaIsCut) {
    auto c = prepared(default_settings(), full_request(120, 90));
    const RenderRect area{0, 0, 120, 90};
    const uint64_t whole = serial_render_hash(*c, area, 256);
    EXPECT_EQ(serial_render_hash(*c, area, 17), whole);
    EXPECT_EQ(serial_render_hash(*c, area, 1), whole);
}

struct Processors {
    explicit Processors(int32_t n) { set_processor_override(n); }
    ~Processors() { set_processor_override(0); }
};

TEST(RenderGolden, SameHashesThroughThePoolAtOneAndManyThreads) {
    const auto pinned = read_golden_file(render_golden_path());
    ASSERT_FALSE(pinned.empty());
    {
        const Processors four(4);
        for (const GoldenCase& c : golden_cases())
            EXPECT_EQ(pool_render_hash(*prepared(c.settings, c.request), c.area, false), pinned.at(c.name)) << c.name;
    }

    // Areas of several tiles, cut column by column, partial at the right and bottom.
    for (int32_t type : {kSunNormal, kSunEclipse}) {
        SunSettings s = default_settings();
        s.sun_type = type;
        RenderRequest r = full_request(600, 420);
        r.render_mode = 1;
        r.view_origin_x = 20;
        auto context = prepared(s, r);
        const RenderRect area{0, 0, 560, 400};
        const uint64_t reference = serial_render_hash(*context, area, 97);
        for (int32_t threads : {1, 4}) {
            const Processors processors(threads);
            EXPECT_EQ(pool_render_hash(*context, area, false), reference) << threads << " threads";
        }
        EXPECT_EQ(pool_render_hash(*context, area, true), reference) << "serial run";
    }
}

TEST(RenderGolden, SettingsFarOutsideTheirRangesRenderWithoutFault) {
    std::mt19937 random(20261208);
    auto any_int = [&] {
        switch (random() % 4) {
        case 0: return int32_t(random());
        case 1: return int32_t(random() % 201) - 50;
        case 2: return random() % 2 ? INT32_MAX : INT32_MIN;
        default: return int32_t(random() % 100000) - 50000;
        }
    };
    auto any_float = [&] {
        const float specials[] = {0.0f, 1.0f, -1.0f, 1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::denorm_min(), 3.4e38f};
        if (random() % 2) return specials[random() % 10];
        uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    };
    for (int run = 0; run < 200; ++run) {
        SunSettings s = default_settings();
        for (const ParameterInfo& p : kParameters) {
            if (p.type == ParameterType::Float)
                set_float(s, p, any_float());
            else if (random() % 3)
                set_integer(s, p, any_int());
        }
        s.sun_colour = {uint16_t(random()), uint16_t(random()), uint16_t(random())};
        const bool large = random() % 4 == 0;
        RenderRequest r = full_request(1 + random() % (large ? 100000 : 60), 1 + random() % (large ? 100000 : 60));
        r.render_mode = int32_t(random() % 4) - 1;
        r.scale_divisor = any_int();
        r.view_origin_x = any_int();
        r.view_origin_y = any_int();
        r.image_width = any_int();
        r.image_height = any_int();
        r.depth = DepthClass(random() % 3);
        auto c = std::make_unique<RenderContext>();
        ASSERT_EQ(render_prepare(*c, s, r), 0) << run;
        const int32_t left = random() % 2 ? 0 : any_int() / 2, top = random() % 2 ? 0 : any_int() / 2;
        const RenderRect piece{left, top, left + 24, top + 24};
        OwnedCellBuffer cells(piece);
        render_piece(*c, piece, cells.buffer);
        for (int32_t y = top; y < top + 24; ++y)
            for (int32_t x = left; x < left + 24; ++x) {
                const Cell& cell = cells.at(x, y);
                ASSERT_LE(cell.aux[2], 4u);
                for (int ch = 0; ch < 3; ++ch) {
                    ASSERT_GE(cell.colour[ch], 0.0f);
                    ASSERT_LE(cell.colour[ch], 65535.0f / 32768.0f);  // full intensity is 1 at every depth
                }
            }
    }
}

}  // namespace
}  // namespace corvanthe
