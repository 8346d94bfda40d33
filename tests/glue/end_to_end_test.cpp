// Silent filter runs through PluginMain with the in-process host: the document comes
// back with the sun glued on, tile by tile, exactly as composing it pixel by pixel says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "glue/sun_run.h"
#include "layers/glue_mode.h"
#include "render/worker_pool.h"
#include "ui/recording_port.h"

namespace corvanthe::testing {
namespace {

using hosting::ColourKind;
using hosting::Document;
using hosting::Host;

class EndToEnd : public ::testing::Test {
protected:
    void TearDown() override { set_processor_override(0); }

    // Runs a silent Start over `doc` with the glue mode and checks the result against the
    // directly composed document; returns the document the run left.
    Document run_and_compare(const Document& doc, int32_t glue = kGlueNormal) {
        Host host(doc);
        const hosting::RunResult run = silent_start(host, glue);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.selector, sdk::kFilterSelectorFinish);
        const Document expected = expected_after_start(doc, settings_with_glue(glue));
        EXPECT_NE(expected.pixels, doc.pixels) << "the sun changed nothing";
        size_t differing = 0;
        for (size_t i = 0; i < expected.pixels.size(); ++i) differing += expected.pixels[i] != host.document().pixels[i];
        EXPECT_EQ(differing, 0u) << "bytes that differ from the composed document";
        return host.document();
    }

};

TEST_F(EndToEnd, EveryDepthGreyOrColourWithAndWithoutTransparency) {
    set_processor_override(3);
    for (int depth : {8, 16, 32})
        for (ColourKind colour : {ColourKind::rgb, ColourKind::grey})
            for (bool transparency : {false, true}) {
                SCOPED_TRACE(::testing::Message() << depth << "-bit " << (colour == ColourKind::grey ? "grey" : "rgb")
                                                  << (transparency ? " with transparency" : ""));
                run_and_compare(test_picture({280, 270, depth, colour, transparency, false}));
            }
}

TEST_F(EndToEnd, SelectionsKeepTheUnselectedImage) {
    set_processor_override(2);
    for (bool transparency : {false, true}) {  // filter cases 2 and 5
        const Document doc = test_picture({280, 270, 16, ColourKind::rgb, transparency, true});
        const Document after = run_and_compare(doc, kGlueScreen);
        // The left third is unselected: its samples are untouched.
        for (int32_t y = 0; y < doc.height; y += 7)
            for (int32_t x = 0; x < doc.width / 3; x += 5)
                ASSERT_EQ(doc.sample(x, y, 1), after.sample(x, y, 1)) << x << "," << y;
    }
}

TEST_F(EndToEnd, AFilterRectangleAwayFromTheOriginIsTheOnlyAreaTouched) {
    set_processor_override(2);
    Document doc = test_picture({400, 300, 8, ColourKind::rgb, false, false});
    doc.filter_rect = {37, 101, 290, 390};  // top, left, bottom, right: 2 × 2 tiles
    const Document after = run_and_compare(doc, kGlueAdd);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            const bool inside = y >= 37 && y < 290 && x >= 101 && x < 390;
            if (!inside) {
                ASSERT_EQ(doc.sample(x, y, 0), after.sample(x, y, 0)) << x << "," << y;
            }
        }
}

TEST_F(EndToEnd, AFloatingSelectionIsRequestedAtItsOrigin) {
    Document doc = test_picture({300, 200, 8, ColourKind::rgb, false, true});
    doc.filter_rect = {10, 20, 150, 200};
    doc.float_coord = {30, 60};  // v, h
    doc.floating = true;
    const Document after = run_and_compare(doc, kGlueLighten);
    // The rectangle's own first row, which the floating origin moves away from, is left.
    for (int32_t x = 0; x < 20; ++x) EXPECT_EQ(doc.sample(x + 100, 10, 0), after.sample(x + 100, 10, 0));
}

TEST_F(EndToEnd, TheSelectionsCornerInFloatCoordDoesNotMoveAnOrdinarySelection) {
    // Hosts that bridge the interface tell the corner of an ordinary selection in floatCoord.
    Document doc = test_picture({400, 300, 8, ColourKind::rgb, false, false});
    doc.filter_rect = {50, 100, 250, 300};  // top, left, bottom, right
    doc.float_coord = {50, 100};            // v, h
    const Document after = run_and_compare(doc, kGlueNormal);
    int32_t changed_outside = 0;
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            const bool inside = y >= 50 && y < 250 && x >= 100 && x < 300;
            if (!inside && std::memcmp(doc.sample_address(x, y, 0), after.sample_address(x, y, 0), 3) != 0)
                ++changed_outside;
        }
    EXPECT_EQ(changed_outside, 0);
}

TEST_F(EndToEnd, ADialogThatEndsWithOkRendersTheSameSun) {
    ui::RecordingPort port(ui::kDialogOk);
    const Document doc = test_picture({280, 270, 8, ColourKind::rgb, false, false});
    Host host(doc);
    const hosting::RunResult run = run_with_glue(host, kGlueMultiply, sdk::plugInDialogDisplay);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(port.main_dialogs().size(), 1u);
    EXPECT_TRUE(host.document().pixels == expected_after_start(doc, settings_with_glue(kGlueMultiply)).pixels);
}

TEST_F(EndToEnd, AnAdvanceStateErrorStopsAtTheNextTileAndIsTheResult) {
    set_processor_override(1);  // tiles complete column by column
    const Document doc = test_picture({600, 300, 8, ColourKind::rgb, false, false});  // 3 × 2 tiles
    Host host(doc);
    host.options().failures.advance_error_at = 3;
    host.options().failures.advance_error_code = -1234;
    const hosting::RunResult run = silent_start(host, kGlueNormal);
    EXPECT_EQ(run.result, -1234);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    EXPECT_EQ(host.advance_calls(), 3);  // no tile is asked for after the failing one

    // The first column of tiles (x 0..255, two tiles) was glued, nothing right of it.
    const Document composed = expected_after_start(doc, settings_with_glue(kGlueNormal));
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            for (int p = 0; p < 3; ++p)
                ASSERT_EQ(host.document().sample(x, y, p), (x < 256 ? composed : doc).sample(x, y, p))
                    << x << "," << y;
}

TEST_F(EndToEnd, AHostThatCancelsGetsItsCodeBackOnAnyThreadCount) {
    for (int threads : {1, 4}) {
        set_processor_override(threads);
        const Document doc = test_picture({600, 300, 8, ColourKind::rgb, false, false});
        Host host(doc);
        host.options().failures.cancel_at = 2;
        const hosting::RunResult run = silent_start(host, kGlueNormal);
        EXPECT_EQ(run.result, sdk::kUserCanceledErr) << threads;
        EXPECT_EQ(host.advance_calls(), 2) << threads;
    }
}

TEST_F(EndToEnd, ProgressIsReportedForTheFullRender) {
    const Document doc = test_picture({600, 300, 8, ColourKind::rgb, false, false});
    Host host(doc);
    ASSERT_EQ(silent_start(host, kGlueNormal).result, 0);
    // The first finished job reports at once; every report counts the six jobs.
    ASSERT_FALSE(host.progress_calls().empty());
    for (const hosting::ProgressCall& call : host.progress_calls()) EXPECT_EQ(call.total, 6);
    EXPECT_EQ(host.advance_calls(), 6);
}

}  // namespace
}  // namespace corvanthe::testing
