#pragma once
// The canvas of the Win32 dialog: the software canvas draws the logic's picture into memory,
// and a 32-bit DIB section holds the same picture for GDI. `platform_context()` hands out a
// memory DC on that DIB section (the host's displayPixels draws there); the two copies are
// brought level whenever drawing switches between the software canvas and GDI.
#include <windows.h>

#include "ui/canvas/software_canvas.h"

namespace corvanthe::ui {

class DibCanvas final : public Canvas {
public:
    DibCanvas(int32_t width, int32_t height);
    ~DibCanvas() override;
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    void fill(const Rect& area, Colour colour) override;
    void line(Point from, Point to, Colour colour) override;
    void image(Point top_left, const RgbaImage& picture) override;
    void text(Point top_left, std::string_view utf8, Colour colour) override;
    int32_t text_width(std::string_view utf8) override;
    void focus_rect(const Rect& area) override;
    void clip(const Rect& area) override;
    void unclip() override;
    void* platform_context() override;

    // Copies `area` of the picture to (x, y) of `target`.
    void copy_to(HDC target, int x, int y, const Rect& area);

private:
    SoftwareCanvas& drawing();  // the software canvas, level with what GDI drew
    void to_dib();

    RgbaImage image_;
    SoftwareCanvas canvas_;
    HBITMAP dib_ = nullptr;
    uint8_t* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    // Which copy has drawing the other lacks.
    bool gdi_newer_ = false;
    bool software_newer_ = true;
};

}  // namespace corvanthe::ui
