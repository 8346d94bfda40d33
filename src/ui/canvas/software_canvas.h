#pragma once
// The canvas that draws into an RGBA image in memory: the dialog's picture without a toolkit
// (tests, tools), and the pictures' own drawing. Fills and text are opaque, images blend by their
// alpha, and everything stays inside the image and the clip rectangle.
#include "ui/canvas.h"

namespace corvanthe::ui {

class SoftwareCanvas : public Canvas {
public:
    // Draws into `target`, which must outlive the canvas; its size is the drawing surface. A target
    // whose pixel bytes do not match its size is first given exactly the bytes its size needs.
    explicit SoftwareCanvas(RgbaImage& target);

    void fill(const Rect& area, Colour colour) override;
    void line(Point from, Point to, Colour colour) override;
    void image(Point top_left, const RgbaImage& picture) override;
    void text(Point top_left, std::string_view utf8, Colour colour) override;
    int32_t text_width(std::string_view utf8) override;
    void focus_rect(const Rect& area) override;
    void clip(const Rect& area) override;
    void unclip() override;

private:
    uint8_t* pixel(int32_t x, int32_t y);
    bool visible(int32_t x, int32_t y) const { return clip_.contains(x, y); }
    void put(int32_t x, int32_t y, Colour colour);

    RgbaImage& target_;
    Rect clip_;
};

}  // namespace corvanthe::ui
