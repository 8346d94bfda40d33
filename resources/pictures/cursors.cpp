// The two cursors over the preview: white with a black edge (or black with a white edge), so
// they show on any picture.
#include "drawings.h"
#include "paint.h"
#include "shapes.h"

namespace corvanthe::pictures {

// An open hand, for panning; its hot spot is in the palm.
ui::RgbaImage cursor_hand(int32_t scale) {
    using namespace palette;
    Layer layer(32, 32, scale);
    auto palm = box(8.5, 13, 22.5, 26.5, 4.5);
    auto fingers = unite(unite(segment({10.5, 15}, {10.5, 7.5}, 3.2), segment({14, 14}, {14, 4.5}, 3.2)),
                         unite(segment({17.5, 14}, {17.5, 5}, 3.2), segment({21, 15}, {21, 8.5}, 3.2)));
    auto thumb = segment({10, 22}, {4.5, 15.5}, 3.4);
    auto hand = unite(unite(palm, fingers), thumb);
    layer.paint([=](double x, double y) { return hand(x, y) - 1; }, solid(kBlack));
    layer.paint(hand, solid(kWhite));
    // The lines between the fingers.
    for (double x : {12.25, 15.75, 19.25})
        layer.paint(segment({x, 10}, {x, 15}, 0.8), solid(kBlack));
    return layer.image();
}

// A target: a ring and four ticks with a gap in the middle; its hot spot is the middle pixel.
ui::RgbaImage cursor_target(int32_t scale) {
    using namespace palette;
    Layer layer(32, 32, scale);
    const double c = 16.5;  // the middle of pixel 16
    auto ticks = unite(unite(segment({c, 2}, {c, 11}, 1), segment({c, 22}, {c, 31}, 1)),
                       unite(segment({2, c}, {11, c}, 1), segment({22, c}, {31, c}, 1)));
    auto mark = unite(unite(ticks, ring(c, c, 7, 1)), circle(c, c, 0.75));
    layer.paint([=](double x, double y) { return mark(x, y) - 1; }, solid(kWhite));
    layer.paint(mark, solid(kBlack));
    return layer.image();
}

}  // namespace corvanthe::pictures
