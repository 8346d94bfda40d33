#include "ui/preview_view.h"

#include <algorithm>

namespace corvanthe::ui {
namespace {

int32_t ceil_div(int32_t a, int32_t b) { return (a + b - 1) / b; }

}  // namespace

int32_t fit_divisor(int32_t width, int32_t height, int32_t frame_width, int32_t frame_height) {
    if (width <= 0 || height <= 0 || frame_width <= 0 || frame_height <= 0) return 1;
    return std::max(ceil_div(width, std::min(width, frame_width)), ceil_div(height, std::min(height, frame_height)));
}

void PreviewView::open(int32_t width, int32_t height, const Rect& frame) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    frame_ = frame;
    area_w_ = std::min(frame.width(), width_);
    area_h_ = std::min(frame.height(), height_);
    fit_ = fit_divisor(width_, height_, frame.width(), frame.height());
    z_ = fit_;
    ox_ = oy_ = 0;
}

Rect PreviewView::visible() const {
    return {ox_, oy_, std::min(width_, ox_ + z_ * frame_.width()), std::min(height_, oy_ + z_ * frame_.height())};
}

Point PreviewView::picture_origin(int32_t picture_width, int32_t picture_height) const {
    Point at = {frame_.left, frame_.top};
    if (picture_width < frame_.width()) at.x += (frame_.width() - picture_width) / 2;
    if (picture_height < frame_.height()) at.y += (frame_.height() - picture_height) / 2;
    return at;
}

bool PreviewView::zoom_in(int32_t shown_width, int32_t shown_height) {
    if (z_ < 2) return false;
    change_divisor(z_ - 1, shown_width, shown_height);
    return true;
}

bool PreviewView::zoom_out(int32_t shown_width, int32_t shown_height) {
    if (z_ >= fit_) return false;
    change_divisor(z_ + 1, shown_width, shown_height);
    if (z_ == fit_) ox_ = oy_ = 0;
    return true;
}

bool PreviewView::zoom_100(int32_t shown_width, int32_t shown_height) {
    change_divisor(1, shown_width, shown_height);
    return true;
}

void PreviewView::change_divisor(int32_t to, int32_t shown_width, int32_t shown_height) {
    const int32_t a = z_, b = to;
    // The old view: the shown picture at the offset; the new one: the preview area.
    const double old_cx = ((ox_ / a) * a + (ox_ / a + shown_width) * a) / 2.0;
    const double old_cy = ((oy_ / a) * a + (oy_ / a + shown_height) * a) / 2.0;
    const int32_t new_cx = ((ox_ / b) * b + (ox_ / b + area_w_) * b) / 2;
    const int32_t new_cy = ((oy_ / b) * b + (oy_ / b + area_h_) * b) / 2;
    ox_ += static_cast<int32_t>(old_cx) - new_cx;
    oy_ += static_cast<int32_t>(old_cy) - new_cy;
    z_ = b;
    clamp_offsets();
}

void PreviewView::clamp_offsets() {
    const int32_t max_x = std::max(0, z_ * (width_ / z_ - area_w_));
    const int32_t max_y = std::max(0, z_ * (height_ / z_ - area_h_));
    ox_ = std::clamp(ox_, 0, max_x);
    oy_ = std::clamp(oy_, 0, max_y);
}

void PreviewView::pan(int32_t dx, int32_t dy) {
    ox_ -= dx * z_;
    oy_ -= dy * z_;
    clamp_offsets();
}

void PreviewView::centre_at(Point mouse, Point origin, float& x_fraction, float& y_fraction) const {
    const int32_t column = (mouse.x - origin.x) * z_ + ox_;
    const int32_t row = (mouse.y - origin.y) * z_ + oy_;
    x_fraction = static_cast<float>(static_cast<double>(column) / width_);
    y_fraction = static_cast<float>(static_cast<double>(row) / height_);
}

}  // namespace corvanthe::ui
