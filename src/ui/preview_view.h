#pragma once
// The view of the preview frame: which part of the filtered area shows at which divisor,
// zooming that keeps the centre, panning, and placing the sun's centre by a click.
#include <cstdint>

#include "ui/canvas.h"

namespace corvanthe::ui {

// The smallest divisor at which a width × height area fits into a frame of that size.
int32_t fit_divisor(int32_t width, int32_t height, int32_t frame_width, int32_t frame_height);

class PreviewView {
public:
    // The filtered area's size and the frame's inner rectangle; z and F start at the fit.
    void open(int32_t width, int32_t height, const Rect& frame);

    int32_t divisor() const { return z_; }
    int32_t fit() const { return fit_; }
    Point offset() const { return {ox_, oy_}; }
    const Rect& frame() const { return frame_; }

    // The part of the area the frame shows now, in image pixels.
    Rect visible() const;
    // Where a picture of that size sits in the frame: centred on an axis where it is smaller.
    Point picture_origin(int32_t picture_width, int32_t picture_height) const;

    // Zoom commands; false when the request is beyond the limits. `shown_*` is the size of
    // the picture shown now.
    bool zoom_in(int32_t shown_width, int32_t shown_height);
    bool zoom_out(int32_t shown_width, int32_t shown_height);
    bool zoom_100(int32_t shown_width, int32_t shown_height);
    // "100%", "50%", "33%", ...
    int32_t percent() const { return 100 / z_; }

    // Moves the view by a mouse move of (dx, dy) screen pixels, within the bounds.
    void pan(int32_t dx, int32_t dy);
    // The sun's centre for a click at `mouse`, as fractions of the area (outside gives <0 or >1).
    void centre_at(Point mouse, Point picture_origin, float& x_fraction, float& y_fraction) const;

private:
    void change_divisor(int32_t to, int32_t shown_width, int32_t shown_height);
    void clamp_offsets();

    int32_t width_ = 1, height_ = 1;
    Rect frame_;
    int32_t area_w_ = 1, area_h_ = 1;  // P and Q: the frame limited to the area
    int32_t z_ = 1, fit_ = 1;
    int32_t ox_ = 0, oy_ = 0;
};

}  // namespace corvanthe::ui
