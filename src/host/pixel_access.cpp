#include "host/pixel_access.h"

#include <cstring>

#include "host/host_queries.h"
#include "host/host_rects.h"

namespace corvanthe {
namespace {

// Offset of pixel (x, y) from the buffer start in bytes, or -1 outside `area`.
int64_t pixel_offset(int32_t x, int32_t y, const sdk::VRect& area, int64_t pixel_bytes, int64_t row_bytes,
                     bool rows) {
    const int64_t dx = int64_t(x) - area.left;
    const int64_t dy = int64_t(y) - area.top;
    if (dx < 0 || dy < 0 || dx >= int64_t(area.right) - area.left || dy >= int64_t(area.bottom) - area.top)
        return -1;
    return dx * pixel_bytes + (rows ? dy * row_bytes : 0);
}

float load_sample(const unsigned char* at, HostDepth depth) {
    switch (depth) {
        case HostDepth::k8: return at[0] / 255.0f;
        case HostDepth::k16: {
            uint16_t v;
            std::memcpy(&v, at, sizeof v);
            return v / 32768.0f;
        }
        case HostDepth::k32: {
            float v;
            std::memcpy(&v, at, sizeof v);
            return v;
        }
        case HostDepth::kNone: break;
    }
    return 0.0f;
}

// Integer samples are scaled, truncated toward zero and kept inside the sample's range.
void store_sample(unsigned char* at, HostDepth depth, float value) {
    if (depth == HostDepth::k32) {
        std::memcpy(at, &value, sizeof value);
        return;
    }
    const float scale = class_scale(depth);
    float scaled = value * scale;
    if (!(scaled > 0.0f)) scaled = 0.0f;  // also NaN
    if (scaled > scale) scaled = scale;
    if (depth == HostDepth::k8) {
        at[0] = static_cast<uint8_t>(scaled);
    } else {
        const uint16_t v = static_cast<uint16_t>(scaled);
        std::memcpy(at, &v, sizeof v);
    }
}

}  // namespace

HostPixels host_pixels(const sdk::FilterRecord& record, const sdk::VRect& tile) {
    HostPixels h;
    h.in_area = tile;
    h.mask = static_cast<const unsigned char*>(record.maskData);
    h.mask_row_bytes = record.maskRowBytes;
    h.depth = depth_class(record);
    if (h.depth == HostDepth::kNone) return h;
    h.sample_bytes = sample_bytes(h.depth);
    const bool transparency = has_transparency(record);
    const int alpha_index = record.inLayerPlanes;

    const int samples = record.inHiPlane - record.inLoPlane + 1;
    h.single_colour = is_grey(record);
    h.in = static_cast<const unsigned char*>(record.inData);
    h.in_pixel_bytes = int64_t(samples) * h.sample_bytes;
    h.in_row_bytes = record.inRowBytes;
    h.in_alpha = transparency && alpha_index >= 0 && alpha_index < samples ? alpha_index : -1;
    h.readable = h.in && samples >= (h.single_colour ? 1 : 3);

    h.out = static_cast<unsigned char*>(record.outData);
    h.out_area = get_rect(record, HostRect::kOut);
    h.out_pixel_bytes = int64_t(record.planes) * h.sample_bytes;
    h.out_row_bytes = record.outRowBytes;
    h.out_alpha = transparency && alpha_index >= 0 && alpha_index < record.planes ? alpha_index : -1;
    h.writable = h.out && record.planes >= 1;
    return h;
}

bool read_pixel(const HostPixels& host, int32_t x, int32_t y, bool rows, PixelValue& pixel) {
    if (!host.readable) return false;
    const int64_t offset = pixel_offset(x, y, host.in_area, host.in_pixel_bytes, host.in_row_bytes, rows);
    if (offset < 0) return false;
    const unsigned char* at = host.in + offset;
    const int bytes = host.sample_bytes;
    pixel.red = load_sample(at, host.depth);
    pixel.green = host.single_colour ? pixel.red : load_sample(at + bytes, host.depth);
    pixel.blue = host.single_colour ? pixel.red : load_sample(at + 2 * bytes, host.depth);
    pixel.alpha = host.in_alpha >= 0 ? load_sample(at + host.in_alpha * bytes, host.depth) : 1.0f;
    return true;
}

float read_mask(const HostPixels& host, int32_t x, int32_t y, bool rows) {
    if (!host.mask) return 1.0f;
    const int64_t offset = pixel_offset(x, y, host.in_area, 1, host.mask_row_bytes, rows);
    if (offset < 0) return 0.0f;
    return host.mask[offset] / 255.0f;
}

bool write_host_pixel(const HostPixels& host, int32_t x, int32_t y, const PixelValue& pixel, bool rows) {
    if (!host.writable) return false;
    const int64_t offset = pixel_offset(x, y, host.out_area, host.out_pixel_bytes, host.out_row_bytes, rows);
    if (offset < 0) return false;
    unsigned char* at = host.out + offset;
    const int bytes = host.sample_bytes;
    if (host.single_colour) {
        store_sample(at, host.depth, pixel.green);
    } else {
        store_sample(at, host.depth, pixel.red);
        store_sample(at + bytes, host.depth, pixel.green);
        store_sample(at + 2 * bytes, host.depth, pixel.blue);
    }
    if (host.out_alpha >= 0) store_sample(at + host.out_alpha * bytes, host.depth, pixel.alpha);
    return true;
}

void read_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, PixelValue* pixels, float* masks) {
    for (int32_t i = 0; i < count; ++i) {
        read_pixel(host, x0 + i, y, true, pixels[i]);
        masks[i] = read_mask(host, x0 + i, y, true);
    }
}

void write_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, const PixelValue* pixels) {
    for (int32_t i = 0; i < count; ++i) write_host_pixel(host, x0 + i, y, pixels[i], true);
}

bool read_pixel(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows,
                PixelValue& pixel) {
    return read_pixel(host_pixels(record, tile), x, y, rows, pixel);
}

float read_mask(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows) {
    return read_mask(host_pixels(record, tile), x, y, rows);
}

bool write_host_pixel(sdk::FilterRecord& record, int32_t x, int32_t y, const PixelValue& pixel, bool rows) {
    return write_host_pixel(host_pixels(record, get_rect(record, HostRect::kIn)), x, y, pixel, rows);
}

}  // namespace corvanthe
