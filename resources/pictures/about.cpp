// The About box's pictures, its icon in the dialog, and the Info box's card.
#include <string>

#include "drawings.h"
#include "motifs.h"
#include "platform/product.h"
#include "ui/canvas/label_font.h"
#include "shapes.h"

namespace corvanthe::pictures {
namespace {

using namespace palette;

void emblem(Layer& layer, double cx, double cy, double radius) {
    sun_rays(layer, cx, cy, radius * 1.05, radius * 1.75, 12, radius * 0.55, kEmber);
    sun_rays(layer, cx, cy, radius * 1.05, radius * 1.45, 12, radius * 0.4, kAmber, 0.5);
    sun_disc(layer, cx, cy, radius, std::max(1.0, radius / 8));
}

}  // namespace

ui::RgbaImage about_icon(int32_t scale) {
    Layer layer(48, 48, scale);
    emblem(layer, 24, 24, 12.5);
    return layer.image();
}

// An evening sky with the sun on the horizon, the program's name and its version.
ui::RgbaImage about_banner(int32_t scale) {
    Layer layer(320, 110, scale);
    layer.paint(box(0, 0, 320, 110), linear(0, 0, kNight, 0, 96, hex(0xE8875A)));
    layer.paint(circle(250, 92, 80), radial(250, 92, 80, with_alpha(kGold, 0.45), with_alpha(kGold, 0)));
    sun_rays(layer, 250, 92, 30, 62, 16, 10, with_alpha(kGold, 0.45));
    sun_disc(layer, 250, 92, 28, 0);
    layer.paint(box(0, 92, 320, 110), linear(0, 92, hex(0x5A3450), 0, 110, kNight));
    layer.paint(box(0, 92, 320, 93), solid(with_alpha(kGold, 0.7)));
    layer.text(20, 22, product::kName, kCream, 2);
    layer.text(22, 50, std::string("Version ") + CORVANTHE_VERSION, kPeach);
    layer.text(22, 64, "Draws fantasy suns", with_alpha(kPeach, 0.85));
    return layer.image();
}

// The three kinds of sun side by side, named.
ui::RgbaImage about_suns(int32_t scale) {
    Layer layer(320, 76, scale);
    layer.paint(box(0, 0, 320, 76), solid(kWhite));
    sun_rays(layer, 60, 30, 14, 25, 12, 6, kEmber);
    sun_disc(layer, 60, 30, 14, 1.5);
    layer.paint(circle(160, 30, 22), solid(with_alpha(kGold, 0.3)));
    layer.paint(circle(160, 30, 15), solid(kAmber));
    layer.paint(circle(260, 30, 25), radial(260, 30, 25, kGold, with_alpha(kAmber, 0)));
    layer.paint(ring(260, 30, 16.5, 3), solid(kGold));
    layer.paint(circle(260, 30, 15), radial(255, 25, 18, kDusk, kNight));
    const char* names[] = {"normal", "flat", "eclipse"};
    for (int i = 0; i < 3; ++i) {
        double width = ui::label_text_width(names[i]);
        layer.text(60 + 100 * i - width / 2, 60, names[i], kInk);
    }
    return layer.image();
}

ui::RgbaImage about_maker(int32_t scale) {
    Layer layer(320, 40, scale);
    layer.paint(box(0, 0, 320, 40), solid(kWhite));
    // A candle flame: tallow.
    auto flame = [](double cx, double bottom, double radius, double height) {
        return unite(circle(cx, bottom - radius, radius),
                     polygon({{cx - radius * 0.93, bottom - radius * 1.35}, {cx + radius * 0.93, bottom - radius * 1.35},
                              {cx, bottom - height}}));
    };
    layer.paint(flame(22, 35, 7, 31), linear(0, 4, kEmber, 0, 35, kAmber));
    layer.paint(flame(22, 34, 4, 20), solid(kGold));
    layer.text(44, 8, std::string("Made by ") + product::kMaker, kInk);
    layer.text(44, 22, product::kWebAddress, kInkSoft);
    return layer.image();
}

ui::RgbaImage info_card(int32_t scale) {
    Layer layer(460, 300, scale);
    layer.paint(box(0, 0, 460, 300), linear(0, 0, kCream, 0, 300, kPeach));
    emblem(layer, 34, 30, 10);
    layer.text(62, 14, product::kName, kInk, 2);
    layer.text(64, 38, "What the mouse does", kInkSoft);
    struct Line {
        const char* left;
        const char* right;
    };
    constexpr Line kLines[] = {
        {"Preview, click", "the sun's centre goes where you click"},
        {"Preview, drag", "look round an enlarged preview"},
        {"Slider, drag", "set the value; the preview follows when you let go"},
        {"Pad, drag", "point flares or spikes; with Ctrl, straight at you"},
        {"Empty dot, click", "keep these settings in it, also for the next run"},
        {"Empty dot, Ctrl+click", "keep them for this run only"},
        {"Filled dot, click", "bring its settings back"},
        {"Filled dot, right click", "empty it"},
        {"Filled dot, Ctrl+click", "forget it when the run ends"},
        {"Dot panel, click", "the last dot touched again"},
        {"Dot panel, right click", "a web page of all the dots"},
        {"Dot panel, Ctrl+click", "refresh a folder of presets"},
        {"Dice / Ecce", "a random sun / the same sun from a new seed"},
    };
    double y = 64;
    for (const Line& line : kLines) {
        layer.text(20, y, line.left, kInk);
        layer.text(150, y, line.right, kInkSoft);
        y += 17;
    }
    layer.paint(box(20, 60, 440, 61), solid(with_alpha(kAmber, 0.6)));
    return layer.image();
}

}  // namespace corvanthe::pictures
