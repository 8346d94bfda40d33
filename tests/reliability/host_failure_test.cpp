// Hosts that offer too little or fail on the way: every run ends with the result code
// the interface promises (or the gap is ignored), and nothing is left locked or leaked.
#include <gtest/gtest.h>

#include "host/plugin_main.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"
#include "reliability_support.h"
#include "sdk/four_cc.h"
#include "settings/temporary_files.h"

namespace corvanthe::reliability {
namespace {

using hosting::ColourKind;
using hosting::Host;

// After any run the host holds at most the two kept blocks, neither locked.
void expect_nothing_held(Host& host) {
    EXPECT_LE(host.handles().live_count(), 2u);
    if (host.parameters()) {
        EXPECT_EQ(host.handles().lock_count(host.parameters()), 0);
    }
    if (host.data()) {
        EXPECT_EQ(host.handles().lock_count(reinterpret_cast<sdk::Handle>(host.data())), 0);
    }
}

class HostFailureTest : public ReliabilityTest {};

// Closes the store's reader as usual and reports close_error.
sdk::OSErr close_error = sdk::kNoErr;
sdk::OSErr CORVANTHE_HOST_API close_with_error(sdk::PIReadDescriptor token) {
    hosting::DescriptorStore::active()->close_reader(token);
    return close_error;
}

TEST_F(HostFailureTest, OptionalServicesLeftOutAreNotNeeded) {
    // Progress, display and colour services serve the dialog and the progress bar only:
    // a silent run without them renders the whole image.
    for (int left_out = 0; left_out < 4; ++left_out) {
        const hosting::Document before = patterned(300, 270, 8, ColourKind::rgb, false);
        Host host(before);
        hosting::OfferedServices& s = host.options().services;
        s.progress = left_out != 0;
        s.display_pixels = left_out != 1;
        s.color_services = left_out != 2;
        s.descriptor_parameters = left_out != 3;
        const hosting::RunResult run = host.run_filter(PluginMain, false);
        EXPECT_EQ(run.result, 0) << left_out;
        EXPECT_EQ(run.selector, sdk::kFilterSelectorFinish) << left_out;
        EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << left_out;
        expect_nothing_held(host);
    }
    // The preview needs advanceState only: without displayPixels the plug-in draws it itself.
    Host no_display(patterned(20, 20, 8, ColourKind::grey, false));
    no_display.options().services.display_pixels = false;
    no_display.begin_run();
    EXPECT_EQ(no_display.call(PluginMain, sdk::kFilterSelectorPrepare), 0);
    EXPECT_EQ(no_display.call(PluginMain, sdk::kFilterSelectorStart), 0);
    EXPECT_EQ(settings_of(no_display).host_preview, 1);
    EXPECT_EQ(no_display.call(PluginMain, sdk::kFilterSelectorFinish), 0);
    no_display.end_run();
}

TEST_F(HostFailureTest, HandleProceduresThatCannotBeHadGiveMemFull) {
    struct Case {
        const char* name;
        std::function<void(Host&)> arrange;
        std::function<void(sdk::FilterRecord&)> change;
    };
    const auto keep = [](sdk::FilterRecord&) {};
    const auto table_of = [](int16_t count) {
        return [count](sdk::FilterRecord& r) { r.handleProcs->numHandleProcs = count; };
    };
    const Case cases[] = {
        {"no handle procedures", [](Host& h) { h.options().services.handle_procs = false; }, keep},
        {"newProc null at once", [](Host& h) { h.options().failures.new_handle_fails_from = 1; }, keep},
        {"newProc null for the second block", [](Host& h) { h.options().failures.new_handle_fails_from = 2; }, keep},
        {"lockProc null", [](Host& h) { h.options().failures.lock_fails = true; }, keep},
        {"empty table", [](Host&) {}, table_of(0)},
        {"table without disposeProc and lockProc", [](Host&) {}, table_of(1)},
        {"table ending before lockProc", [](Host&) {}, table_of(4)},
        {"null newProc", [](Host&) {}, [](sdk::FilterRecord& r) { r.handleProcs->newProc = nullptr; }},
        {"null lockProc", [](Host&) {}, [](sdk::FilterRecord& r) { r.handleProcs->lockProc = nullptr; }},
    };
    for (const Case& c : cases) {
        for (const bool with_parameters : {false, true}) {
            const hosting::Document before = patterned(40, 30, 8, ColourKind::rgb, false);
            Host host(before);
            c.arrange(host);
            const hosting::RunResult run = run_changed(host, c.change, with_parameters);
            EXPECT_EQ(run.result, sdk::kMemFullErr) << c.name << " " << with_parameters;
            EXPECT_EQ(run.selector, with_parameters ? sdk::kFilterSelectorParameters : sdk::kFilterSelectorPrepare)
                << c.name;
            EXPECT_EQ(paint_log.renders, 0) << c.name;
            EXPECT_EQ(host.document().pixels, before.pixels) << c.name;
            expect_nothing_held(host);
        }
    }
}

TEST_F(HostFailureTest, AHandleTableWithoutUnlockStillRuns) {
    // numHandleProcs 5 ends with lockProc: the blocks stay locked, which is the host's
    // own choice, and the run itself is whole.
    const hosting::Document before = patterned(40, 30, 16, ColourKind::rgb, true);
    Host host(before);
    const hosting::RunResult run = run_changed(host, [](sdk::FilterRecord& r) { r.handleProcs->numHandleProcs = 5; });
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before));
    EXPECT_EQ(host.handles().live_count(), 2u);
}

TEST_F(HostFailureTest, DescriptorRecordsOfOtherVersionsOrShortTablesAreNotUsed) {
    using Change = std::function<void(sdk::PIDescriptorParameters&)>;
    struct Case {
        const char* name;
        Change change;
    };
    const Case cases[] = {
        {"intact", [](sdk::PIDescriptorParameters&) {}},
        {"parameters version 1", [](sdk::PIDescriptorParameters& p) { p.descriptorParametersVersion = 1; }},
        {"read procedures version 1",
         [](sdk::PIDescriptorParameters& p) { p.readDescriptorProcs->readDescriptorProcsVersion = 1; }},
        {"17 read procedures",
         [](sdk::PIDescriptorParameters& p) { p.readDescriptorProcs->numReadDescriptorProcs = 17; }},
        {"15 write procedures",
         [](sdk::PIDescriptorParameters& p) { p.writeDescriptorProcs->numWriteDescriptorProcs = 15; }},
        {"no get-key procedure", [](sdk::PIDescriptorParameters& p) { p.readDescriptorProcs->getKeyProc = nullptr; }},
        {"no read procedures", [](sdk::PIDescriptorParameters& p) { p.readDescriptorProcs = nullptr; }},
        {"no write procedures", [](sdk::PIDescriptorParameters& p) { p.writeDescriptorProcs = nullptr; }},
    };
    for (const Case& c : cases) {
        SunSettings cached{};
        initialise(cached);
        cached.sun_radius = 77;
        ASSERT_EQ(save_cached_settings(cached, nullptr), kFileOk);
        const hosting::Document before = patterned(40, 30, 8, ColourKind::rgb, false);
        Host host(before);
        hosting::DescriptorStore store(host.handles());
        host.options().descriptors = store.seam(sdk::plugInDialogSilent);
        host.set_descriptor(store.make_handle(hosting::Descriptor{}.put_integer(four_cc("0014"), 80)));
        const bool intact = std::string(c.name) == "intact";
        const hosting::RunResult run =
            run_changed(host, [&](sdk::FilterRecord& r) { c.change(*r.descriptorParameters); });
        EXPECT_EQ(run.result, 0) << c.name;
        EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << c.name;
        // Scripting that is not complete is not used: the cached file supplies the settings.
        EXPECT_EQ(settings_of(host).sun_radius, intact ? 80 : 77) << c.name;
        EXPECT_EQ(store.readers_opened() > 0, intact) << c.name;
        EXPECT_EQ(store.writers_opened() > 0, intact) << c.name;
        EXPECT_EQ(store.open_readers() + store.open_writers(), 0u) << c.name;
    }
}

TEST_F(HostFailureTest, AReadDescriptorThatClosesWithAnErrorEndsTheRunWithItBeforeTheDialog) {
    // The error first: the runs after it, with the harmless codes, write the cached settings.
    for (const sdk::OSErr code : {sdk::OSErr(-39), sdk::kErrMissingParameter, sdk::kNoErr}) {
        close_error = code;
        const bool harmless = code == sdk::kNoErr || code == sdk::kErrMissingParameter;
        const hosting::Document before = patterned(40, 30, 8, ColourKind::rgb, false);
        Host host(before);
        hosting::DescriptorStore store(host.handles());
        host.options().descriptors = store.seam(sdk::plugInDialogDisplay);
        store.read_procs()->closeReadDescriptorProc = close_with_error;
        host.set_descriptor(store.make_handle(hosting::Descriptor{}.put_integer(four_cc("0014"), 80)));
        const size_t dialogs_before = port.main_dialogs().size();
        const hosting::RunResult run = host.run_filter(PluginMain, false);
        EXPECT_EQ(run.result, harmless ? 0 : code) << code;
        EXPECT_EQ(run.selector, harmless ? sdk::kFilterSelectorFinish : sdk::kFilterSelectorStart) << code;
        EXPECT_EQ(port.main_dialogs().size(), dialogs_before + (harmless ? 1 : 0)) << code;
        if (harmless) {
            EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << code;
        } else {
            EXPECT_EQ(host.document().pixels, before.pixels);
            EXPECT_FALSE(std::filesystem::exists(program_folder() / "Corvanthe cached settings D"));
            expect_nothing_held(host);
        }
        EXPECT_EQ(state_of(host).work_block, nullptr) << code;
        EXPECT_EQ(store.open_readers(), 0u) << code;
    }
}

TEST_F(HostFailureTest, AdvanceStateFailingAtTheNthTileEndsTheRunWithItsCode) {
    // 600 x 300 is 3 x 2 tiles of 256.
    for (const int at : {1, 2, 6}) {
        for (const int16_t code : {int16_t(-30), int16_t(42), sdk::kUserCanceledErr}) {
            paint_log = {};
            const hosting::Document before = patterned(600, 300, 8, ColourKind::grey, false);
            Host host(before);
            if (code == sdk::kUserCanceledErr)
                host.options().failures.cancel_at = at;
            else
                host.options().failures = {.advance_error_at = at, .advance_error_code = code};
            const hosting::RunResult run = host.run_filter(PluginMain, false);
            EXPECT_EQ(run.result, code) << at;
            EXPECT_EQ(run.selector, sdk::kFilterSelectorStart) << at;
            EXPECT_EQ(host.advance_calls(), at) << "no tile is asked for after the failure";
            EXPECT_EQ(paint_log.tiles, at - 1);
            EXPECT_TRUE(unchanged_outside_filter_area(host.document(), before));
            // A host calls no Finish after a failed Start: nothing of the run may stay.
            EXPECT_EQ(state_of(host).work_block, nullptr) << at;
            for (void* buffer : state_of(host).image_buffers) EXPECT_EQ(buffer, nullptr);
            expect_nothing_held(host);
            // The failed run did not become the last run's settings.
            EXPECT_FALSE(std::filesystem::exists(program_folder() / "Corvanthe cached settings D")) << at;
        }
    }
}

TEST_F(HostFailureTest, NoAdvanceStateIsRefusedAndAMultichannelDocumentToo) {
    const hosting::Document before = patterned(30, 30, 8, ColourKind::rgb, false);
    Host refused(before);
    refused.options().services.advance_state = false;
    EXPECT_EQ(refused.run_filter(PluginMain, false).result, 1);
    EXPECT_EQ(port.messages().size(), 1u);
    EXPECT_EQ(refused.document().pixels, before.pixels);
    EXPECT_EQ(state_of(refused).work_block, nullptr);
    expect_nothing_held(refused);

    Host multichannel(before);
    multichannel.options().image_mode = sdk::kModeMultichannel;
    EXPECT_EQ(multichannel.run_filter(PluginMain, false).result, 1);
    EXPECT_EQ(multichannel.document().pixels, before.pixels);
    EXPECT_EQ(state_of(multichannel).work_block, nullptr);
    expect_nothing_held(multichannel);
}

}  // namespace
}  // namespace corvanthe::reliability
