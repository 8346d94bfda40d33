// Filter runs through PluginMain with the in-process host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "hosting/host.h"
#include "host/host_rects.h"
#include "host/pixel_access.h"
#include "host/plugin_main.h"
#include "host/plugin_state.h"
#include "host/render_call.h"
#include "host/store_from_host.h"
#include "host/tile_request.h"
#include "host/work_allocator.h"
#include "settings/sun_settings.h"
#include "settings/temporary_files.h"
#include "ui/recording_port.h"

namespace corvanthe {
namespace {

using hosting::ColourKind;
using hosting::Document;
using hosting::Host;

// A stand-in renderer that paints every pixel it is given (1, 0, 0.5) through the host
// image access, in 32 x 32 tiles, and notes what the run set up for it.
struct RenderLog {
    int renders = 0;
    sdk::VRect area{};
    int32_t render_mode = -1;
    int32_t scale_divisor = -1;
    sdk::Fixed input_rate = 0;
};
RenderLog render_log;

void painting_render(HostContext& context, const sdk::VRect& area) {
    ++render_log.renders;
    render_log.area = area;
    render_log.render_mode = context.settings->render_mode;
    render_log.scale_divisor = context.settings->scale_divisor;
    render_log.input_rate = context.record->inputRate;
    context.settings->sun_radius = 99;  // the render's changes to the settings are undone
    for (int32_t top = area.top; top < area.bottom; top += 32) {
        for (int32_t left = area.left; left < area.right; left += 32) {
            const sdk::VRect tile{top, left, std::min(top + 32, area.bottom), std::min(left + 32, area.right)};
            request_tile(context, tile);
            if (advance(context) != 0) return;
            const sdk::VRect in = get_rect(*context.record, HostRect::kIn);
            for (int32_t y = tile.top; y < tile.bottom; ++y)
                for (int32_t x = tile.left; x < tile.right; ++x) {
                    PixelValue p;
                    if (read_pixel(*context.record, x, y, in, true, p))
                        write_host_pixel(*context.record, x, y, {1.0f, 0.0f, 0.5f, 1.0f}, true);
                }
        }
    }
}

// A stand-in renderer that fills a store from the host, as an export does.
LayerStore* copy_target = nullptr;
bool copy_complete = false;
int32_t offset_after_copy = -1;
void copying_render(HostContext& context, const sdk::VRect&) {
    copy_complete = copy_host_into_store(context, *copy_target);
    offset_after_copy = context.settings->preview_offset_x;
}

// Work allocations fail from this call on (1 = the first); 0 never.
int allocations = 0;
int fail_allocation_from = 0;
void* failing_allocate(std::size_t bytes) {
    ++allocations;
    return fail_allocation_from && allocations >= fail_allocation_from ? nullptr : std::malloc(bytes);
}

Document patterned(int32_t width, int32_t height, int depth, ColourKind colour, bool transparency) {
    Document doc = hosting::make_document(width, height, depth, colour, transparency);
    for (size_t i = 0; i < doc.pixels.size(); ++i) doc.pixels[i] = uint8_t(i * 7 + 3);
    return doc;
}

bool painted(const Document& doc) {
    const double full = hosting::full_scale(doc.depth);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            if (doc.colour == ColourKind::rgb) {
                if (doc.sample(x, y, 0) != full || doc.sample(x, y, 1) != 0 ||
                    doc.sample(x, y, 2) != std::trunc(full / 2))
                    return false;
            } else if (doc.sample(x, y, 0) != 0) {
                return false;
            }
        }
    return true;
}

const SunSettings& settings_of(Host& host) {
    return *reinterpret_cast<const SunSettings*>(host.handles().bytes(host.parameters()).data());
}

const PluginState& state_of(Host& host) {
    return *reinterpret_cast<const PluginState*>(
        host.handles().bytes(reinterpret_cast<sdk::Handle>(host.data())).data());
}

// Points the plug-in's folder for its own files (XDG_CACHE_HOME) at a fresh folder for
// one test, so that runs neither see nor leave the user's files.
class PrivateCache {
public:
    PrivateCache() {
        if (const char* old = std::getenv("XDG_CACHE_HOME")) old_ = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanthe-host-XXXXXX").string();
        if (mkdtemp(pattern.data())) root_ = pattern;
        setenv("XDG_CACHE_HOME", root_.c_str(), 1);
    }
    ~PrivateCache() {
        if (old_)
            setenv("XDG_CACHE_HOME", old_->c_str(), 1);
        else
            unsetenv("XDG_CACHE_HOME");
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    PrivateCache(const PrivateCache&) = delete;
    PrivateCache& operator=(const PrivateCache&) = delete;

private:
    std::string root_;
    std::optional<std::string> old_;
};

class PluginMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        render_log = {};
        allocations = 0;
        fail_allocation_from = 0;
        set_render_proc(painting_render);
        set_work_allocator(failing_allocate);
    }
    void TearDown() override {
        set_render_proc(nullptr);
        set_work_allocator(nullptr);
    }

    PrivateCache cache;
    ui::RecordingPort port;
};

constexpr const char* kRefusalText =
    "The filter cannot run because your paint program does not support enough of the Photoshop 3.0 plug-in "
    "standard.";

}  // namespace

TEST_F(PluginMainTest, ConfirmedRunRendersTheFilterRectangleAndLeavesNothingLocked) {
    Host host(patterned(70, 40, 8, ColourKind::rgb, false));
    host.options().relocate_unlocked_handles = true;  // stale addresses would be caught
    const hosting::RunResult run = host.run_filter(PluginMain, true);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorFinish);
    EXPECT_EQ(port.main_dialogs(), std::vector<std::string>{"DISSOLVESANSPARAM"});
    EXPECT_EQ(render_log.renders, 1);
    EXPECT_TRUE(render_log.area.top == 0 && render_log.area.left == 0 && render_log.area.bottom == 40 &&
                render_log.area.right == 70);
    EXPECT_EQ(render_log.render_mode, 0);
    EXPECT_EQ(render_log.scale_divisor, 1);
    EXPECT_EQ(render_log.input_rate, 0x10000);
    EXPECT_TRUE(painted(host.document()));
    EXPECT_EQ(host.handles().lock_count(host.parameters()), 0);
    EXPECT_EQ(host.handles().lock_count(reinterpret_cast<sdk::Handle>(host.data())), 0);
    EXPECT_EQ(settings_of(host).sun_radius, 38);  // the render's change was undone
    EXPECT_EQ(state_of(host).work_block, nullptr);  // Finish released the buffers
    EXPECT_EQ(state_of(host).show_dialog, 0);
}

TEST_F(PluginMainTest, StartKeepsTheWorkBuffersAndImagesUntilFinish) {
    Host host(patterned(300, 20, 8, ColourKind::rgb, false));
    host.options().relocate_unlocked_handles = true;
    host.begin_run();
    for (int16_t selector : {sdk::kFilterSelectorParameters, sdk::kFilterSelectorPrepare, sdk::kFilterSelectorStart})
        ASSERT_EQ(host.call(PluginMain, selector), 0);
    const PluginState& state = state_of(host);
    EXPECT_EQ(state.image_buffer_bytes, 256u * 20u * 16u);  // one tile of four floats
    for (void* buffer : state.image_buffers) EXPECT_NE(buffer, nullptr);
    ASSERT_NE(state.work_block, nullptr);
    ASSERT_NE(state.work_block->dot_thumbnail, nullptr);
    EXPECT_EQ(state.work_block->dot_thumbnail->levels[0].width, 100);
    ASSERT_NE(state.work_block->thumbnail, nullptr);
    EXPECT_EQ(state.work_block->thumbnail->levels[0].height, 128);
    EXPECT_EQ(get_pixel(*state.work_block->thumbnail, 5, 127, 0).red, 128.0f);  // the gradient at the foot
    EXPECT_GE(state.work_block->processor_count, 1);
    ASSERT_EQ(host.call(PluginMain, sdk::kFilterSelectorFinish), 0);
    EXPECT_EQ(state_of(host).work_block, nullptr);
    for (void* buffer : state_of(host).image_buffers) EXPECT_EQ(buffer, nullptr);
    host.end_run();
}

TEST_F(PluginMainTest, ARepeatWithoutParametersRunsWithoutTheDialog) {
    Host host(patterned(20, 10, 8, ColourKind::rgb, false));
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    host.document() = patterned(20, 10, 8, ColourKind::rgb, false);
    ASSERT_EQ(host.run_filter(PluginMain, false).result, 0);
    EXPECT_EQ(port.main_dialogs().size(), 1u);
    EXPECT_EQ(render_log.renders, 2);
    EXPECT_TRUE(painted(host.document()));

    // A fresh plug-in state wants the dialog even when Parameters did not run.
    Host fresh(patterned(20, 10, 8, ColourKind::rgb, false));
    ASSERT_EQ(fresh.run_filter(PluginMain, false).result, 0);
    EXPECT_EQ(port.main_dialogs().size(), 2u);
}

TEST_F(PluginMainTest, CancelReturnsUserCanceledAndLeavesTheImage) {
    port.answer_main_dialog_with(2);
    Host host(patterned(30, 30, 8, ColourKind::rgb, false));
    const Document before = host.document();
    const hosting::RunResult run = host.run_filter(PluginMain, true);
    EXPECT_EQ(run.result, sdk::kUserCanceledErr);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    EXPECT_EQ(render_log.renders, 0);
    EXPECT_EQ(host.document().pixels, before.pixels);
    EXPECT_EQ(state_of(host).work_block, nullptr);
}

TEST_F(PluginMainTest, AHostWithoutAdvanceStateIsRefusedWithTheMessage) {
    Host host(patterned(30, 30, 8, ColourKind::rgb, false));
    host.options().services.advance_state = false;
    const Document before = host.document();
    const hosting::RunResult run = host.run_filter(PluginMain, true);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    ASSERT_EQ(port.messages().size(), 1u);
    EXPECT_EQ(port.messages()[0].resource, "REFUSAL2");
    EXPECT_EQ(port.messages()[0].title, "Plug-in error");
    EXPECT_EQ(port.messages()[0].text, kRefusalText);
    EXPECT_EQ(port.messages()[0].owner, host.options().window);
    EXPECT_TRUE(port.main_dialogs().empty());
    EXPECT_EQ(render_log.renders, 0);
    EXPECT_EQ(host.document().pixels, before.pixels);
    EXPECT_EQ(state_of(host).work_block, nullptr);
}

TEST_F(PluginMainTest, ModesThatCannotBeFilteredAreRefusedWithTheModeMessage) {
    // Result 1 tells the host that the plug-in has shown its own message.
    const int16_t modes[] = {sdk::kModeBitmap,  sdk::kModeIndexedColor, sdk::kModeCMYKColor,  sdk::kModeHSLColor,
                             sdk::kModeHSBColor, sdk::kModeMultichannel, sdk::kModeDuotone,   sdk::kModeLabColor,
                             sdk::kModeLab48,    sdk::kModeCMYK64,       sdk::kModeDeepMultichannel,
                             sdk::kModeDuotone16};
    size_t shown = 0;
    for (const int16_t mode : modes) {
        Host host(patterned(30, 30, 8, ColourKind::rgb, false));
        host.options().image_mode = mode;
        const Document before = host.document();
        const hosting::RunResult run = host.run_filter(PluginMain, true);
        EXPECT_EQ(run.result, 1) << mode;
        ASSERT_EQ(port.messages().size(), ++shown) << mode;
        const ui::RecordingPort::Message& message = port.messages().back();
        EXPECT_EQ(message.resource, "MODEREFUSAL");
        EXPECT_EQ(message.title, "Plug-in error");
        EXPECT_EQ(message.text, "Corvanthe works on RGB and grayscale images at 8, 16 or 32 bits per channel.");
        EXPECT_EQ(message.owner, host.options().window);
        EXPECT_TRUE(port.main_dialogs().empty()) << mode;
        EXPECT_EQ(render_log.renders, 0) << mode;
        EXPECT_EQ(host.document().pixels, before.pixels) << mode;
        // A run that did nothing leaves no settings for the next one.
        EXPECT_FALSE(std::filesystem::exists(cached_settings_path())) << mode;
    }
    // An 8-bit mode whose depth field says 32 keeps working on floats (a 32-bit document).
    Host floats(patterned(30, 30, 32, ColourKind::rgb, false));
    floats.options().image_mode = sdk::kModeRGBColor;
    EXPECT_EQ(floats.run_filter(PluginMain, false).result, 0);
    EXPECT_EQ(floats.document().sample(29, 29, 0), 1.0);
    EXPECT_EQ(floats.document().sample(29, 29, 2), 0.5);
    EXPECT_EQ(port.messages().size(), shown);

    // The refused run's wish for the dialog ends with it: a repeat without Parameters is silent.
    Host repeated(patterned(30, 30, 8, ColourKind::rgb, false));
    const int renders = render_log.renders;
    const size_t dialogs = port.main_dialogs().size();
    repeated.options().image_mode = sdk::kModeLabColor;
    EXPECT_EQ(repeated.run_filter(PluginMain, true).result, 1);
    repeated.options().image_mode = sdk::kModeRGBColor;
    EXPECT_EQ(repeated.run_filter(PluginMain, false).result, 0);
    EXPECT_EQ(port.main_dialogs().size(), dialogs);
    EXPECT_EQ(render_log.renders, renders + 1);
}

TEST_F(PluginMainTest, KeptBlocksThatCannotBeHadGiveMemFull) {
    for (int fails_from : {1, 2}) {  // the parameters handle, then the data block
        Host host(patterned(8, 8, 8, ColourKind::rgb, false));
        host.options().failures.new_handle_fails_from = fails_from;
        const hosting::RunResult run = host.run_filter(PluginMain, true);
        EXPECT_EQ(run.result, sdk::kMemFullErr) << fails_from;
        EXPECT_EQ(run.selector, sdk::kFilterSelectorParameters);
    }
    Host locked_out(patterned(8, 8, 8, ColourKind::rgb, false));
    locked_out.options().failures.lock_fails = true;
    EXPECT_EQ(locked_out.run_filter(PluginMain, false).result, sdk::kMemFullErr);

    Host no_handles(patterned(8, 8, 8, ColourKind::rgb, false));
    no_handles.options().services.handle_procs = false;
    EXPECT_EQ(no_handles.run_filter(PluginMain, true).result, sdk::kMemFullErr);
    EXPECT_EQ(render_log.renders, 0);
}

TEST_F(PluginMainTest, AKeptSettingsBlockTooSmallForTheRecordIsReplaced) {
    Host host(patterned(8, 8, 8, ColourKind::rgb, false));
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    const sdk::Handle old_parameters = host.parameters();
    ASSERT_EQ(host.handles().resize(old_parameters, 16), 0);  // as an older build might have left it

    host.begin_run();  // Start alone does not touch it
    EXPECT_EQ(host.call(PluginMain, sdk::kFilterSelectorStart), sdk::kFilterBadParameters);
    host.end_run();
    EXPECT_EQ(host.handles().size(host.parameters()), 16);

    // Prepare replaces it: the short block is released, not left behind (its address may
    // come back for the new one, so the count of live blocks tells).
    const size_t live_before = host.handles().live_count();
    ASSERT_EQ(host.run_filter(PluginMain, false).result, 0);
    EXPECT_EQ(host.handles().live_count(), live_before);
    EXPECT_GE(host.handles().size(host.parameters()), int32_t(sizeof(SunSettings)));
    EXPECT_EQ(settings_of(host).sun_radius, 38);
}

TEST_F(PluginMainTest, StartOrFinishWithoutTheKeptBlocksGiveBadParameters) {
    Host host(patterned(8, 8, 8, ColourKind::rgb, false));
    host.begin_run();
    EXPECT_EQ(host.call(PluginMain, sdk::kFilterSelectorStart), sdk::kFilterBadParameters);
    EXPECT_EQ(host.call(PluginMain, sdk::kFilterSelectorFinish), sdk::kFilterBadParameters);
    host.end_run();
    EXPECT_EQ(render_log.renders, 0);
    EXPECT_EQ(host.new_handle_calls(), 0);
}

TEST_F(PluginMainTest, WorkBuffersThatCannotBeHadGiveMemFullAndEmptyRectangles) {
    // The first image buffer, the last one, and the work block after all four.
    for (int fails_from : {1, 4, 5}) {
        Host host(patterned(40, 30, 8, ColourKind::rgb, false));
        host.begin_run();
        ASSERT_EQ(host.call(PluginMain, sdk::kFilterSelectorParameters), 0);
        ASSERT_EQ(host.call(PluginMain, sdk::kFilterSelectorPrepare), 0);
        host.record().inRect = {1, 2, 3, 4};
        host.record().outRect = {1, 2, 3, 4};
        host.record().maskRect = {1, 2, 3, 4};
        allocations = 0;
        fail_allocation_from = fails_from;
        // No message of ours: the host reports the memory failure itself.
        EXPECT_EQ(host.call(PluginMain, sdk::kFilterSelectorStart), sdk::kMemFullErr) << fails_from;
        for (const sdk::VRect& r : {host.in_rect(), host.out_rect(), host.mask_rect()})
            EXPECT_TRUE(r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0);
        EXPECT_EQ(allocations, fails_from);  // nothing more was tried
        host.end_run();
        EXPECT_TRUE(port.main_dialogs().empty());
        EXPECT_TRUE(port.messages().empty());
        EXPECT_EQ(render_log.renders, 0);
        EXPECT_EQ(state_of(host).work_block, nullptr);
    }
}

TEST_F(PluginMainTest, ContinueEmptiesAllThreeRectanglesInEitherCoordinates) {
    for (auto coordinates : {hosting::Coordinates::small, hosting::Coordinates::big}) {
        Host host(patterned(8, 8, 8, ColourKind::rgb, false));
        host.options().coordinates = coordinates;
        host.begin_run();
        host.record().inRect = host.record().outRect = host.record().maskRect = {0, 0, 5, 5};
        if (host.record().bigDocumentData)
            host.record().bigDocumentData->inRect32 = host.record().bigDocumentData->outRect32 =
                host.record().bigDocumentData->maskRect32 = {0, 0, 5, 5};
        EXPECT_EQ(host.call(PluginMain, sdk::kFilterSelectorContinue), 0);
        for (const sdk::VRect& r : {host.in_rect(), host.out_rect(), host.mask_rect()})
            EXPECT_TRUE(r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0);
        host.end_run();
    }
}

TEST_F(PluginMainTest, AnAdvanceStateErrorEndsTheRunWithItsCode) {
    Host host(patterned(100, 40, 8, ColourKind::rgb, false));
    host.options().failures.advance_error_at = 2;
    host.options().failures.advance_error_code = -25;
    const hosting::RunResult run = host.run_filter(PluginMain, true);
    EXPECT_EQ(run.result, -25);
    EXPECT_EQ(run.selector, sdk::kFilterSelectorStart);
    EXPECT_EQ(host.advance_calls(), 2);  // the render stopped at the failing tile
    EXPECT_EQ(state_of(host).work_block, nullptr);  // no Finish follows: Start released them
}

TEST_F(PluginMainTest, PrepareNegotiatesMemoryAndResetsTheSettings) {
    Host host(patterned(600, 45, 8, ColourKind::rgb, false));
    host.begin_run();
    host.record().bufferSpace = 12345;
    unsigned char mask_row[600] = {};
    host.record().maskData = mask_row;  // mask data in hand counts as one more plane
    ASSERT_EQ(host.call(PluginMain, sdk::kFilterSelectorParameters), 0);
    auto& settings = const_cast<SunSettings&>(settings_of(host));
    settings.sun_radius = 3;
    settings.glue = 7;
    ASSERT_EQ(host.call(PluginMain, sdk::kFilterSelectorPrepare), 0);
    EXPECT_EQ(host.record().bufferSpace, 0);
    EXPECT_EQ(host.record().maxSpace, 2 * (3 + 1) * 256 * 45);  // width capped, the mask counted
    EXPECT_EQ(settings_of(host).sun_radius, 38);
    EXPECT_EQ(settings_of(host).glue, 1);
    EXPECT_EQ(settings_of(host).half_width, 300);
    EXPECT_EQ(settings_of(host).half_height, 22);
    EXPECT_STREQ(settings_of(host).settings_name, "Corvanthe settings");
    const sdk::VRect f = state_of(host).filter_rect;
    EXPECT_TRUE(f.top == 0 && f.left == 0 && f.bottom == 45 && f.right == 600);
    host.end_run();

    Host small(patterned(10, 10, 8, ColourKind::rgb, false));
    small.options().max_space = 100;
    small.begin_run();
    ASSERT_EQ(small.call(PluginMain, sdk::kFilterSelectorPrepare), 0);
    EXPECT_EQ(small.record().maxSpace, 100);  // never raised
    small.end_run();
}

TEST_F(PluginMainTest, DeepDocumentsInBigCoordinatesAreWrittenThroughTheHost) {
    Host host(patterned(50, 37, 16, ColourKind::grey, true));
    host.options().coordinates = hosting::Coordinates::big;
    ASSERT_EQ(host.run_filter(PluginMain, false).result, 0);
    EXPECT_TRUE(painted(host.document()));
    EXPECT_EQ(host.document().sample(49, 36, 1), 32768);  // alpha 1 into the transparency plane
}

TEST_F(PluginMainTest, MissingRecordsAndCellsAreNotTouched) {
    for (int16_t selector = -1; selector <= 6; ++selector) PluginMain(selector, nullptr, nullptr, nullptr);
    int16_t result = 77;
    PluginMain(sdk::kFilterSelectorStart, nullptr, nullptr, &result);
    EXPECT_EQ(result, 77);
    sdk::FilterRecord record{};
    PluginMain(sdk::kFilterSelectorParameters, &record, nullptr, &result);  // nowhere to keep the data block
    EXPECT_EQ(result, sdk::kMemFullErr);
    intptr_t data = 0;
    PluginMain(sdk::kFilterSelectorPrepare, &record, &data, &result);  // no handle procedures
    EXPECT_EQ(result, sdk::kMemFullErr);
    PluginMain(9, &record, &data, &result);  // an unknown selector does nothing
    EXPECT_EQ(result, sdk::kMemFullErr);
    EXPECT_EQ(port.messages().size(), 1u);  // only the About box of the loop above
}

TEST_F(PluginMainTest, AStoreIsFilledWithTheFilteredAreaTileByTile) {
    Document doc = patterned(620, 50, 8, ColourKind::rgb, false);
    doc.filter_rect = {5, 10, 45, 610};
    Host host(doc);
    LayerStore* store = create_store(nullptr, 600, 40, PixelKind::rgba8);
    ASSERT_NE(store, nullptr);
    copy_target = store;
    set_render_proc(copying_render);
    ASSERT_EQ(host.run_filter(PluginMain, false).result, 0);
    EXPECT_TRUE(copy_complete);
    EXPECT_EQ(offset_after_copy, 0);
    EXPECT_EQ(host.advance_calls(), 2);  // two tiles across, one down
    for (auto [x, y] : {std::pair{0, 0}, {511, 39}, {512, 0}, {599, 39}, {300, 20}}) {
        const PixelValue p = get_pixel(*store, x, y, 0);
        EXPECT_EQ(p.red, doc.sample(x + 10, y + 5, 0)) << x << "," << y;
        EXPECT_EQ(p.green, doc.sample(x + 10, y + 5, 1)) << x << "," << y;
        EXPECT_EQ(p.blue, doc.sample(x + 10, y + 5, 2)) << x << "," << y;
        EXPECT_EQ(p.alpha, 255.0f);
    }

    host.options().failures.advance_error_at = 2;
    host.options().failures.advance_error_code = -25;
    EXPECT_EQ(host.run_filter(PluginMain, false).result, -25);
    EXPECT_FALSE(copy_complete);
    free_store(store);
}

TEST_F(PluginMainTest, AboutShowsTheBoxAndTouchesNoBlock) {
    Host host(patterned(8, 8, 8, ColourKind::rgb, false));
    EXPECT_EQ(host.about(PluginMain), 0);
    ASSERT_EQ(port.messages().size(), 1u);
    EXPECT_EQ(port.messages()[0].resource, "ABOUTBOX");
    EXPECT_EQ(port.messages()[0].owner, host.options().window);
    EXPECT_EQ(host.new_handle_calls(), 0);
    EXPECT_EQ(host.parameters(), nullptr);
}

}  // namespace corvanthe
