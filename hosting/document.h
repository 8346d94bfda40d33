#pragma once
// A document as a host holds it: interleaved samples of one layer (grey or RGB, with or
// without a transparency plane) at 8, 16 or 32 bits, an optional selection mask, and
// the geometry the host offers a filter (filter rectangle, floating origin, whole size).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdk/types.h"

namespace corvanthe::hosting {

enum class ColourKind { grey, rgb };

struct Document {
    int32_t width = 0;
    int32_t height = 0;
    int depth = 8;  // bits per sample: 8, 16 (0..32768, the host convention) or 32 (float)
    ColourKind colour = ColourKind::rgb;
    bool transparency = false;       // one more plane after the colour planes
    std::vector<uint8_t> pixels;     // rows of width × planes() samples, no padding
    std::vector<uint8_t> mask;       // empty, or width × height selection bytes (255 selected)
    std::vector<uint8_t> icc_profile;  // empty when the document has none

    // What the host tells the filter. An empty filter rectangle stands for the whole image;
    // a zero whole size for the image size.
    sdk::VRect filter_rect{};
    sdk::VPoint float_coord{};
    sdk::VPoint whole_size{};
    // A floating selection: the filter's rectangles are the selection's own, and its tiles lie
    // at float_coord in the document. Otherwise float_coord is only told (some hosts give the
    // selection's corner there) and the rectangles are the document's.
    bool floating = false;

    int colour_planes() const { return colour == ColourKind::grey ? 1 : 3; }
    int planes() const { return colour_planes() + (transparency ? 1 : 0); }
    int sample_bytes() const { return depth / 8; }
    size_t pixel_bytes() const { return size_t(planes()) * size_t(sample_bytes()); }
    size_t row_bytes() const { return size_t(width) * pixel_bytes(); }
    bool has_mask() const { return !mask.empty(); }

    sdk::VRect effective_filter_rect() const;
    sdk::VPoint effective_whole_size() const;

    // A sample in the document's own unit: 0..255, 0..32768, or the float. Set stores it
    // truncated toward zero and clamped to the integer range.
    double sample(int32_t x, int32_t y, int plane) const;
    void set_sample(int32_t x, int32_t y, int plane, double value);
    uint8_t* sample_address(int32_t x, int32_t y, int plane);
    const uint8_t* sample_address(int32_t x, int32_t y, int plane) const;
};

// A zero-filled document; depth must be 8, 16 or 32 (others throw std::invalid_argument).
Document make_document(int32_t width, int32_t height, int depth, ColourKind colour, bool transparency);

// The full value of a sample at this depth: 255, 32768 or 1.0.
double full_scale(int depth);

}  // namespace corvanthe::hosting
