#include "apps/cli/document_conversion.h"

#include <cmath>

namespace corvanthe::cli {
namespace {

// A sample as a fraction of the full value; a float outside 0..1 (or NaN) is clamped.
double fraction(const hosting::Document& doc, int32_t x, int32_t y, int plane) {
    const double v = doc.sample(x, y, plane) / hosting::full_scale(doc.depth);
    return std::isnan(v) ? 0.0 : v < 0.0 ? 0.0 : v > 1.0 ? 1.0 : v;
}

}  // namespace

hosting::Document convert_depth(const hosting::Document& doc, int depth) {
    if (doc.depth == depth) return doc;
    hosting::Document out = hosting::make_document(doc.width, doc.height, depth, doc.colour, doc.transparency);
    out.mask = doc.mask;
    out.icc_profile = doc.icc_profile;
    out.filter_rect = doc.filter_rect;
    out.float_coord = doc.float_coord;
    out.floating = doc.floating;
    out.whole_size = doc.whole_size;
    const double full = hosting::full_scale(depth);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            for (int plane = 0; plane < doc.planes(); ++plane) {
                const double v = depth == 32 ? doc.sample(x, y, plane) / hosting::full_scale(doc.depth)
                                             : std::floor(fraction(doc, x, y, plane) * full + 0.5);
                out.set_sample(x, y, plane, v);
            }
    return out;
}

bool selection_from_image(const hosting::Document& image, const hosting::Document& doc, std::vector<uint8_t>& mask,
                          std::string& error) {
    if (image.colour != hosting::ColourKind::grey || image.transparency) {
        error = "the mask must be a grey image without alpha";
        return false;
    }
    if (image.width != doc.width || image.height != doc.height) {
        error = "the mask is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                ", the image " + std::to_string(doc.width) + " x " + std::to_string(doc.height);
        return false;
    }
    mask.assign(std::size_t(doc.width) * std::size_t(doc.height), 0);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            mask[std::size_t(y) * std::size_t(doc.width) + std::size_t(x)] =
                uint8_t(std::floor(fraction(image, x, y, 0) * 255.0 + 0.5));
    return true;
}

}  // namespace corvanthe::cli
