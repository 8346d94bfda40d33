// The icon buttons' faces (24 × 24) and the style list's icons (16 × 16): ink outlines of one
// weight over warm fills, each drawing what its button does.
#include "drawings.h"
#include "motifs.h"
#include "shapes.h"

namespace corvanthe::pictures {
namespace {

using namespace palette;

constexpr double kStroke = 1.5;  // outline weight of every icon
const Rgba kLeaf = hex(0x7FA33A);
const Rgba kLeafDark = hex(0x4F6E22);

template <class Shape, class Colour>
void filled(Layer& layer, Shape shape, Colour colour) {
    layer.paint(shape, colour);
    layer.paint(outline(shape, kStroke), solid(kInk));
}

auto arrow_head(Vec tip, Vec back_left, Vec back_right) { return polygon({tip, back_left, back_right}); }

// A magnifying glass over a cream lens, with `plus` or minus inside.
ui::RgbaImage magnifier(int32_t scale, bool plus) {
    Layer layer(24, 24, scale);
    layer.paint(segment({14.5, 14.5}, {20.5, 20.5}, 3.6), solid(kInk));
    filled(layer, circle(10, 10, 6.8), radial(8, 8, 8, kWhite, kPeach));
    layer.paint(segment({7, 10}, {13, 10}, 2), solid(kEmber));
    if (plus)
        layer.paint(segment({10, 7}, {10, 13}, 2), solid(kEmber));
    return layer.image();
}

}  // namespace

// Two suns laid over each other, and an arrow to the next way of laying them.
ui::RgbaImage icon_glue_step(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, circle(8.5, 10, 6), solid(kAmber));
    layer.paint(circle(15.5, 10, 6), solid(with_alpha(kDusk, 0.75)));
    layer.paint(outline(circle(15.5, 10, 6), kStroke), solid(kInk));
    layer.paint(segment({5, 20.5}, {16, 20.5}, 1.8), solid(kInk));
    layer.paint(arrow_head({21, 20.5}, {15.5, 17}, {15.5, 24}), solid(kInk));
    return layer.image();
}

// An opened folder.
ui::RgbaImage icon_load(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, unite(box(2.5, 6.5, 10, 10, 1), box(2.5, 8, 19.5, 19.5, 1)), solid(kSand));
    filled(layer, polygon({{6, 11.5}, {22.5, 11.5}, {18.5, 19.5}, {2.5, 19.5}}), linear(0, 11, kGold, 0, 20, kAmber));
    return layer.image();
}

// A diskette.
ui::RgbaImage icon_save(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, box(3.5, 3.5, 20.5, 20.5, 2), solid(kDusk));
    layer.paint(box(7.5, 4, 16.5, 9.5, 0.5), solid(kPeach));
    layer.paint(box(13, 5, 15, 8.5), solid(kDusk));
    filled(layer, box(6.5, 12.5, 17.5, 20.5, 1), solid(kCream));
    layer.paint(segment({9, 15.5}, {15, 15.5}, 1), solid(kInkSoft));
    layer.paint(segment({9, 17.8}, {15, 17.8}, 1), solid(kInkSoft));
    return layer.image();
}

// A die showing five.
ui::RgbaImage icon_dice(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, box(3.5, 3.5, 20.5, 20.5, 3.5), linear(4, 4, kWhite, 20, 20, kPeach));
    for (Vec pip : {Vec{8, 8}, Vec{16, 8}, Vec{12, 12}, Vec{8, 16}, Vec{16, 16}})
        layer.paint(circle(pip.x, pip.y, 1.9), solid(kEmber));
    return layer.image();
}

// A seedling coming up: a new seed.
ui::RgbaImage icon_new_seed(int32_t scale) {
    Layer layer(24, 24, scale);
    layer.paint(segment({12, 19}, {12, 10}, 2), solid(kLeafDark));
    auto left_leaf = intersect(circle(12.5, 15, 7), circle(5.5, 7, 7));
    auto right_leaf = intersect(circle(11.5, 12, 6.5), circle(18.5, 5, 6.5));
    filled(layer, left_leaf, solid(kLeaf));
    filled(layer, right_leaf, solid(kLeaf));
    filled(layer, box(3.5, 18.5, 20.5, 22.5, 2), solid(hex(0xA0643C)));
    sun_rays(layer, 19.5, 4.5, 2.5, 4.5, 6, 1.2, kAmber);
    layer.paint(circle(19.5, 4.5, 1.8), solid(kGold));
    return layer.image();
}

// A curved arrow turning back to the left.
ui::RgbaImage icon_undo(int32_t scale) {
    Layer layer(24, 24, scale);
    auto arc = cut(ring(13, 13.5, 6.5, 2.6), box(0, 13.5, 13, 24));
    layer.paint(arc, solid(kInk));
    layer.paint(arrow_head({6.5, 20}, {1.5, 13}, {11.5, 13}), solid(kEmber));
    layer.paint(outline(arrow_head({6.5, 20}, {1.5, 13}, {11.5, 13}), 1.2), solid(kInk));
    return layer.image();
}

// A plain sun with an arrow going almost all the way round it, clockwise: back to the start.
ui::RgbaImage icon_reset(int32_t scale) {
    Layer layer(24, 24, scale);
    sun_disc(layer, 12, 12.5, 3.8, kStroke);
    auto arc = cut(ring(12, 12.5, 8, 2.2), polygon({{12, 12.5}, {12, -4}, {25, 3}}));
    layer.paint(arc, solid(kInk));
    layer.paint(arrow_head({17, 4.5}, {11.5, 0.5}, {11.5, 8.5}), solid(kInk));
    return layer.image();
}

ui::RgbaImage icon_zoom_in(int32_t scale) { return magnifier(scale, true); }
ui::RgbaImage icon_zoom_out(int32_t scale) { return magnifier(scale, false); }

// The "i" of information.
ui::RgbaImage icon_info(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, circle(12, 12, 9), radial(9, 8, 13, hex(0x9A6A98), kDusk));
    layer.paint(circle(12, 7.5, 1.7), solid(kWhite));
    layer.paint(box(10.9, 10.5, 13.1, 17.5, 0.5), solid(kWhite));
    return layer.image();
}

// A web page of thumbnails: the presets' page.
ui::RgbaImage icon_presets_page(int32_t scale) {
    Layer layer(24, 24, scale);
    filled(layer, polygon({{4.5, 2.5}, {15, 2.5}, {19.5, 7}, {19.5, 21.5}, {4.5, 21.5}}), solid(kWhite));
    filled(layer, polygon({{15, 2.5}, {15, 7}, {19.5, 7}}), solid(kSand));
    for (Vec corner : {Vec{7, 9}, Vec{12.5, 9}, Vec{7, 15}, Vec{12.5, 15}}) {
        auto tile = box(corner.x, corner.y, corner.x + 4.5, corner.y + 4.5, 0.5);
        layer.paint(tile, linear(0, corner.y, kDusk, 0, corner.y + 4.5, kAmber));
        layer.paint(circle(corner.x + 2.25, corner.y + 2.6, 1.1), solid(kGold));
    }
    return layer.image();
}

ui::RgbaImage icon_style_normal(int32_t scale) {
    Layer layer(16, 16, scale);
    sun_rays(layer, 8, 8, 4.5, 7.8, 8, 2.6, kEmber);
    sun_disc(layer, 8, 8, 4.5, 1);
    return layer.image();
}

ui::RgbaImage icon_style_flat(int32_t scale) {
    Layer layer(16, 16, scale);
    layer.paint(circle(8, 8, 7.5), solid(with_alpha(kGold, 0.35)));
    layer.paint(circle(8, 8, 5.5), solid(kAmber));
    layer.paint(ring(8, 8, 5.5, 1), solid(kInk));
    return layer.image();
}

ui::RgbaImage icon_style_eclipse(int32_t scale) {
    Layer layer(16, 16, scale);
    layer.paint(circle(8, 8, 7.9), radial(8, 8, 8, kAmber, with_alpha(kAmber, 0.2)));
    layer.paint(ring(8, 8, 5.6, 1.6), solid(kGold));
    layer.paint(circle(8, 8, 5), radial(7, 7, 6, kDusk, kNight));
    return layer.image();
}

}  // namespace corvanthe::pictures
