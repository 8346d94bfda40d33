// The sliders' tracks and knob, and the direction pad with its marker. Tracks and the pad face
// are opaque: drawing them again wipes out the knob or the pointer drawn before.
#include "drawings.h"
#include "motifs.h"
#include "shapes.h"

namespace corvanthe::pictures {
namespace {

using namespace palette;

// A light well of the control's size with a rounded groove along the knob's path (the knob's
// middle runs from 7 to 143) and ticks at the quarters, the groove coloured from `low` to `high`.
ui::RgbaImage slider_track(int32_t scale, const Rgba& low, const Rgba& middle, const Rgba& high) {
    Layer layer(150, 16, scale);
    layer.paint(box(0, 0, 150, 16), solid(kCream));
    layer.paint(outline(box(0.5, 0.5, 149.5, 15.5), 1), solid(hex(0xE6CDAE)));
    auto groove = box(5, 6, 145, 10, 2);
    auto ramp = [=](double x, double) {
        double t = (x - 5) / 140;
        return t < 0.5 ? mix(low, middle, t * 2) : mix(middle, high, t * 2 - 1);
    };
    layer.paint(groove, ramp);
    layer.paint(outline(groove, 1), solid(with_alpha(kInk, 0.55)));
    for (int quarter = 0; quarter <= 4; ++quarter) {
        double x = 7.5 + (quarter * 135) / 4;
        layer.paint(segment({x, 12.5}, {x, 13.5}, 1), solid(with_alpha(kInkSoft, 0.6)));
    }
    return layer.image();
}

}  // namespace

ui::RgbaImage slider_track_warm(int32_t scale) {
    return slider_track(scale, hex(0xFFF0D2), kGold, kEmber);
}

ui::RgbaImage slider_track_light(int32_t scale) {
    return slider_track(scale, kNight, kDusk, kGold);
}

ui::RgbaImage slider_knob(int32_t scale) {
    Layer layer(12, 14, scale);
    auto body = box(0.5, 0.5, 11.5, 13.5, 3);
    layer.paint(body, linear(0, 0, kCream, 0, 14, kAmber));
    layer.paint(outline(body, 1), solid(kInk));
    for (double x : {4.5, 7.5})
        layer.paint(segment({x, 4.5}, {x, 9.5}, 1), solid(with_alpha(kInk, 0.55)));
    return layer.image();
}

// A lit half-sphere seen from the front, the pointer's circle of 33 around (42, 41), with rings
// where the direction leans 30 and 60 degrees from the viewer.
ui::RgbaImage pad_face(int32_t scale) {
    Layer layer(85, 83, scale);
    layer.paint(box(0, 0, 85, 83), solid(kCream));
    layer.paint(outline(box(0.5, 0.5, 84.5, 82.5), 1), solid(hex(0xE6CDAE)));
    const double cx = 42.5;
    const double cy = 41.5;
    auto shade = [=](double x, double y) {
        double t = length(x - (cx - 12), y - (cy - 12)) / 50;
        return mix(hex(0xFFF6DC), hex(0xF4C98E), t);
    };
    layer.paint(circle(cx, cy, 35), shade);
    layer.paint(ring(cx, cy, 35, 1), solid(with_alpha(kInk, 0.6)));
    for (double radius : {16.5, 28.6})
        layer.paint(ring(cx, cy, radius, 1), solid(with_alpha(kInkSoft, 0.25)));
    layer.paint(segment({cx, cy - 34}, {cx, cy + 34}, 1), solid(with_alpha(kInkSoft, 0.2)));
    layer.paint(segment({cx - 34, cy}, {cx + 34, cy}, 1), solid(with_alpha(kInkSoft, 0.2)));
    layer.paint(circle(cx, cy, 1.5), solid(with_alpha(kInkSoft, 0.5)));
    return layer.image();
}

ui::RgbaImage pad_marker(int32_t scale) {
    Layer layer(5, 5, scale);
    layer.paint(circle(2.5, 2.5, 2.5), solid(kInk));
    layer.paint(circle(2.5, 2.5, 1.4), solid(kGold));
    return layer.image();
}

}  // namespace corvanthe::pictures
