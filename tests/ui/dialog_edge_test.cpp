// The dialog logic's edge cases, driven through the recording port over in-memory services.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "settings/settings_file.h"
#include "ui/control_table.h"
#include "ui/custom_controls.h"
#include "ui/main_dialog.h"
#include "ui/number_text.h"
#include "ui/memory_services.h"
#include "ui/recording_port.h"

namespace corvanthe {
namespace {

using ui::DialogSession;
using ui::Point;
namespace id = ui::id;

Point centre_of(const ui::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Runs the dialog with the script; returns the end code.
int run(ui::RecordingPort& port, ui::MainDialog& dialog, const ui::RecordingPort::Script& script) {
    port.script_main_dialog(script);
    return port.run_main_dialog(nullptr, dialog);
}

TEST(DialogEdges, NumberFieldsSlidersPadsAndButtons) {
    testing::MemoryServices services(1000, 300);
    services.settings().sun_colour = {0x12AB, 0x3400, 0x5600};
    services.settings().glue = 19;
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    port.colour_answers.push_back(0x123456);
    const int end = run(port, dialog, [&](DialogSession& d) {
        SunSettings& s = services.settings();
        // Typing clamps into the slider at once and into the field when read back.
        d.type(86, "250");
        EXPECT_EQ(dialog.value(37), 100);
        EXPECT_EQ(d.text(86), "250");
        d.fire_timer();
        EXPECT_EQ(d.text(86), "100");
        EXPECT_EQ(s.sun_radius, 100);
        d.type(86, "50.7");
        d.fire_timer();
        EXPECT_EQ(s.sun_radius, 50);
        EXPECT_EQ(d.text(86), "50.7");
        d.type(86, "sun");
        d.fire_timer();
        EXPECT_EQ(s.sun_radius, 0);

        // Slider drags: the minimum at left + 5, the maximum at right - 9 and beyond.
        const ui::Rect slider = d.place(55);
        d.drag(centre_of(slider), {slider.left + 5, slider.top + 8});
        EXPECT_EQ(s.halo_radius, 0);
        EXPECT_EQ(d.text(90), "0");
        d.drag(centre_of(slider), {slider.left + 6 + 1, slider.top + 8});
        EXPECT_EQ(s.halo_radius, 1);
        d.drag(centre_of(slider), {slider.right - 9, slider.top + 8});
        EXPECT_EQ(s.halo_radius, 100);
        d.drag(centre_of(slider), {slider.left + 5, slider.top + 8});
        d.drag(centre_of(slider), {slider.right + 40, slider.top + 8});
        EXPECT_EQ(s.halo_radius, 100);
        EXPECT_FALSE(d.timer_running());  // the logic's own writes never schedule a preview
        // The knob: at left + 1 for 0, its right edge 2 pixels inside the track for 100.
        EXPECT_EQ(ui::knob_left(slider, 0, 0, 100), slider.left + 1);
        EXPECT_EQ(ui::knob_left(slider, 100, 0, 100) + 12, slider.right - 2);

        // A pad dragged with Ctrl, or to its centre, points at the viewer.
        const ui::Rect pad = d.place(id::kFlarePad);
        d.drag({pad.left + 10, pad.top + 10}, {pad.left + 70, pad.top + 20}, true);
        EXPECT_EQ(s.flare_x, 0.0f);
        EXPECT_EQ(s.flare_y, 0.0f);
        EXPECT_EQ(s.flare_z, 1.0f);
        d.drag({pad.left + 10, pad.top + 10}, {pad.left + 83, pad.top + 41});  // 40 pixels right
        EXPECT_FLOAT_EQ(s.flare_x, 1.0f);
        EXPECT_EQ(s.flare_z, 0.0f);
        d.drag({pad.left + 10, pad.top + 10}, {pad.left + 43, pad.top + 41});
        EXPECT_EQ(s.flare_x, 0.0f);
        EXPECT_EQ(s.flare_z, 1.0f);

        // The glue step wraps; Ecce's seed stays in 0..2047.
        d.click(id::kGlueStep);
        EXPECT_EQ(s.glue, 1);
        EXPECT_EQ(d.selection(id::kGlue), 0);
        for (int i = 0; i < 64; ++i) {
            d.click(id::kEcce);
            ASSERT_GE(s.random_seed, 0);
            ASSERT_LE(s.random_seed, 2047);
        }
        EXPECT_STREQ(s.settings_name, "random settings");

        // The colour chooser sees the high bytes and stores whole 8-bit values back.
        d.click(id::kSunColour);
        ASSERT_EQ(port.colour_requests().size(), 1u);
        EXPECT_EQ(port.colour_requests()[0].prompt, "Choose the sun color.");
        EXPECT_EQ(port.colour_requests()[0].offered, 0x123456u);
        EXPECT_EQ(s.sun_colour.red, 0x1200);
        EXPECT_EQ(s.sun_colour.green, 0x3400);

        // A second file chooser while one is up is refused.
        port.on_file_chooser = [&] { d.click(id::kLoad); };
        d.click(id::kLoad);
        EXPECT_EQ(port.file_choosers().size(), 1u);
        EXPECT_EQ(port.file_choosers()[0].title, "Open a settings file");

        // OK with the timer pending takes the typed value without a preview.
        const int renders = services.counting_preview().renders;
        d.type(88, "61");
        EXPECT_TRUE(d.timer_running());
        d.click(id::kOk);
        EXPECT_EQ(s.sun_swirl_count, 61);
        EXPECT_EQ(services.counting_preview().renders, renders);
    });
    EXPECT_EQ(end, ui::kDialogOk);
    EXPECT_EQ(services.result(), 0);
}

TEST(DialogEdges, MemoryDotClicks) {
    testing::MemoryServices services(64, 64);
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    run(port, dialog, [&](DialogSession& d) {
        MemoryDots& dots = services.dots();
        const auto click = [&](int32_t dot, ui::MouseButton button, bool ctrl) {
            d.press(centre_of(d.place(dot)), button, ctrl);
            d.release(centre_of(d.place(dot)), button);
        };
        click(id::kFirstDot + 2, ui::MouseButton::Left, true);  // Ctrl on an empty dot
        EXPECT_EQ(dots.display[2], kDotCurrent);
        EXPECT_EQ(dots.map[2], 0);
        click(id::kFirstDot + 3, ui::MouseButton::Right, false);  // right on an empty dot
        EXPECT_EQ(dots.display[3], kDotCurrent);
        EXPECT_EQ(dots.display[2], kDotFilled);
        EXPECT_EQ(dots.map[3], 1);
        click(id::kFirstDot + 3, ui::MouseButton::Right, false);  // right on a filled dot clears it
        EXPECT_EQ(dots.display[3], kDotEmpty);
        EXPECT_EQ(dots.map[3], 0);
        d.click(id::kOk);
    });
}

TEST(DialogEdges, PreviewFitZoomAndCentre) {
    testing::MemoryServices services(1000, 300);
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    run(port, dialog, [&](DialogSession& d) {
        const ui::PreviewView& view = dialog.view();
        EXPECT_EQ(view.frame().width(), 518);
        EXPECT_EQ(view.frame().height(), 373);
        EXPECT_EQ(view.fit(), 2);
        EXPECT_EQ(d.text(id::kZoom100), "50%");
        EXPECT_FALSE(d.enabled(id::kZoomOut));
        // A click at the image's top-left corner at the fit places the centre there.
        const Point origin = view.picture_origin(500, 150);
        d.press(origin);
        d.release(origin);
        EXPECT_EQ(services.settings().x_center, 0.0f);
        EXPECT_EQ(services.settings().y_center, 0.0f);
        // At 100 % a drag pans; zooming out to the fit shows everything again.
        d.click(id::kZoom100);
        EXPECT_EQ(view.divisor(), 1);
        EXPECT_EQ(d.text(id::kZoom100), "100%");
        const Point middle = centre_of(view.frame());
        d.press(middle);
        d.move({middle.x - 100, middle.y});
        d.release({middle.x - 100, middle.y});
        EXPECT_GT(view.offset().x, 0);
        EXPECT_GT(services.counting_preview().plain_reads, 0);
        d.click(id::kZoomOut);
        EXPECT_EQ(view.divisor(), 2);
        EXPECT_EQ(view.offset().x, 0);
        EXPECT_EQ(view.offset().y, 0);
        d.click(id::kOk);
    });
}

TEST(DialogEdges, FloatDocumentsHideTheGlueAndAFailedFirstPreviewSwitchesItOff) {
    testing::MemoryServices services(100, 100);
    services.floating_point = true;
    services.counting_preview().fail_with = -128;
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    run(port, dialog, [&](DialogSession& d) {
        EXPECT_FALSE(d.visible(id::kGlue));
        EXPECT_FALSE(d.visible(id::kGlueLabel));
        EXPECT_FALSE(d.visible(id::kGlueStep));
        EXPECT_TRUE(d.visible(id::kStyle));
        EXPECT_FALSE(dialog.preview_on());
        EXPECT_EQ(services.result(), 0);
        d.click(id::kCancel);
    });
    EXPECT_EQ(services.result(), -128);
}


// Nothing escapes the dialog's event entry: the dialog ends as cancelled, out of memory.
TEST(DialogEdges, AnExceptionInsideAnEventEndsTheDialogAsCancelled) {
    testing::MemoryServices services(64, 64);
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    const int32_t opened_radius = services.settings().sun_radius;
    const int end = run(port, dialog, [&](DialogSession& d) {
        d.type(86, "77");
        d.fire_timer();
        EXPECT_EQ(services.settings().sun_radius, 77);
        services.undo_throws = true;
        d.click(id::kDice);
        EXPECT_EQ(d.end_code(), ui::kDialogCancel);
    });
    EXPECT_EQ(end, ui::kDialogCancel);
    EXPECT_EQ(services.result(), -108);
    EXPECT_EQ(services.settings().sun_radius, opened_radius);
}

// Number fields read and write with a point whatever the user's locale says.
TEST(DialogEdges, NumberFieldsIgnoreACommaLocale) {
    setenv("LOCPATH", CORVANTHE_LOCALE_FOLDER, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the build makes this locale";
    char shown[16];
    std::snprintf(shown, sizeof shown, "%g", 50.7);
    EXPECT_STREQ(shown, "50,7");  // the locale is in force

    testing::MemoryServices services(64, 64);
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    port.script_main_dialog([&](DialogSession& d) {
        d.type(86, "50.7");
        d.fire_timer();
        EXPECT_EQ(services.settings().sun_radius, 50);
        d.type(86, "1e2");
        d.fire_timer();
        EXPECT_EQ(services.settings().sun_radius, 100);
        d.click(id::kOk);
    });
    port.run_main_dialog(nullptr, dialog);
    EXPECT_EQ(ui::format_number(50.7), "50.7");
    EXPECT_EQ(ui::format_number(100), "100");
    EXPECT_EQ(ui::format_number(0.000012345678), "1.23457e-05");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace corvanthe

namespace corvanthe {
namespace {

// Ctrl+click on the dot panel: every old or refreshed preset of a folder is loaded, rendered
// and saved again in the current format, old ones renamed; the settings come back afterwards.
TEST(DialogEdges, PresetFolderRefresh) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("corvanthe-refresh-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const auto preset = [&](const char* name, int32_t radius) {
        SunSettings s{};
        initialise(s);
        s.sun_radius = radius;
        EXPECT_EQ(write_settings_file((folder / name).string(), s, nullptr), kFileOk);
    };
    preset("old.Q9Q", 11);
    preset("kept.q5q", 22);
    preset("other.q4q", 33);
    preset("locked.q5q", 44);
    fs::permissions(folder / "locked.q5q", fs::perms::owner_read | fs::perms::group_read);
    const auto locked_before = fs::last_write_time(folder / "locked.q5q");

    testing::MemoryServices services(64, 64);
    services.settings().sun_radius = 66;
    ui::RecordingPort port;
    ui::MainDialog dialog(services, port);
    port.file_answers.push_back((folder / "kept.q5q").string());
    run(port, dialog, [&](DialogSession& d) {
        const int renders = services.counting_preview().renders;
        const Point panel = centre_of(d.place(id::kDotPanel));
        d.press(panel, ui::MouseButton::Left, true);
        d.release(panel);
        EXPECT_EQ(port.file_choosers().back().title, "Choose any file in the source folder");
        // the release, the two presets, then the settings again
        EXPECT_EQ(services.counting_preview().renders - renders, 4);
        EXPECT_EQ(services.settings().sun_radius, 66);
        EXPECT_EQ(d.text(86), "66");
        d.click(id::kOk);
    });
    EXPECT_FALSE(fs::exists(folder / "old.Q9Q"));
    ASSERT_TRUE(fs::exists(folder / "old.q5q"));
    EXPECT_EQ(settings_file_layout((folder / "old.q5q").string()).version, kSettingsFileVersion);
    SunSettings reread{};
    initialise(reread);
    read_settings_file((folder / "old.q5q").string(), SettingsReadMode::Load, reread, nullptr);
    EXPECT_EQ(reread.sun_radius, 11);
    EXPECT_TRUE(fs::exists(folder / "other.q4q"));
    EXPECT_EQ(fs::last_write_time(folder / "locked.q5q"), locked_before);
    const std::vector<std::pair<int32_t, int32_t>> progress = {{0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(services.progress_calls, progress);
    fs::permissions(folder / "locked.q5q", fs::perms::owner_all);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace corvanthe
