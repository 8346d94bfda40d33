// Documents at the edges of what a host may offer: one pixel, one row or column of
// 100000, a filter rectangle away from the origin, coordinates above 32767 through the
// big-document record, every depth, colour layout and filter case.
#include <gtest/gtest.h>

#include "host/plugin_main.h"
#include "hosting/host.h"
#include "reliability_support.h"

namespace corvanthe::reliability {
namespace {

using hosting::ColourKind;
using hosting::Coordinates;
using hosting::Document;
using hosting::Host;

class HostileDocumentTest : public ReliabilityTest {};

int tiles_over(const sdk::VRect& r) {
    const auto count = [](int32_t from, int32_t to) { return (to - from + 255) / 256; };
    return count(r.left, r.right) * count(r.top, r.bottom);
}

TEST_F(HostileDocumentTest, ExtremeShapesAreRenderedWhole) {
    const int32_t shapes[][2] = {{1, 1}, {1, 100000}, {100000, 1}, {257, 3}};
    for (const auto& shape : shapes) {
        paint_log = {};
        const Document before = patterned(shape[0], shape[1], 8, ColourKind::rgb, false);
        Host host(before);
        // A side beyond 32767 only fits the big-document fields.
        host.options().coordinates = std::max(shape[0], shape[1]) > 32767 ? Coordinates::big : Coordinates::small;
        const hosting::RunResult run = host.run_filter(PluginMain, false);
        EXPECT_EQ(run.result, 0) << shape[0] << " x " << shape[1];
        EXPECT_EQ(paint_log.tiles, tiles_over(before.effective_filter_rect()));
        EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << shape[0] << " x " << shape[1];
        // The plug-in asks the host for at most two tiles of its planes.
        EXPECT_LE(host.record().maxSpace, 2 * 3 * std::min(shape[0], 256) * std::min(shape[1], 256));
    }
}

TEST_F(HostileDocumentTest, AFilterRectangleAwayFromTheOriginIsTheOnlyAreaTouched) {
    for (const Coordinates coordinates : {Coordinates::small, Coordinates::big, Coordinates::big_flag_clear}) {
        Document before = patterned(600, 300, 16, ColourKind::rgb, false);
        before.filter_rect = {17, 33, 290, 590};  // top, left, bottom, right
        Host host(before);
        host.options().coordinates = coordinates;
        EXPECT_EQ(host.run_filter(PluginMain, false).result, 0);
        EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before));
    }
}

TEST_F(HostileDocumentTest, CoordinatesAbove32767TravelInTheBigDocumentFields) {
    // 40000 columns: the filter rectangle starts beyond what the 16-bit fields can hold.
    Document before = patterned(40000, 3, 8, ColourKind::grey, false);
    before.filter_rect = {1, 32760, 3, 39999};
    Host host(before);
    host.options().coordinates = Coordinates::big;
    const hosting::RunResult run = host.run_filter(PluginMain, false);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(paint_log.tiles, tiles_over(before.filter_rect));
    EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before));
}

TEST_F(HostileDocumentTest, AHostOfferingTheBigDocumentRecordGetsItsWideDocumentsFiltered) {
    // The host leaves the flag clear and waits for the plug-in to opt into the 32-bit fields.
    const Document before = patterned(40000, 20, 8, ColourKind::rgb, false);
    Host host(before);
    host.options().coordinates = Coordinates::big_flag_clear;
    const hosting::RunResult run = host.run_filter(PluginMain, false);
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(host.uses_32bit_coordinates());
    EXPECT_EQ(paint_log.tiles, tiles_over(before.effective_filter_rect()));
    EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before));
}

TEST_F(HostileDocumentTest, EveryDepthLayoutAndSelection) {
    for (const int depth : {8, 16, 32})
        for (const ColourKind colour : {ColourKind::grey, ColourKind::rgb})
            for (const bool transparency : {false, true})
                for (const bool mask : {false, true}) {
                    paint_log = {};
                    const Document before = patterned(270, 260, depth, colour, transparency, mask);
                    Host host(before);
                    const hosting::RunResult run = host.run_filter(PluginMain, false);
                    const std::string name = std::to_string(depth) + (colour == ColourKind::rgb ? " rgb" : " grey") +
                                             (transparency ? " alpha" : "") + (mask ? " mask" : "");
                    EXPECT_EQ(run.result, 0) << name;
                    EXPECT_EQ(paint_log.tiles, 4) << name;
                    EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << name;
                }
}

TEST_F(HostileDocumentTest, FilterCasesTheHostMayNameRunWithoutHarm) {
    // Floating selections and protected transparency arrive with the same buffers; the
    // plug-in writes the colour planes and leaves the rest of the document alone.
    for (int16_t filter_case = sdk::kFilterCaseFlatImageNoSelection;
         filter_case <= sdk::kFilterCaseProtectedTransparencyWithSelection; ++filter_case) {
        const Document before = patterned(90, 70, 8, ColourKind::rgb, true);
        Host host(before);
        const hosting::RunResult run =
            run_changed(host, [filter_case](sdk::FilterRecord& r) { r.filterCase = filter_case; });
        EXPECT_EQ(run.result, 0) << filter_case;
        EXPECT_TRUE(unchanged_outside_filter_area(host.document(), before)) << filter_case;
        const double full = hosting::full_scale(8);
        EXPECT_EQ(host.document().sample(45, 35, 0), full) << filter_case;
        EXPECT_EQ(host.document().sample(45, 35, 1), 0) << filter_case;
        // Only the editable transparency cases write the transparency plane.
        const bool editable = filter_case == sdk::kFilterCaseEditableTransparencyNoSelection ||
                              filter_case == sdk::kFilterCaseEditableTransparencyWithSelection;
        EXPECT_EQ(host.document().sample(45, 35, 3), editable ? full : before.sample(45, 35, 3)) << filter_case;
    }
}

}  // namespace
}  // namespace corvanthe::reliability
