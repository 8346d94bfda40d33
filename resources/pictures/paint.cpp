#include "paint.h"

#include "ui/canvas/label_font.h"

namespace corvanthe::pictures {

Rgba hex(uint32_t rgb, double alpha) {
    return Rgba{((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Rgba mix(const Rgba& from, const Rgba& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Rgba{from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
                from.a + (to.a - from.a) * t};
}

Rgba with_alpha(Rgba colour, double alpha) {
    colour.a = alpha;
    return colour;
}

Layer::Layer(int32_t unit_width, int32_t unit_height, int32_t scale_)
    : width(unit_width * scale_),
      height(unit_height * scale_),
      scale(scale_),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void Layer::blend(int32_t px, int32_t py, const Rgba& colour, double covered) {
    if (px < 0 || py < 0 || px >= width || py >= height)
        return;
    Rgba& p = pixels[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
    double a = colour.a * covered;
    p.r = colour.r * a + p.r * (1 - a);
    p.g = colour.g * a + p.g * (1 - a);
    p.b = colour.b * a + p.b * (1 - a);
    p.a = a + p.a * (1 - a);
}

void Layer::text(double x, double y, std::string_view utf8, const Rgba& colour, int32_t size) {
    // The glyphs' ink as a mask at the font's own pixels, then covered at this layer's pixels:
    // at one pixel a font pixel it is the font itself, larger it is smoothed by a small tent.
    int32_t mask_width = ui::label_text_width(utf8);
    std::vector<uint8_t> mask(static_cast<size_t>(mask_width) * ui::kLabelFontHeight);
    int32_t left = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const ui::LabelGlyph& glyph = ui::label_glyph(ui::next_code_point(utf8, pos));
        for (int32_t row = 0; row < ui::kLabelFontHeight; ++row)
            for (int32_t column = 0; column < 16 && left + column < mask_width; ++column)
                if ((glyph.rows[row] >> column) & 1u)
                    mask[static_cast<size_t>(row) * static_cast<size_t>(mask_width) + static_cast<size_t>(left + column)] = 1;
        left += glyph.advance;
    }
    auto ink = [&](int32_t column, int32_t row) {
        if (column < 0 || row < 0 || column >= mask_width || row >= ui::kLabelFontHeight)
            return 0.0;
        return static_cast<double>(mask[static_cast<size_t>(row) * static_cast<size_t>(mask_width) + static_cast<size_t>(column)]);
    };
    int32_t step = scale * size;  // pixels per font pixel
    int32_t x0 = static_cast<int32_t>(std::floor(x * scale));
    int32_t y0 = static_cast<int32_t>(std::floor(y * scale));
    for (int32_t py = 0; py < ui::kLabelFontHeight * step; ++py)
        for (int32_t px = 0; px < mask_width * step; ++px) {
            double covered = 0;
            if (step == 1) {
                covered = ink(px, py);
            } else {
                // The ink under a tent one font pixel wide around this pixel's centre.
                double fx = (px + 0.5) / step - 0.5;
                double fy = (py + 0.5) / step - 0.5;
                int32_t cx = static_cast<int32_t>(std::floor(fx));
                int32_t cy = static_cast<int32_t>(std::floor(fy));
                double tx = fx - cx;
                double ty = fy - cy;
                double sample = ink(cx, cy) * (1 - tx) * (1 - ty) + ink(cx + 1, cy) * tx * (1 - ty) +
                                ink(cx, cy + 1) * (1 - tx) * ty + ink(cx + 1, cy + 1) * tx * ty;
                covered = std::clamp((sample - 0.5) * 2.5 + 0.5, 0.0, 1.0);
            }
            if (covered > 0)
                blend(x0 + px, y0 + py, colour, covered);
        }
}

ui::RgbaImage Layer::image() const {
    ui::RgbaImage out{width, height, std::vector<uint8_t>(pixels.size() * 4)};
    auto byte = [](double v) { return static_cast<uint8_t>(std::floor(std::clamp(v, 0.0, 1.0) * 255 + 0.5)); };
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Rgba& p = pixels[i];
        uint8_t* q = &out.pixels[i * 4];
        q[3] = byte(p.a);
        if (q[3] == 0)
            continue;
        q[0] = byte(p.r / p.a);
        q[1] = byte(p.g / p.a);
        q[2] = byte(p.b / p.a);
    }
    return out;
}

}  // namespace corvanthe::pictures
