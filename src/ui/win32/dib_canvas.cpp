#include "ui/win32/dib_canvas.h"

#include "ui/win32/gdi_pictures.h"

namespace corvanthe::ui {

namespace {

RgbaImage blank(int32_t width, int32_t height) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 255);
    return image;
}

}  // namespace

DibCanvas::DibCanvas(int32_t width, int32_t height) : image_(blank(width, height)), canvas_(image_) {
    void* bits = nullptr;
    dib_ = make_dib(width, height, &bits);
    bits_ = static_cast<uint8_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    if (dib_ && dc_) old_ = SelectObject(dc_, dib_);
}

DibCanvas::~DibCanvas() {
    if (dc_) {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (dib_) DeleteObject(dib_);
}

SoftwareCanvas& DibCanvas::drawing() {
    if (gdi_newer_ && bits_) {
        GdiFlush();
        RgbaImage drawn = rgba_of_bgra(bits_, image_.width, image_.height);
        image_.pixels.swap(drawn.pixels);
        gdi_newer_ = false;
    }
    software_newer_ = true;
    return canvas_;
}

void DibCanvas::to_dib() {
    if (!software_newer_ || !bits_) return;
    software_newer_ = false;
    GdiFlush();
    const size_t size = image_.pixels.size();
    for (size_t i = 0; i < size; i += 4) {
        bits_[i + 0] = image_.pixels[i + 2];
        bits_[i + 1] = image_.pixels[i + 1];
        bits_[i + 2] = image_.pixels[i + 0];
        bits_[i + 3] = 255;
    }
}

void DibCanvas::fill(const Rect& area, Colour colour) { drawing().fill(area, colour); }
void DibCanvas::line(Point from, Point to, Colour colour) { drawing().line(from, to, colour); }
void DibCanvas::image(Point top_left, const RgbaImage& picture) { drawing().image(top_left, picture); }
void DibCanvas::text(Point top_left, std::string_view utf8, Colour colour) { drawing().text(top_left, utf8, colour); }
int32_t DibCanvas::text_width(std::string_view utf8) { return canvas_.text_width(utf8); }
void DibCanvas::focus_rect(const Rect& area) { drawing().focus_rect(area); }
void DibCanvas::clip(const Rect& area) { canvas_.clip(area); }
void DibCanvas::unclip() { canvas_.unclip(); }

void* DibCanvas::platform_context() {
    if (!dc_) return nullptr;
    to_dib();
    gdi_newer_ = true;
    return dc_;
}

void DibCanvas::copy_to(HDC target, int x, int y, const Rect& area) {
    to_dib();
    if (dc_) BitBlt(target, x, y, area.width(), area.height(), dc_, area.left, area.top, SRCCOPY);
}

}  // namespace corvanthe::ui
