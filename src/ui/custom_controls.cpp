#include "ui/custom_controls.h"

#include <algorithm>
#include <cmath>

#include "ui/pictures.h"

namespace corvanthe::ui {
namespace {

void draw_picture(Canvas& canvas, PictureKind kind, int32_t number, Point at) {
    if (const Picture* picture = find_picture(kind, number)) canvas.image(at, picture->image);
}

constexpr int32_t kBackground = 239;
constexpr int32_t kKnob = 120;
constexpr int32_t kPadFace = 156;
constexpr int32_t kPadMarker = 122;
constexpr int32_t kDotPanelFrame = 217;
constexpr int32_t kThumbnailInset = 4;
constexpr int32_t kThumbnailSide = 88;

}  // namespace

int32_t knob_left(const Rect& slider, int32_t value, int32_t minimum, int32_t maximum) {
    const int32_t range = std::max(1, maximum - minimum);
    return slider.left + 1 + (value - minimum) * (slider.width() - 15) / range;
}

int32_t slider_value_at(const Rect& slider, int32_t mouse_x, int32_t minimum, int32_t maximum) {
    const int32_t range = std::max(1, maximum - minimum);
    const int32_t x = mouse_x - 4;
    const int32_t span = std::max(1, slider.width() - 14);
    return std::clamp((x - slider.left - 1) * range / span + minimum, minimum, maximum);
}

Direction pad_direction(const Rect& pad, Point mouse, bool ctrl) {
    const double dx = mouse.x - pad.left - 43;
    const double dy = mouse.y - pad.top - 41;
    const double g = std::max(33.0, std::sqrt(dx * dx + dy * dy));
    double x = ctrl ? 0.0 : dx / g;
    double y = ctrl ? 0.0 : dy / g;
    double z = std::sqrt(std::max(0.0, 1.0 - x * x - y * y));
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length > 0.0) {
        x /= length;
        y /= length;
        z /= length;
    }
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

void paint_background(Canvas& canvas, const Rect& area) {
    canvas.clip(area);
    canvas.fill(area, kWhite);
    draw_picture(canvas, PictureKind::Bitmap, kBackground, {0, 0});
    canvas.unclip();
}

void paint_label_text(Canvas& canvas, const Rect& area, Align align, std::string_view text, int32_t shift,
                      Colour colour) {
    if (text.empty()) return;
    Rect r = area;
    r.bottom -= 2;
    r.top += shift + (r.height() - 14) / 2;
    const int32_t free_width = r.width() - canvas.text_width(text);
    if (align == Align::Right) r.left += free_width;
    if (align == Align::Centre) r.left += free_width / 2;
    canvas.text({r.left, r.top}, text, colour);
}

void paint_bevel(Canvas& canvas, const Rect& r, Colour top_left, Colour bottom_right) {
    canvas.line({r.left, r.bottom - 1}, {r.left, r.top}, top_left);
    canvas.line({r.left, r.top}, {r.right, r.top}, top_left);
    canvas.line({r.right - 1, r.top + 1}, {r.right - 1, r.bottom}, bottom_right);
    canvas.line({r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, bottom_right);
}

void paint_slider(Canvas& canvas, const Rect& place, int32_t track, int32_t value, int32_t minimum, int32_t maximum,
                  bool shown) {
    const Picture* track_picture = track ? find_picture(PictureKind::Bitmap, track) : nullptr;
    if (track_picture && shown) {
        canvas.image({place.left, place.top}, track_picture->image);
    } else {
        Rect flat = {place.left, place.top + (place.height() - 11) / 2, place.right - 2, 0};
        flat.bottom = flat.top + 11;
        canvas.fill(flat, shown ? 0xFFDEDE : 0xDEDEDE);
        if (shown) {
            paint_bevel(canvas, flat, kWhite, kWhite);
            paint_bevel(canvas, {flat.left + 1, flat.top + 1, flat.right - 1, flat.bottom - 1}, kDimmedColour, kWhite);
        } else {
            paint_bevel(canvas, flat, kDimmedColour, kWhite);
        }
    }
    if (shown) draw_picture(canvas, PictureKind::Bitmap, kKnob, {knob_left(place, value, minimum, maximum), place.top + 1});
}

void paint_pad(Canvas& canvas, const Rect& place, const Direction& d, bool shown) {
    if (!shown) return;
    draw_picture(canvas, PictureKind::Bitmap, kPadFace, {place.left, place.top});
    const Point tip = {place.left + 42 + static_cast<int32_t>(33 * d.x), place.top + 41 + static_cast<int32_t>(33 * d.y)};
    canvas.line({place.left + 41, place.top + 40}, tip, 0x000000);
    draw_picture(canvas, PictureKind::Icon, kPadMarker, {tip.x - 2, tip.y - 2});
}

void paint_colour_button(Canvas& canvas, const Rect& place, Colour rgb, bool enabled) {
    if (!enabled) {
        paint_bevel(canvas, place, kDimmedColour, kDimmedColour);
        canvas.fill({place.left + 1, place.top + 1, place.right - 1, place.bottom - 1}, kSwatchSurround);
        return;
    }
    paint_bevel(canvas, place, kButtonFace, 0x000000);
    paint_bevel(canvas, {place.left + 1, place.top + 1, place.right - 1, place.bottom - 1}, kWhite, kBevelDark);
    canvas.fill({place.left + 2, place.top + 2, place.right - 2, place.bottom - 2}, kSwatchSurround);
    canvas.fill({place.left + 2, place.top + 2, place.right - 1, place.bottom - 1}, rgb);
}

int32_t dot_face(DotDisplay display, int32_t map_entry, bool pressed) {
    struct Faces {
        int32_t plain;
        int32_t pressed;
    };
    constexpr Faces kEmpty = {203, 210}, kFilledKept = {215, 216}, kFilled = {213, 214}, kCurrentKept = {208, 212},
                    kCurrent = {202, 211};
    Faces faces = kEmpty;
    if (display == kDotFilled) faces = map_entry == 1 ? kFilledKept : kFilled;
    if (display == kDotCurrent) faces = map_entry == 1 ? kCurrentKept : kCurrent;
    return pressed ? faces.pressed : faces.plain;
}

void paint_dot(Canvas& canvas, const Rect& place, int32_t face) {
    draw_picture(canvas, PictureKind::Bitmap, face, {place.left, place.top + 2});
}

void paint_dot_panel(Canvas& canvas, const Rect& place, const RgbaImage* thumbnail) {
    draw_picture(canvas, PictureKind::Bitmap, kDotPanelFrame, {place.left, place.top});
    if (!thumbnail || thumbnail->width <= 0 || thumbnail->height <= 0) return;
    // Fitted into the square by nearest samples, centred.
    const int32_t longer = std::max(thumbnail->width, thumbnail->height);
    const int32_t w = std::max(1, thumbnail->width * kThumbnailSide / longer);
    const int32_t h = std::max(1, thumbnail->height * kThumbnailSide / longer);
    RgbaImage fitted{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const size_t from = (static_cast<size_t>(y * thumbnail->height / h) * thumbnail->width +
                                 x * thumbnail->width / w) * 4;
            std::copy_n(&thumbnail->pixels[from], 4, &fitted.pixels[(static_cast<size_t>(y) * w + x) * 4]);
        }
    canvas.image({place.left + kThumbnailInset + (kThumbnailSide - w) / 2,
                  place.top + kThumbnailInset + (kThumbnailSide - h) / 2},
                 fitted);
}

}  // namespace corvanthe::ui
