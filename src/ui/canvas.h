#pragma once
// The small drawing surface the dialog logic paints its own controls on (background, labels,
// sliders, pads, swatches, memory dots, the dot panel, the preview). The software canvas draws
// into an RGBA image in memory; a toolkit port may replay the same calls on its own painter.
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvanthe::ui {

// Dialog client coordinates in pixels; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// 0xRRGGBB.
using Colour = uint32_t;

// A picture: straight (not premultiplied) RGBA, 8 bits a channel, rows from the top.
struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // width × height × 4 bytes: R, G, B, A
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // Fills the rectangle with an opaque colour.
    virtual void fill(const Rect& area, Colour colour) = 0;
    // A 1-pixel line from `from` up to, but not including, `to` (as GDI's LineTo draws it).
    virtual void line(Point from, Point to, Colour colour) = 0;
    // Draws the picture with its top-left corner at the point, blended by its alpha.
    virtual void image(Point top_left, const RgbaImage& picture) = 0;
    // Draws UTF-8 text in the label font (11 pixels high) with its top-left corner at the point,
    // on a transparent background.
    virtual void text(Point top_left, std::string_view utf8, Colour colour) = 0;
    // The width in pixels that `text` would cover.
    virtual int32_t text_width(std::string_view utf8) = 0;
    // The dotted rectangle that marks the control with the keyboard focus.
    virtual void focus_rect(const Rect& area) = 0;
    // Limits all drawing to the rectangle (within the whole surface) until `unclip`.
    virtual void clip(const Rect& area) = 0;
    virtual void unclip() = 0;
    // The toolkit's own drawing context behind the canvas (a Windows HDC), for the host's
    // display service; null where there is none (the software canvas, Qt).
    virtual void* platform_context() { return nullptr; }
};

}  // namespace corvanthe::ui
