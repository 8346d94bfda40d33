// The opened dialog painted by the software canvas, written as a PNG under the build folder
// for a person to look at: every control the dialog draws shows in its place, and the preview
// shows the sun on the document.
#include <gtest/gtest.h>

#include <filesystem>

#include "glue/sun_run.h"
#include "host/plugin_main.h"
#include "hosting/host.h"
#include "ui/canvas/png_writer.h"
#include "ui/canvas/software_canvas.h"
#include "ui/control_table.h"
#include "ui/custom_controls.h"
#include "ui/recording_port.h"

namespace corvanthe {
namespace {

ui::RgbaImage blank(const ui::DialogLayout& layout) {
    return {layout.width, layout.height, std::vector<uint8_t>(size_t(layout.width) * layout.height * 4, 0)};
}

bool differs_inside(const ui::RgbaImage& a, const ui::RgbaImage& b, const ui::Rect& r) {
    for (int32_t y = std::max(0, r.top); y < std::min(a.height, r.bottom); ++y)
        for (int32_t x = std::max(0, r.left); x < std::min(a.width, r.right); ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t at = (size_t(y) * a.width + x) * 4 + c;
                if (a.pixels[at] != b.pixels[at]) return true;
            }
    return false;
}

TEST(DialogPicture, TheOpenedDialogShowsEveryDrawnControlAndTheSun) {
    hosting::Host host(testing::test_picture({640, 400}));
    host.options().services.display_pixels = false;  // as on Linux: the plug-in draws the preview
    ui::RecordingPort port;
    ui::RgbaImage dialog_picture, background;
    std::vector<ui::ControlSpec> controls;
    port.script_main_dialog([&](ui::DialogSession& d) {
        dialog_picture = blank(d.layout());
        background = blank(d.layout());
        ui::SoftwareCanvas canvas(dialog_picture);
        d.paint(canvas);
        ui::SoftwareCanvas bare(background);
        ui::paint_background(bare, {0, 0, d.layout().width, d.layout().height});
        controls = d.layout().controls;
        d.click(ui::id::kCancel);
    });
    host.run_filter(PluginMain, true);

    const std::filesystem::path folder = CORVANTHE_PICTURE_FOLDER;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(ui::write_png(dialog_picture, (folder / "main_dialog.png").string()));

    ASSERT_FALSE(controls.empty());
    for (const ui::ControlSpec& c : controls) {
        if (c.widget != ui::Widget::Drawn && c.widget != ui::Widget::DrawnButton) continue;
        if (c.id == ui::id::kStatus) continue;  // empty until a settings name is set
        EXPECT_TRUE(differs_inside(dialog_picture, background, c.place)) << "control " << c.id << " is not drawn";
    }
    // The preview: the 640 x 400 document at divisor 2 (320 x 200) centred in the frame, the sun
    // at its middle brighter than the document there.
    const int32_t cx = 422 + 518 / 2, cy = 1 + 373 / 2;
    const uint8_t* centre = &dialog_picture.pixels[(size_t(cy) * dialog_picture.width + cx) * 4];
    const uint8_t* outside = &dialog_picture.pixels[(size_t(5) * dialog_picture.width + 430) * 4];
    EXPECT_EQ(outside[0] + outside[1] + outside[2], 3 * 255) << "white around the picture";
    EXPECT_NE(centre[0] + centre[1] + centre[2], 3 * 255) << "the preview's picture";
}

}  // namespace
}  // namespace corvanthe
