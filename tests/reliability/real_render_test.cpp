// The same hostile documents and failing hosts with the plug-in's own renderer: the sun
// render and glue on the worker pool, through PluginMain.
#include <gtest/gtest.h>

#include "host/plugin_main.h"
#include "host/render_call.h"
#include "hosting/host.h"
#include "reliability_support.h"

namespace corvanthe::reliability {
namespace {

using hosting::ColourKind;
using hosting::Coordinates;
using hosting::Document;
using hosting::Host;

class RealRenderTest : public ReliabilityTest {
protected:
    void SetUp() override {
        ReliabilityTest::SetUp();
        set_render_proc(nullptr);
    }
};

TEST_F(RealRenderTest, HostileShapesRenderAndTouchNothingOutside) {
    struct Shape {
        int32_t width, height;
        sdk::VRect filter;  // empty: the whole image
    };
    const Shape shapes[] = {
        {1, 1, {}}, {1, 100000, {}}, {100000, 1, {}}, {600, 300, {17, 33, 290, 590}}, {40000, 3, {1, 32760, 3, 39999}},
    };
    for (const Shape& shape : shapes) {
        Document before = patterned(shape.width, shape.height, 8, ColourKind::rgb, false);
        before.filter_rect = shape.filter;
        Host host(before);
        const bool big = std::max(shape.width, shape.height) > 32767;
        host.options().coordinates = big ? Coordinates::big : Coordinates::small;
        const hosting::RunResult run = host.run_filter(PluginMain, false);
        const std::string name = std::to_string(shape.width) + " x " + std::to_string(shape.height);
        EXPECT_EQ(run.result, 0) << name;
        EXPECT_GE(host.advance_calls(), 1) << name;
        EXPECT_TRUE(unchanged_outside_selection(host.document(), before)) << name;
        EXPECT_EQ(state_of(host).work_block, nullptr) << name;
    }
}

TEST_F(RealRenderTest, EveryDepthLayoutSelectionAndFilterCase) {
    for (const int depth : {8, 16, 32})
        for (const ColourKind colour : {ColourKind::grey, ColourKind::rgb})
            for (const bool transparency : {false, true})
                for (const bool mask : {false, true}) {
                    const Document before = patterned(300, 20, depth, colour, transparency, mask);
                    Host host(before);
                    const hosting::RunResult run = host.run_filter(PluginMain, false);
                    const std::string name = std::to_string(depth) + (colour == ColourKind::rgb ? " rgb" : " grey") +
                                             (transparency ? " alpha" : "") + (mask ? " mask" : "");
                    EXPECT_EQ(run.result, 0) << name;
                    EXPECT_EQ(host.advance_calls(), 2) << name;  // two tiles across
                    EXPECT_TRUE(unchanged_outside_selection(host.document(), before)) << name;
                    EXPECT_NE(host.document().pixels, before.pixels) << name;  // the sun is there
                }
    for (int16_t filter_case = sdk::kFilterCaseFlatImageNoSelection;
         filter_case <= sdk::kFilterCaseProtectedTransparencyWithSelection; ++filter_case) {
        const Document before = patterned(90, 70, 16, ColourKind::rgb, true);
        Host host(before);
        const hosting::RunResult run =
            run_changed(host, [filter_case](sdk::FilterRecord& r) { r.filterCase = filter_case; });
        EXPECT_EQ(run.result, 0) << filter_case;
        EXPECT_NE(host.document().pixels, before.pixels) << filter_case;
    }
}

TEST_F(RealRenderTest, AdvanceStateFailingOnThePoolEndsTheRunWithItsCode) {
    for (const int at : {1, 3, 6}) {
        const Document before = patterned(600, 300, 8, ColourKind::rgb, false);
        Host host(before);
        host.options().failures = {.advance_error_at = at, .advance_error_code = -30};
        const hosting::RunResult run = host.run_filter(PluginMain, false);
        EXPECT_EQ(run.result, -30) << at;
        EXPECT_EQ(run.selector, sdk::kFilterSelectorStart) << at;
        EXPECT_EQ(host.advance_calls(), at) << "no tile is asked for after the failure";
        EXPECT_EQ(state_of(host).work_block, nullptr) << at;
        EXPECT_FALSE(std::filesystem::exists(program_folder() / "Corvanthe cached settings D")) << at;
    }
}

TEST_F(RealRenderTest, DeepModesTakeTheirDepthFromTheModeWhenTheDepthFieldDisagrees) {
    // Hosts older than the depth field leave it 0; others have been seen to leave it at 8.
    struct Case {
        int depth;
        ColourKind colour;
        int32_t depth_field;
    };
    const Case cases[] = {{16, ColourKind::grey, 0}, {16, ColourKind::rgb, 8}, {32, ColourKind::grey, 0},
                          {32, ColourKind::rgb, 16}};
    for (const Case& c : cases) {
        const Document before = patterned(300, 20, c.depth, c.colour, false);
        Host host(before);
        const hosting::RunResult run = run_changed(host, [&c](sdk::FilterRecord& r) { r.depth = c.depth_field; });
        const std::string name = std::to_string(c.depth) + " bits, depth field " + std::to_string(c.depth_field);
        EXPECT_EQ(run.result, 0) << name;
        EXPECT_TRUE(port.messages().empty()) << name;
        EXPECT_NE(host.document().pixels, before.pixels) << name;  // the sun is there
        EXPECT_TRUE(unchanged_outside_selection(host.document(), before)) << name;
    }
}

TEST_F(RealRenderTest, TheHostsAbortProcedureStopsTheRenderAsTilesComplete) {
    // 600 x 300 is 3 x 2 tiles; the user stops the run when the second tile completes.
    const Document before = patterned(600, 300, 8, ColourKind::rgb, false);
    Host host(before);
    host.options().failures.abort_from = 2;
    const hosting::RunResult run = host.run_filter(PluginMain, false);
    EXPECT_EQ(run.result, sdk::kUserCanceledErr);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    EXPECT_EQ(host.abort_calls(), 2);
    EXPECT_EQ(host.advance_calls(), 1);  // only the first tile was asked for
    EXPECT_NE(host.document().pixels, before.pixels);
    EXPECT_EQ(state_of(host).work_block, nullptr);
    EXPECT_FALSE(std::filesystem::exists(program_folder() / "Corvanthe cached settings D"));
}

}  // namespace
}  // namespace corvanthe::reliability
