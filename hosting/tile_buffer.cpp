#include "hosting/tile_buffer.h"

#include <cmath>
#include <cstring>
#include <new>

#include "sdk/filter_record.h"

namespace corvanthe::hosting {

namespace {

// The image coordinate shown at sampled coordinate c: ⌊c · rate / 65536⌋.
int64_t sampled(int32_t c, sdk::Fixed rate) {
    return (int64_t(c) * int64_t(rate)) >> 16;
}

// A padding value as a sample of the given size.
void padding_sample(int16_t value, int sample_bytes, uint8_t* to) {
    if (sample_bytes == 1) {
        *to = uint8_t(value);
    } else if (sample_bytes == 2) {
        const uint16_t v = uint16_t((int32_t(value) * 32768 + 127) / 255);
        std::memcpy(to, &v, 2);
    } else {
        const float v = float(value) / 255.0f;
        std::memcpy(to, &v, 4);
    }
}

// Copies `count` pixels of `pixel_bytes` each, `stride` bytes apart in the source.
void copy_run(uint8_t* to, const uint8_t* from, int64_t count, int32_t pixel_bytes, size_t stride) {
    if (stride == size_t(pixel_bytes)) {
        std::memcpy(to, from, size_t(count) * size_t(pixel_bytes));
        return;
    }
    for (int64_t i = 0; i < count; ++i, to += pixel_bytes, from += stride) std::memcpy(to, from, size_t(pixel_bytes));
}

// Shared by image and mask: `source(x, y)` gives the address of the pixel's first
// requested sample inside the image; the next pixel's lies `stride` bytes further.
template <typename Source>
sdk::OSErr fill(const TileRequest& request, int32_t image_width, int32_t image_height, int planes, int sample_bytes,
                size_t stride, int32_t row_padding, size_t max_bytes, TileBuffer& out, Source source) {
    out.request = request;
    out.bytes.clear();
    out.row_bytes = 0;
    out.sample_bytes = sample_bytes;
    out.pixel_bytes = planes * sample_bytes;
    if (request.rate <= 0 || row_padding < 0) return sdk::kFilterBadParameters;
    if (request.padding < sdk::kPlugInWantsErrorOnBoundsException || request.padding > 255) return sdk::kFilterBadParameters;
    if (is_empty(request.rect)) return sdk::kNoErr;

    const int64_t width = int64_t(request.rect.right) - request.rect.left;
    const int64_t height = int64_t(request.rect.bottom) - request.rect.top;
    const int64_t row_bytes = width * out.pixel_bytes + row_padding;
    if (row_bytes > INT32_MAX || double(row_bytes) * double(height) > double(max_bytes)) return sdk::kMemFullErr;

    const int64_t x0 = sampled(request.rect.left, request.rate);
    const int64_t x1 = sampled(request.rect.right - 1, request.rate);
    const int64_t y0 = sampled(request.rect.top, request.rate);
    const int64_t y1 = sampled(request.rect.bottom - 1, request.rate);
    const bool outside = x0 < 0 || y0 < 0 || x1 >= image_width || y1 >= image_height;
    if (outside && request.padding == sdk::kPlugInWantsErrorOnBoundsException) return sdk::kFilterBadParameters;
    if (outside && request.padding == sdk::kPlugInWantsEdgeReplication && (image_width == 0 || image_height == 0)) {
        return sdk::kFilterBadParameters;  // nothing to replicate
    }

    try {
        out.bytes.assign(size_t(row_bytes * height), 0);
    } catch (const std::bad_alloc&) {
        return sdk::kMemFullErr;
    }
    out.row_bytes = int32_t(row_bytes);

    uint8_t pad[4] = {0, 0, 0, 0};
    const bool constant_pad = request.padding >= 0;
    if (constant_pad) padding_sample(request.padding, sample_bytes, pad);

    // At full rate a row inside the image is one run of pixels.
    const bool row_runs = request.rate == 0x10000 && request.rect.left >= 0 && request.rect.right <= image_width;
    for (int64_t row = 0; row < height; ++row) {
        int64_t y = sampled(int32_t(request.rect.top + row), request.rate);
        const bool y_inside = y >= 0 && y < image_height;
        if (request.padding == sdk::kPlugInWantsEdgeReplication) y = y < 0 ? 0 : y >= image_height ? image_height - 1 : y;
        uint8_t* to = out.bytes.data() + row * row_bytes;
        if (row_runs && y_inside) {
            copy_run(to, source(request.rect.left, int32_t(y)), width, out.pixel_bytes, stride);
            continue;
        }
        for (int64_t col = 0; col < width; ++col, to += out.pixel_bytes) {
            int64_t x = sampled(int32_t(request.rect.left + col), request.rate);
            const bool inside = y_inside && x >= 0 && x < image_width;
            if (request.padding == sdk::kPlugInWantsEdgeReplication) {
                x = x < 0 ? 0 : x >= image_width ? image_width - 1 : x;
            } else if (!inside) {
                if (constant_pad) {
                    for (int p = 0; p < planes; ++p) std::memcpy(to + p * sample_bytes, pad, size_t(sample_bytes));
                }
                continue;
            }
            std::memcpy(to, source(int32_t(x), int32_t(y)), size_t(out.pixel_bytes));
        }
    }
    return sdk::kNoErr;
}

}  // namespace

bool is_empty(const sdk::VRect& r) { return r.right <= r.left || r.bottom <= r.top; }

sdk::OSErr read_tile(const Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                     TileBuffer& out) {
    if (request.lo_plane < 0 || request.hi_plane < request.lo_plane || request.hi_plane >= doc.planes()) {
        out = TileBuffer{};
        out.request = request;
        return sdk::kFilterBadParameters;
    }
    const int planes = request.hi_plane - request.lo_plane + 1;
    return fill(request, doc.width, doc.height, planes, doc.sample_bytes(), doc.pixel_bytes(), row_padding, max_bytes, out,
                [&](int32_t x, int32_t y) { return doc.sample_address(x, y, request.lo_plane); });
}

sdk::OSErr view_tile(Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                     TileBuffer& out) {
    const sdk::VRect& r = request.rect;
    const bool in_place = request.rate == 0x10000 && row_padding == 0 && request.lo_plane == 0 &&
                          request.hi_plane == doc.planes() - 1 && !is_empty(r) && r.left >= 0 && r.top >= 0 &&
                          r.right <= doc.width && r.bottom <= doc.height && doc.row_bytes() <= size_t(INT32_MAX) &&
                          request.padding >= sdk::kPlugInWantsErrorOnBoundsException && request.padding <= 255 &&
                          double(r.right - r.left) * double(doc.pixel_bytes()) * double(r.bottom - r.top) <=
                              double(max_bytes);
    if (!in_place) return read_tile(doc, request, row_padding, max_bytes, out);
    out = TileBuffer{};
    out.request = request;
    out.view = doc.sample_address(r.left, r.top, 0);
    out.row_bytes = int32_t(doc.row_bytes());
    out.pixel_bytes = int32_t(doc.pixel_bytes());
    out.sample_bytes = doc.sample_bytes();
    return sdk::kNoErr;
}

sdk::OSErr read_mask_tile(const Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                          TileBuffer& out) {
    TileRequest one_plane = request;
    one_plane.lo_plane = one_plane.hi_plane = 0;
    if (!doc.has_mask()) {
        out = TileBuffer{};
        out.request = one_plane;
        return sdk::kNoErr;
    }
    return fill(one_plane, doc.width, doc.height, 1, 1, 1, row_padding, max_bytes, out,
                [&](int32_t x, int32_t y) { return doc.mask.data() + size_t(y) * size_t(doc.width) + size_t(x); });
}

void write_tile(const TileBuffer& buffer, Document& doc, const Document* blend_source) {
    if (buffer.empty() || buffer.view) return;
    const sdk::VRect& r = buffer.request.rect;
    const int planes = buffer.request.hi_plane - buffer.request.lo_plane + 1;
    const bool blend = blend_source && doc.has_mask();
    const int32_t top = r.top < 0 ? 0 : r.top;
    const int32_t left = r.left < 0 ? 0 : r.left;
    const int32_t bottom = r.bottom > doc.height ? doc.height : r.bottom;
    const int32_t right = r.right > doc.width ? doc.width : r.right;
    if (left >= right) return;
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* from = buffer.bytes.data() + int64_t(y - r.top) * buffer.row_bytes +
                              int64_t(left - r.left) * buffer.pixel_bytes;
        if (!blend) {
            // The buffer's pixels are contiguous; the document's lie a whole pixel apart.
            uint8_t* to = doc.sample_address(left, y, buffer.request.lo_plane);
            if (size_t(buffer.pixel_bytes) == doc.pixel_bytes()) {
                std::memcpy(to, from, size_t(right - left) * doc.pixel_bytes());
            } else {
                for (int32_t x = left; x < right; ++x, from += buffer.pixel_bytes, to += doc.pixel_bytes())
                    std::memcpy(to, from, size_t(buffer.pixel_bytes));
            }
            continue;
        }
        for (int32_t x = left; x < right; ++x, from += buffer.pixel_bytes) {
            uint8_t* to = doc.sample_address(x, y, buffer.request.lo_plane);
            const double m = doc.mask[size_t(y) * size_t(doc.width) + size_t(x)] / 255.0;
            for (int p = 0; p < planes; ++p) {
                const int plane = buffer.request.lo_plane + p;
                const double before = blend_source->sample(x, y, plane);
                std::memcpy(to + p * buffer.sample_bytes, from + p * buffer.sample_bytes, size_t(buffer.sample_bytes));
                const double written = doc.sample(x, y, plane);
                const double mixed = before + (written - before) * m;
                doc.set_sample(x, y, plane, doc.depth == 32 ? mixed : std::floor(mixed + 0.5));
            }
        }
    }
}

}  // namespace corvanthe::hosting
