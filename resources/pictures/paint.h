#pragma once
// The small painting kit the pictures are drawn with: shapes given by their signed distance
// (negative inside, in picture units), covered with anti-aliasing from the distance at each pixel
// centre, and coloured by a plain colour or a gradient. A layer holds premultiplied colour in
// doubles and draws at a whole-number scale, so every picture is written once in 96-dpi units and
// can be made at twice the size. Only + - * / and sqrt touch the numbers (sines come from the
// platform's portable maths), so every machine gets the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace corvanthe::pictures {

// Straight colour with opacity, each 0..1.
struct Rgba {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 0;
};

// 0xRRGGBB with an opacity.
Rgba hex(uint32_t rgb, double alpha = 1.0);
// The colour a fraction t of the way from `from` to `to` (t clamped to 0..1).
Rgba mix(const Rgba& from, const Rgba& to, double t);
Rgba with_alpha(Rgba colour, double alpha);

// The warm evening palette every picture is drawn in.
namespace palette {
inline const Rgba kInk = hex(0x4A2A1C);        // outlines and strokes: dark umber
inline const Rgba kInkSoft = hex(0x7A5040);    // secondary strokes
inline const Rgba kCream = hex(0xFFF8EC);      // lightest face
inline const Rgba kPeach = hex(0xFBE3C6);      // light face
inline const Rgba kSand = hex(0xEFCFA8);       // mid face, grooves
inline const Rgba kGold = hex(0xFFC94A);       // sun light
inline const Rgba kAmber = hex(0xF59A2E);      // sun body
inline const Rgba kEmber = hex(0xD9552B);      // sun edge, accents
inline const Rgba kDusk = hex(0x7B4A7A);       // evening violet
inline const Rgba kNight = hex(0x3B2B4F);      // deep violet
inline const Rgba kWhite = hex(0xFFFFFF);
inline const Rgba kBlack = hex(0x000000);
}  // namespace palette

struct Layer {
    int32_t width = 0;   // in pixels
    int32_t height = 0;
    int32_t scale = 1;   // pixels per picture unit
    std::vector<Rgba> pixels;  // premultiplied

    // A transparent layer of `width` × `height` units at the scale.
    Layer(int32_t unit_width, int32_t unit_height, int32_t scale);

    // Paints colour(x, y) over the layer where distance(x, y) < 0 (x, y in units), with the
    // pixels at the edge covered in part; `left`..`bottom` (units) bound the work.
    template <class Distance, class Colour>
    void paint(Distance distance, Colour colour, double left, double top, double right, double bottom);
    template <class Distance, class Colour>
    void paint(Distance distance, Colour colour) {
        paint(distance, colour, 0, 0, width, height);
    }
    // Paints `colour` over every pixel by its own coverage `amount(x, y)` (0..1).
    template <class Amount>
    void wash(Amount amount, const Rgba& colour);

    void blend(int32_t px, int32_t py, const Rgba& colour, double coverage);

    // Text in the dialog's label font with its top-left at (x, y) units; at scale 2 and above
    // the letters are smoothed rather than blocky. `size` 2 draws the letters twice as large.
    void text(double x, double y, std::string_view utf8, const Rgba& colour, int32_t size = 1);

    // Straight 8-bit RGBA.
    ui::RgbaImage image() const;
};

// How much of a pixel a shape covers from the distance of its centre to the edge, in pixels.
inline double coverage(double distance_in_pixels) {
    return std::clamp(0.5 - distance_in_pixels, 0.0, 1.0);
}

template <class Distance, class Colour>
void Layer::paint(Distance distance, Colour colour, double left, double top, double right, double bottom) {
    int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(left * scale)) - 1);
    int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(top * scale)) - 1);
    int32_t x1 = std::min(width, static_cast<int32_t>(std::ceil(right * scale)) + 1);
    int32_t y1 = std::min(height, static_cast<int32_t>(std::ceil(bottom * scale)) + 1);
    for (int32_t py = y0; py < y1; ++py)
        for (int32_t px = x0; px < x1; ++px) {
            double x = (px + 0.5) / scale;
            double y = (py + 0.5) / scale;
            double covered = coverage(distance(x, y) * scale);
            if (covered > 0)
                blend(px, py, colour(x, y), covered);
        }
}

template <class Amount>
void Layer::wash(Amount amount, const Rgba& colour) {
    for (int32_t py = 0; py < height; ++py)
        for (int32_t px = 0; px < width; ++px) {
            double covered = amount((px + 0.5) / scale, (py + 0.5) / scale);
            if (covered > 0)
                blend(px, py, colour, std::min(covered, 1.0));
        }
}

// Colours for Layer::paint.
inline auto solid(const Rgba& colour) {
    return [colour](double, double) { return colour; };
}
// From `from` at (x0, y0) to `to` at (x1, y1), constant across.
inline auto linear(double x0, double y0, const Rgba& from, double x1, double y1, const Rgba& to) {
    double dx = x1 - x0;
    double dy = y1 - y0;
    double length2 = dx * dx + dy * dy;
    return [=](double x, double y) { return mix(from, to, ((x - x0) * dx + (y - y0) * dy) / length2); };
}
// From `inner` at the centre to `outer` at `radius`.
inline auto radial(double cx, double cy, double radius, const Rgba& inner, const Rgba& outer) {
    return [=](double x, double y) {
        return mix(inner, outer, std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / radius);
    };
}

}  // namespace corvanthe::pictures
