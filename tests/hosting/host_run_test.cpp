// Filter runs through the host: the selector sequence, blocks kept between runs, tiles
// written back at every depth and layout, 32-bit coordinates, staged failures.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hosting/host.h"
#include "test_plugins.h"

namespace corvanthe::hosting {
namespace {

using testing::g_inverter;
using testing::inverter_main;

// Records the selectors; Start asks for `continues` areas through the Continue protocol;
// each selector answers the result configured for it.
struct SequenceConfig {
    std::vector<int16_t> selectors;
    int16_t fail_selector = -1;
    int16_t fail_code = 0;
    int continues = 0;
    std::vector<int> first_in_samples;  // inData[0] seen by each Continue
};
SequenceConfig g_sequence;

void CORVANTHE_HOST_API sequence_main(int16_t selector, void* record, intptr_t*, int16_t* result) {
    auto& r = *static_cast<sdk::FilterRecord*>(record);
    g_sequence.selectors.push_back(selector);
    if (selector == sdk::kFilterSelectorStart || selector == sdk::kFilterSelectorContinue) {
        if (selector == sdk::kFilterSelectorContinue) {
            g_sequence.first_in_samples.push_back(r.inData ? *static_cast<uint8_t*>(r.inData) : -1);
        }
        const int asked = int(g_sequence.first_in_samples.size());
        const int16_t x = int16_t(asked);
        r.inRect = asked < g_sequence.continues ? sdk::Rect{0, x, 1, int16_t(x + 1)} : sdk::Rect{0, 0, 0, 0};
        r.outRect = r.maskRect = sdk::Rect{0, 0, 0, 0};
    }
    if (selector == g_sequence.fail_selector) *result = g_sequence.fail_code;
}

Document numbered(int depth, ColourKind colour, bool alpha, int32_t w = 12, int32_t h = 9) {
    Document doc = make_document(w, h, depth, colour, alpha);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            for (int p = 0; p < doc.planes(); ++p) {
                const int k = (x + 3 * y + 5 * p) % 16;
                doc.set_sample(x, y, p, depth == 8 ? 16.0 * k : depth == 16 ? 2048.0 * k : k / 16.0);
            }
    return doc;
}

TEST(HostRun, RunsTheSelectorSequenceWithContinueWhileAreasAreAsked) {
    Document doc = make_document(4, 1, 8, ColourKind::grey, false);
    for (int32_t x = 0; x < 4; ++x) doc.set_sample(x, 0, 0, 10 + x);
    Host host(doc);
    g_sequence = {};
    g_sequence.continues = 3;
    RunResult run = host.run_filter(sequence_main, true);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorFinish);
    EXPECT_EQ(g_sequence.selectors, (std::vector<int16_t>{1, 2, 3, 4, 4, 4, 5}));
    // Each Continue found the column it had asked for.
    EXPECT_EQ(g_sequence.first_in_samples, (std::vector<int>{10, 11, 12}));

    g_sequence = {};
    run = host.run_filter(sequence_main);
    EXPECT_EQ(g_sequence.selectors, (std::vector<int16_t>{2, 3, 5}));
}

TEST(HostRun, StopsAtTheFirstNonZeroResult) {
    Host host(make_document(2, 2, 8, ColourKind::rgb, false));
    for (int16_t failing : {1, 2, 3, 4}) {
        g_sequence = {};
        g_sequence.continues = 2;
        g_sequence.fail_selector = failing;
        g_sequence.fail_code = -108;
        const RunResult run = host.run_filter(sequence_main, true);
        EXPECT_EQ(run.result, -108);
        EXPECT_EQ(run.selector, failing);
        EXPECT_EQ(g_sequence.selectors.back(), failing);
        EXPECT_EQ(std::count(g_sequence.selectors.begin(), g_sequence.selectors.end(), 5), 0);
    }
}

// Keeps a run counter in the parameters handle and a pointer-sized block in the data cell.
void CORVANTHE_HOST_API counter_main(int16_t selector, void* record, intptr_t* data, int16_t* result) {
    auto& r = *static_cast<sdk::FilterRecord*>(record);
    if (selector != sdk::kFilterSelectorPrepare) return;
    if (!r.parameters) r.parameters = r.handleProcs->newProc(4);
    if (*data == 0) *data = reinterpret_cast<intptr_t>(r.handleProcs->newProc(4));
    if (!r.parameters || *data == 0) {
        *result = -108;
        return;
    }
    auto* count = reinterpret_cast<int32_t*>(r.handleProcs->lockProc(r.parameters, 1));
    ++*count;
    r.handleProcs->unlockProc(r.parameters);
}

TEST(HostRun, KeepsTheParametersHandleAndDataCellBetweenRuns) {
    Host host(make_document(2, 2, 8, ColourKind::grey, false));
    ASSERT_EQ(host.run_filter(counter_main).result, 0);
    const sdk::Handle parameters = host.parameters();
    const intptr_t data = host.data();
    ASSERT_NE(parameters, nullptr);
    ASSERT_NE(data, 0);
    ASSERT_EQ(host.run_filter(counter_main).result, 0);
    EXPECT_EQ(host.parameters(), parameters);
    EXPECT_EQ(host.data(), data);
    int32_t count;
    std::memcpy(&count, host.handles().bytes(parameters).data(), 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(host.handles().lock_count(parameters), 0);
}

struct Layout {
    int depth;
    ColourKind colour;
    bool alpha;
};

// Every depth and layout, a filter rectangle away from the origin, padded rows: the
// filter rectangle comes back inverted and the rest untouched.
TEST(HostRun, TilesComeBackIntoTheDocumentAtEveryDepthAndLayout) {
    const Layout layouts[] = {{8, ColourKind::grey, false}, {8, ColourKind::rgb, true},
                              {16, ColourKind::grey, true}, {16, ColourKind::rgb, false},
                              {32, ColourKind::grey, false}, {32, ColourKind::rgb, true}};
    for (const Layout& l : layouts) {
        Document doc = numbered(l.depth, l.colour, l.alpha);
        doc.filter_rect = {2, 3, 9, 11};
        HostOptions options;
        options.row_padding = 3;
        Host host(doc, options);
        g_inverter = {};
        const RunResult run = host.run_filter(inverter_main);
        ASSERT_EQ(run.result, 0);
        EXPECT_EQ(g_inverter.tiles_done, 4);  // 2 × 2 tiles of at most 5 × 5
        const double full = full_scale(l.depth);
        for (int32_t y = 0; y < doc.height; ++y)
            for (int32_t x = 0; x < doc.width; ++x)
                for (int p = 0; p < doc.planes(); ++p) {
                    const bool inside = y >= 2 && y < 9 && x >= 3 && x < 11;
                    const double before = doc.sample(x, y, p);
                    ASSERT_EQ(host.document().sample(x, y, p), inside ? full - before : before)
                        << l.depth << " " << x << "," << y << " plane " << p;
                }
    }
}

TEST(HostRun, MaskIsDeliveredWithTheTiles) {
    Document doc = numbered(8, ColourKind::grey, false, 4, 3);
    doc.mask.resize(12);
    for (int i = 0; i < 12; ++i) doc.mask[i] = uint8_t(20 * i);
    Host host(doc);
    g_inverter = {};
    g_inverter.tile = 2;
    ASSERT_EQ(host.run_filter(inverter_main).result, 0);
    // Tiles in order: (0..2, 0..2), (0..2, 2..4), (2..3, 0..2), (2..3, 2..4), rows first.
    const std::vector<uint8_t> expected = {0, 20, 80, 100, 40, 60, 120, 140, 160, 180, 200, 220};
    EXPECT_EQ(g_inverter.mask_seen, expected);
}

// Beyond 32767 pixels the 16-bit fields cannot say where, so the plug-in works in the
// 32-bit ones; with the record present but its flag clear, the 16-bit fields count.
TEST(HostRun, BigDocumentCoordinatesAreHonouredBothWays) {
    Document wide = numbered(8, ColourKind::grey, false, 40000, 3);
    wide.filter_rect = {1, 39990, 3, 40000};
    HostOptions options;
    options.coordinates = Coordinates::big;
    Host host(wide, options);
    g_inverter = {};
    g_inverter.use_32bit = true;
    ASSERT_EQ(host.run_filter(inverter_main).result, 0);
    EXPECT_EQ(g_inverter.tiles_done, 2);
    for (int32_t x = 39980; x < 40000; ++x)
        for (int32_t y = 0; y < 3; ++y) {
            const bool inside = y >= 1 && x >= 39990;
            const double before = wide.sample(x, y, 0);
            ASSERT_EQ(host.document().sample(x, y, 0), inside ? 255 - before : before) << x << "," << y;
        }

    Document doc = numbered(8, ColourKind::rgb, false);
    doc.filter_rect = {0, 0, 2, 2};
    options.coordinates = Coordinates::big_flag_clear;
    Host flag_clear(doc, options);
    g_inverter = {};
    ASSERT_EQ(flag_clear.run_filter(inverter_main).result, 0);
    EXPECT_EQ(flag_clear.document().sample(1, 1, 2), 255 - doc.sample(1, 1, 2));
    EXPECT_EQ(flag_clear.document().sample(2, 2, 2), doc.sample(2, 2, 2));
}

TEST(HostRun, AdvanceStateFailuresAndCancelStopTheRunWithTheirCode) {
    const Document doc = numbered(8, ColourKind::rgb, false, 10, 5);
    HostOptions options;
    options.failures.advance_error_at = 2;
    options.failures.advance_error_code = -25;
    Host host(doc, options);
    g_inverter = {};
    RunResult run = host.run_filter(inverter_main);
    EXPECT_EQ(run.result, -25);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    // The first tile (columns 0..4) was written; the second was never delivered.
    EXPECT_EQ(host.document().sample(0, 0, 0), 255 - doc.sample(0, 0, 0));
    EXPECT_EQ(host.document().sample(5, 0, 0), doc.sample(5, 0, 0));

    HostOptions cancelling;
    cancelling.failures.cancel_at = 1;
    Host cancelled(doc, cancelling);
    g_inverter = {};
    run = cancelled.run_filter(inverter_main);
    EXPECT_EQ(run.result, -128);
    EXPECT_EQ(cancelled.document().pixels, doc.pixels);
    EXPECT_EQ(cancelled.advance_calls(), 1);
}

}  // namespace
}  // namespace corvanthe::hosting
