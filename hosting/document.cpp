#include "hosting/document.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace corvanthe::hosting {

sdk::VRect Document::effective_filter_rect() const {
    if (filter_rect.right <= filter_rect.left || filter_rect.bottom <= filter_rect.top) {
        return {0, 0, height, width};
    }
    return filter_rect;
}

sdk::VPoint Document::effective_whole_size() const {
    if (whole_size.v == 0 && whole_size.h == 0) return {height, width};
    return whole_size;
}

const uint8_t* Document::sample_address(int32_t x, int32_t y, int plane) const {
    return pixels.data() + size_t(y) * row_bytes() + size_t(x) * pixel_bytes() + size_t(plane) * sample_bytes();
}

uint8_t* Document::sample_address(int32_t x, int32_t y, int plane) {
    return const_cast<uint8_t*>(static_cast<const Document*>(this)->sample_address(x, y, plane));
}

double Document::sample(int32_t x, int32_t y, int plane) const {
    const uint8_t* p = sample_address(x, y, plane);
    switch (depth) {
    case 8: return *p;
    case 16: { uint16_t v; std::memcpy(&v, p, 2); return v; }
    default: { float v; std::memcpy(&v, p, 4); return v; }
    }
}

void Document::set_sample(int32_t x, int32_t y, int plane, double value) {
    uint8_t* p = sample_address(x, y, plane);
    if (depth == 32) {
        const float v = float(value);
        std::memcpy(p, &v, 4);
        return;
    }
    const double top = depth == 8 ? 255.0 : 65535.0;
    const double clamped = std::isnan(value) ? 0.0 : value < 0.0 ? 0.0 : value > top ? top : std::trunc(value);
    if (depth == 8) {
        *p = uint8_t(clamped);
    } else {
        const uint16_t v = uint16_t(clamped);
        std::memcpy(p, &v, 2);
    }
}

Document make_document(int32_t width, int32_t height, int depth, ColourKind colour, bool transparency) {
    if (depth != 8 && depth != 16 && depth != 32) throw std::invalid_argument("depth must be 8, 16 or 32");
    if (width < 0 || height < 0) throw std::invalid_argument("negative document size");
    Document doc;
    doc.width = width;
    doc.height = height;
    doc.depth = depth;
    doc.colour = colour;
    doc.transparency = transparency;
    doc.pixels.assign(size_t(height) * doc.row_bytes(), 0);
    return doc;
}

double full_scale(int depth) {
    return depth == 8 ? 255.0 : depth == 16 ? 32768.0 : 1.0;
}

}  // namespace corvanthe::hosting
