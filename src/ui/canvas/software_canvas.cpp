#include "ui/canvas/software_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "ui/canvas/label_font.h"

namespace corvanthe::ui {
namespace {

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

Rect whole(const RgbaImage& image) { return Rect{0, 0, image.width, image.height}; }

// Whether the image holds the bytes its size promises (a record filled by hand may not).
bool well_formed(const RgbaImage& image) {
    return image.width >= 0 && image.height >= 0 &&
           image.pixels.size() == static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
}

// Straight-alpha "over": the source with alpha `a` on a destination with its own alpha, in
// integers so every platform gets the same bytes.
void blend(uint8_t* dst, const uint8_t* src) {
    uint32_t a = src[3];
    if (a == 0)
        return;
    if (a == 255) {
        std::copy(src, src + 4, dst);
        return;
    }
    uint32_t source_weight = a * 255u;
    uint32_t dest_weight = dst[3] * (255u - a);
    uint32_t total = source_weight + dest_weight;
    for (int c = 0; c < 3; ++c)
        dst[c] = static_cast<uint8_t>((src[c] * source_weight + dst[c] * dest_weight + total / 2) / total);
    dst[3] = static_cast<uint8_t>((total + 127) / 255);
}

}  // namespace

SoftwareCanvas::SoftwareCanvas(RgbaImage& target) : target_(target) {
    if (!well_formed(target_)) {
        target_.width = std::max(target_.width, 0);
        target_.height = std::max(target_.height, 0);
        target_.pixels.resize(static_cast<size_t>(target_.width) * static_cast<size_t>(target_.height) * 4);
    }
    clip_ = whole(target_);
}

uint8_t* SoftwareCanvas::pixel(int32_t x, int32_t y) {
    return target_.pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(target_.width) + static_cast<size_t>(x)) * 4;
}

void SoftwareCanvas::put(int32_t x, int32_t y, Colour colour) {
    if (!visible(x, y))
        return;
    uint8_t* p = pixel(x, y);
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
    p[3] = 255;
}

void SoftwareCanvas::fill(const Rect& area, Colour colour) {
    Rect r = intersect(area, clip_);
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            put(x, y, colour);
}

// Bresenham's walk from `from` toward `to`, leaving out `to` itself.
void SoftwareCanvas::line(Point from, Point to, Colour colour) {
    int64_t dx = std::llabs(static_cast<int64_t>(to.x) - from.x);
    int64_t dy = -std::llabs(static_cast<int64_t>(to.y) - from.y);
    int32_t step_x = from.x < to.x ? 1 : -1;
    int32_t step_y = from.y < to.y ? 1 : -1;
    int64_t error = dx + dy;
    int32_t x = from.x;
    int32_t y = from.y;
    while (x != to.x || y != to.y) {
        put(x, y, colour);
        int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += step_x;
        }
        if (twice <= dx) {
            error += dx;
            y += step_y;
        }
    }
}

void SoftwareCanvas::image(Point top_left, const RgbaImage& picture) {
    if (!well_formed(picture))
        return;
    Rect placed{top_left.x, top_left.y, top_left.x + picture.width, top_left.y + picture.height};
    Rect r = intersect(placed, clip_);
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint8_t* src = picture.pixels.data() +
                             (static_cast<size_t>(y - top_left.y) * static_cast<size_t>(picture.width) +
                              static_cast<size_t>(r.left - top_left.x)) * 4;
        for (int32_t x = r.left; x < r.right; ++x, src += 4)
            blend(pixel(x, y), src);
    }
}

void SoftwareCanvas::text(Point top_left, std::string_view utf8, Colour colour) {
    int32_t left = top_left.x;
    for (size_t pos = 0; pos < utf8.size();) {
        const LabelGlyph& glyph = label_glyph(next_code_point(utf8, pos));
        for (int32_t row = 0; row < kLabelFontHeight; ++row)
            for (int32_t column = 0; column < 16; ++column)
                if ((glyph.rows[row] >> column) & 1u)
                    put(left + column, top_left.y + row, colour);
        left += glyph.advance;
    }
}

int32_t SoftwareCanvas::text_width(std::string_view utf8) { return label_text_width(utf8); }

// Every other pixel of the outline inverted, as the system's focus rectangle does: drawing the
// same rectangle twice takes it away again.
void SoftwareCanvas::focus_rect(const Rect& area) {
    if (area.width() <= 0 || area.height() <= 0)
        return;
    auto invert = [&](int32_t x, int32_t y) {
        if (((x + y) & 1) != 0 || !visible(x, y))
            return;
        uint8_t* p = pixel(x, y);
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<uint8_t>(255 - p[c]);
    };
    for (int32_t x = area.left; x < area.right; ++x) {
        invert(x, area.top);
        if (area.bottom - 1 != area.top)
            invert(x, area.bottom - 1);
    }
    for (int32_t y = area.top + 1; y < area.bottom - 1; ++y) {
        invert(area.left, y);
        if (area.right - 1 != area.left)
            invert(area.right - 1, y);
    }
}

void SoftwareCanvas::clip(const Rect& area) { clip_ = intersect(area, whole(target_)); }

void SoftwareCanvas::unclip() { clip_ = whole(target_); }

}  // namespace corvanthe::ui
