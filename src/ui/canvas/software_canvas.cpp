#include "ui/canvas/software_canvas.h"

#include <algorithm>
#include <cstdint>
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

// One pixel per step along the longer axis, from `from` up to but not including `to`; at step i
// the other axis has moved i × minor / major rounded to the nearest pixel (halves toward `to`), as
// Bresenham's walk does. Only the steps inside the clip along the longer axis are visited, so a
// line reaching far beyond the surface costs no more than one across it.
void SoftwareCanvas::line(Point from, Point to, Colour colour) {
    int64_t dx = static_cast<int64_t>(to.x) - from.x;
    int64_t dy = static_cast<int64_t>(to.y) - from.y;
    bool along_x = std::llabs(dx) >= std::llabs(dy);
    int64_t major = along_x ? std::llabs(dx) : std::llabs(dy);
    if (major == 0)
        return;
    uint64_t minor = static_cast<uint64_t>(along_x ? std::llabs(dy) : std::llabs(dx));
    int64_t major_step = (along_x ? dx : dy) > 0 ? 1 : -1;
    int64_t minor_step = (along_x ? dy : dx) > 0 ? 1 : -1;
    int64_t major_start = along_x ? from.x : from.y;
    int64_t minor_start = along_x ? from.y : from.x;
    int64_t low = along_x ? clip_.left : clip_.top;
    int64_t high = along_x ? clip_.right : clip_.bottom;
    // The steps whose coordinate on the longer axis lies in [low, high).
    int64_t first = major_step > 0 ? low - major_start : major_start - high + 1;
    int64_t end = major_step > 0 ? high - major_start : major_start - low + 1;
    first = std::max<int64_t>(first, 0);
    end = std::min(end, major);
    for (int64_t i = first; i < end; ++i) {
        // i × minor < 2^64: both are below 2^32.
        uint64_t product = static_cast<uint64_t>(i) * minor;
        uint64_t quotient = product / static_cast<uint64_t>(major);
        uint64_t remainder = product % static_cast<uint64_t>(major);
        int64_t moved = static_cast<int64_t>(quotient + (2 * remainder >= static_cast<uint64_t>(major) ? 1 : 0));
        int64_t along = major_start + i * major_step;
        int64_t across = minor_start + moved * minor_step;
        if (across < INT32_MIN || across > INT32_MAX)
            continue;
        if (along_x)
            put(static_cast<int32_t>(along), static_cast<int32_t>(across), colour);
        else
            put(static_cast<int32_t>(across), static_cast<int32_t>(along), colour);
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
