// The memory dots: an opaque tile each (a new face covers the old one), holding an empty socket
// or a small sun. A dot kept for the next run has a firm ink rim, one kept for this run only a
// ring of dots around it; the current dot shines with rays; a pressed dot sinks into its tile.
#include "drawings.h"
#include "motifs.h"
#include "shapes.h"

namespace corvanthe::pictures {
namespace {

using namespace palette;

enum class Fill { Empty, Kept, Unkept };

ui::RgbaImage dot_face(int32_t scale, Fill fill, bool current, bool pressed) {
    Layer layer(32, 32, scale);
    layer.paint(box(0, 0, 32, 32), solid(pressed ? kPeach : kCream));
    layer.paint(outline(box(0.5, 0.5, 31.5, 31.5), 1), solid(hex(0xE6CDAE)));
    if (pressed) {
        // The tile's upper and left inner edges in shade: it is pushed in.
        layer.paint(segment({1.5, 1.5}, {30.5, 1.5}, 1), solid(with_alpha(kInkSoft, 0.45)));
        layer.paint(segment({1.5, 1.5}, {1.5, 30.5}, 1), solid(with_alpha(kInkSoft, 0.45)));
    }
    const double shift = pressed ? 1 : 0;
    const double cx = 16 + shift;
    const double cy = 16 + shift;
    if (current)
        sun_rays(layer, cx, cy, 9, 14.5, 12, 3.2, with_alpha(kEmber, 0.85), 0.5);
    switch (fill) {
        case Fill::Empty:
            layer.paint(circle(cx, cy, 8.5), radial(cx + 2, cy + 2, 10, kCream, kSand));
            layer.paint(ring(cx, cy, 8.5, 1), solid(with_alpha(kInkSoft, 0.55)));
            break;
        case Fill::Kept:
            sun_disc(layer, cx, cy, 8.5, 1.4);
            break;
        case Fill::Unkept:
            sun_disc(layer, cx, cy, 8, 0);
            dotted_circle(layer, cx, cy, 10, 16, 0.9, kInk);
            break;
    }
    if (fill != Fill::Empty)
        layer.paint(circle(cx - 3, cy - 3, 2), solid(with_alpha(kWhite, 0.6)));
    return layer.image();
}

}  // namespace

ui::RgbaImage dot_empty(int32_t scale) { return dot_face(scale, Fill::Empty, false, false); }
ui::RgbaImage dot_empty_pressed(int32_t scale) { return dot_face(scale, Fill::Empty, false, true); }
ui::RgbaImage dot_kept(int32_t scale) { return dot_face(scale, Fill::Kept, false, false); }
ui::RgbaImage dot_kept_pressed(int32_t scale) { return dot_face(scale, Fill::Kept, false, true); }
ui::RgbaImage dot_unkept(int32_t scale) { return dot_face(scale, Fill::Unkept, false, false); }
ui::RgbaImage dot_unkept_pressed(int32_t scale) { return dot_face(scale, Fill::Unkept, false, true); }
ui::RgbaImage dot_current_kept(int32_t scale) { return dot_face(scale, Fill::Kept, true, false); }
ui::RgbaImage dot_current_kept_pressed(int32_t scale) { return dot_face(scale, Fill::Kept, true, true); }
ui::RgbaImage dot_current_unkept(int32_t scale) { return dot_face(scale, Fill::Unkept, true, false); }
ui::RgbaImage dot_current_unkept_pressed(int32_t scale) { return dot_face(scale, Fill::Unkept, true, true); }

// A raised frame 4 pixels wide round the thumbnail's square (4..92), which shows a faint sun
// while no dot has been touched.
ui::RgbaImage dot_panel_frame(int32_t scale) {
    Layer layer(96, 96, scale);
    layer.paint(box(0, 0, 96, 96), linear(0, 0, kPeach, 96, 96, kSand));
    layer.paint(outline(box(0.5, 0.5, 95.5, 95.5), 1), solid(with_alpha(kInk, 0.6)));
    layer.paint(segment({1.5, 1.5}, {94.5, 1.5}, 1), solid(with_alpha(kWhite, 0.8)));
    layer.paint(segment({1.5, 1.5}, {1.5, 94.5}, 1), solid(with_alpha(kWhite, 0.8)));
    layer.paint(box(4, 4, 92, 92), solid(kCream));
    layer.paint(outline(box(3.5, 3.5, 92.5, 92.5), 1), solid(with_alpha(kInkSoft, 0.7)));
    sun_rays(layer, 48, 48, 20, 36, 16, 6, with_alpha(kAmber, 0.16));
    layer.paint(circle(48, 48, 17), solid(with_alpha(kAmber, 0.16)));
    return layer.image();
}

}  // namespace corvanthe::pictures
