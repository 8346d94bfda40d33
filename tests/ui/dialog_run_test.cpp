// Whole dialog runs through PluginMain with the in-process host and the recording port: what
// the user does in the dialog ends in the settings record, the undo and dot files, the cached
// settings file and the document; Cancel leaves everything as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

#include "glue/sun_run.h"
#include "host/host_context.h"
#include "host/plugin_main.h"
#include "hosting/host.h"
#include "settings/memory_dots.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"
#include "ui/control_table.h"
#include "ui/recording_port.h"

namespace corvanthe {
namespace {

using hosting::Document;
using ui::DialogSession;
using ui::Point;

const SunSettings& settings_of(hosting::Host& host) {
    return *reinterpret_cast<const SunSettings*>(host.handles().bytes(host.parameters()).data());
}

SunSettings& live_settings() { return *host_context().settings; }

// The mouse x at which a slider drag gives `value` (the drag reads x - 4 against the track).
Point slider_point(DialogSession& d, int32_t slider, int32_t value) {
    const ui::Rect r = d.place(slider);
    return {r.left + 5 + (value * (r.width() - 14) + 99) / 100, r.top + 8};
}

Point centre_of(const ui::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

SunSettings read_file(const std::string& path) {
    SunSettings s{};
    initialise(s);
    EXPECT_EQ(read_settings_file(path, SettingsReadMode::Load, s, nullptr).error, 0) << path;
    return s;
}

constexpr int32_t kWidth = 240, kHeight = 160;

Document picture() { return testing::test_picture({kWidth, kHeight}); }

TEST(DialogRun, EditsUndoDotsAndTheCentreEndInTheRecordTheFilesAndTheRender) {
    const Document source = picture();
    hosting::Host host(source);
    ui::RecordingPort port;
    int16_t seed_before_dice = -1;
    port.script_main_dialog([&](DialogSession& d) {
        using namespace ui::id;
        // Two slider drags: sun radius to 50, halo radius past its right end.
        const Point from = centre_of(d.place(37));
        d.drag(from, slider_point(d, 37, 50));
        EXPECT_EQ(d.text(86), "50");
        d.drag(centre_of(d.place(55)), {d.place(55).right + 20, d.place(55).top + 4});
        EXPECT_EQ(d.text(90), "100");
        // Typing: nothing renders until the timer fires.
        d.type(85, "40");
        EXPECT_TRUE(d.timer_running());
        EXPECT_EQ(live_settings().sun_cold_hot, 0);
        d.fire_timer();
        EXPECT_EQ(live_settings().sun_cold_hot, 40);
        // Dice, then Undo brings back the settings before it.
        seed_before_dice = static_cast<int16_t>(live_settings().random_seed);
        d.click(kDice);
        EXPECT_STREQ(live_settings().settings_name, "random settings");
        d.click(kUndo);
        EXPECT_EQ(live_settings().sun_radius, 50);
        EXPECT_EQ(live_settings().halo_radius, 100);
        EXPECT_EQ(live_settings().sun_cold_hot, 40);
        EXPECT_EQ(live_settings().random_seed, seed_before_dice);
        EXPECT_EQ(d.text(86), "50");
        // Store into the first dot, change the radius, recall the dot.
        const Point dot = centre_of(d.place(kFirstDot));
        d.press(dot);
        d.release(dot);
        d.drag(centre_of(d.place(37)), slider_point(d, 37, 90));
        EXPECT_EQ(live_settings().sun_radius, 90);
        d.press(dot);
        d.release(dot);
        EXPECT_EQ(live_settings().sun_radius, 50);
        EXPECT_STREQ(live_settings().settings_name, "dot 1");
        EXPECT_EQ(d.text(86), "50");
        // The whole picture fits (divisor 1) and sits centred in the frame: a click places the
        // centre at once, a quarter into the image on each axis.
        const ui::Rect frame = {422, 1, 940, 374};
        const Point origin = {frame.left + (frame.width() - kWidth) / 2, frame.top + (frame.height() - kHeight) / 2};
        d.press({origin.x + kWidth / 4, origin.y + kHeight / 4});
        d.release({origin.x + kWidth / 4, origin.y + kHeight / 4});
        d.click(kOk);
        EXPECT_EQ(d.end_code(), ui::kDialogOk);
    });
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);

    const SunSettings final_settings = settings_of(host);
    EXPECT_EQ(final_settings.sun_radius, 50);
    EXPECT_EQ(final_settings.halo_radius, 100);
    EXPECT_EQ(final_settings.sun_cold_hot, 40);
    EXPECT_FLOAT_EQ(final_settings.x_center, 0.25f);
    EXPECT_FLOAT_EQ(final_settings.y_center, 0.25f);
    EXPECT_STREQ(final_settings.settings_name, "dot 1");

    // The dot keeps what was stored, and is kept for the next run.
    const SunSettings dot = read_file(memory_dot_path(0));
    EXPECT_EQ(dot.sun_radius, 50);
    EXPECT_EQ(dot.halo_radius, 100);
    EXPECT_EQ(dot.sun_cold_hot, 40);
    MemoryDots map{};
    load_dot_map(map);
    EXPECT_EQ(map.map[0], 1);
    EXPECT_EQ(map.map[1], 0);
    // The recall of a filled dot wrote an undo file with the state before it (radius 90).
    const SunSettings undo0 = read_file(undo_path(0)), undo1 = read_file(undo_path(1));
    EXPECT_TRUE(undo0.sun_radius == 90 || undo1.sun_radius == 90);
    // The cached settings are the confirmed ones.
    const SunSettings cached = read_file(cached_settings_path());
    EXPECT_EQ(cached.sun_radius, 50);
    EXPECT_EQ(cached.halo_radius, 100);
    EXPECT_EQ(cached.sun_cold_hot, 40);
    EXPECT_FLOAT_EQ(cached.x_center, 0.25f);

    // A run without the dialog takes the cached settings and must draw the same document.
    hosting::Host silent(source);
    {
        ui::RecordingPort answers_at_once;
        ASSERT_EQ(silent.run_filter(PluginMain, true).result, 0);
        ASSERT_EQ(answers_at_once.main_dialogs().size(), 1u);
    }
    EXPECT_NE(testing::document_hash(host.document()), testing::document_hash(source));
    EXPECT_EQ(testing::document_hash(host.document()), testing::document_hash(silent.document()));
}

TEST(DialogRun, CancelRestoresTheOpeningSettingsAndLeavesTheDocument) {
    const Document source = picture();
    hosting::Host host(source);
    ui::RecordingPort port;
    SunSettings opened{};
    port.script_main_dialog([&](DialogSession& d) {
        opened = live_settings();
        d.drag(centre_of(d.place(37)), slider_point(d, 37, 77));
        EXPECT_EQ(live_settings().sun_radius, 77);
        d.click(ui::id::kDice);
        d.click(ui::id::kCancel);
        EXPECT_EQ(d.end_code(), ui::kDialogCancel);
    });
    const hosting::RunResult run = host.run_filter(PluginMain, true);
    EXPECT_EQ(run.result, sdk::kUserCanceledErr);
    EXPECT_EQ(settings_of(host).sun_radius, opened.sun_radius);
    EXPECT_EQ(settings_of(host).random_seed, opened.random_seed);
    EXPECT_STREQ(settings_of(host).settings_name, opened.settings_name);
    EXPECT_EQ(testing::document_hash(host.document()), testing::document_hash(source));
}

std::string text_of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool reported(const hosting::Host& host, int32_t done, int32_t total) {
    for (const hosting::ProgressCall& call : host.progress_calls())
        if (call.done == done && call.total == total) return true;
    return false;
}

// The dots page (right click on the dot panel) and the presets page, written through the
// host while the dialog waits, with progress through the host's progress procedure.
TEST(DialogRun, ThePagesAreWrittenWithTheHostsProgressAndOpened) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("corvanthe-pages-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "presets");
    SunSettings preset{};
    initialise(preset);
    ASSERT_EQ(write_settings_file((folder / "presets" / "amber.q4q").string(), preset, nullptr), 0);

    hosting::Host host(picture());
    ui::RecordingPort port;
    port.file_answers = {(folder / "dots.html").string(), (folder / "presets" / "amber.q4q").string(),
                         (folder / "presets.html").string(), (folder / "presets" / "saved.q4q").string(),
                         (folder / "presets" / "saved.q4q").string()};
    port.script_main_dialog([&](DialogSession& d) {
        const Point dot = centre_of(d.place(ui::id::kFirstDot + 4));
        d.press(dot);
        d.release(dot);
        const Point panel = centre_of(d.place(ui::id::kDotPanel));
        d.press(panel, ui::MouseButton::Right);
        d.release(panel, ui::MouseButton::Right);
        d.click(ui::id::kPresetsPage);
        // Save writes the preset with the preview's thumbnail; Load's chooser shows it.
        d.click(ui::id::kSave);
        d.click(ui::id::kLoad);
        EXPECT_STREQ(live_settings().settings_name, "saved.q4q");
        d.click(ui::id::kCancel);
    });
    EXPECT_EQ(host.run_filter(PluginMain, true).result, sdk::kUserCanceledErr);
    ASSERT_EQ(port.file_choosers().size(), 5u);
    EXPECT_EQ(port.file_choosers()[3].title, "Save a settings file");
    EXPECT_EQ(port.file_choosers()[3].suggested_name.substr(port.file_choosers()[3].suggested_name.size() - 4), ".q4q");
    EXPECT_EQ(settings_file_layout((folder / "presets" / "saved.q4q").string()).thumbnail.kind, 1);
    ASSERT_EQ(port.chooser_thumbnails().size(), 1u);
    EXPECT_GT(port.chooser_thumbnails()[0].width, 0);
    EXPECT_EQ(port.file_choosers()[0].suggested_name, "Corvanthe memory dots.html");
    EXPECT_EQ(port.file_choosers()[1].title, "Choose any file in the source folder");
    EXPECT_EQ(port.file_choosers()[2].suggested_name, "Corvanthe presets.html");
    EXPECT_NE(text_of(folder / "dots.html").find("dot 5"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "web_images" / "dot 5.jpg"));
    EXPECT_NE(text_of(folder / "presets.html").find("amber"), std::string::npos);
    EXPECT_TRUE(reported(host, 4, 25));
    EXPECT_TRUE(reported(host, 25, 25));
    EXPECT_TRUE(reported(host, 0, 1));
    EXPECT_TRUE(reported(host, 1, 1));
    const std::vector<std::string> opened = {(folder / "dots.html").string(), (folder / "presets.html").string()};
    EXPECT_EQ(port.opened_with_desktop(), opened);
    fs::remove_all(folder);
}

TEST(DialogRun, AnExceptionInsideTheRunBecomesMemoryFullAtPluginMain) {
    const Document source = picture();
    hosting::Host host(source);
    ui::RecordingPort port;
    port.script_main_dialog([](DialogSession&) { throw std::runtime_error("a toolkit failed"); });
    EXPECT_EQ(host.run_filter(PluginMain, true).result, sdk::kMemFullErr);
    EXPECT_EQ(host.handles().lock_count(host.parameters()), 0);
    EXPECT_EQ(testing::document_hash(host.document()), testing::document_hash(source));
}

}  // namespace
}  // namespace corvanthe
