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

bool read_pixel(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows,
                PixelValue& pixel) {
    const HostDepth depth = depth_class(record);
    const int samples = record.inHiPlane - record.inLoPlane + 1;
    const int colour_samples = is_grey(record) ? 1 : 3;
    if (!record.inData || depth == HostDepth::kNone || samples < colour_samples) return false;
    const int bytes = sample_bytes(depth);
    const int64_t offset = pixel_offset(x, y, tile, int64_t(samples) * bytes, record.inRowBytes, rows);
    if (offset < 0) return false;
    const auto* at = static_cast<const unsigned char*>(record.inData) + offset;
    pixel.red = load_sample(at, depth);
    pixel.green = colour_samples == 1 ? pixel.red : load_sample(at + bytes, depth);
    pixel.blue = colour_samples == 1 ? pixel.red : load_sample(at + 2 * bytes, depth);
    const int alpha_index = record.inLayerPlanes;
    pixel.alpha = has_transparency(record) && alpha_index >= 0 && alpha_index < samples
                      ? load_sample(at + alpha_index * bytes, depth)
                      : 1.0f;
    return true;
}

float read_mask(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows) {
    if (!record.maskData) return 1.0f;
    const int64_t offset = pixel_offset(x, y, tile, 1, record.maskRowBytes, rows);
    if (offset < 0) return 0.0f;
    return static_cast<const unsigned char*>(record.maskData)[offset] / 255.0f;
}

bool write_host_pixel(sdk::FilterRecord& record, int32_t x, int32_t y, const PixelValue& pixel, bool rows) {
    const HostDepth depth = depth_class(record);
    if (!record.outData || depth == HostDepth::kNone || record.planes < 1) return false;
    const int bytes = sample_bytes(depth);
    const int64_t offset =
        pixel_offset(x, y, get_rect(record, HostRect::kOut), int64_t(record.planes) * bytes, record.outRowBytes, rows);
    if (offset < 0) return false;
    auto* at = static_cast<unsigned char*>(record.outData) + offset;
    if (is_grey(record)) {
        store_sample(at, depth, pixel.green);
    } else {
        store_sample(at, depth, pixel.red);
        store_sample(at + bytes, depth, pixel.green);
        store_sample(at + 2 * bytes, depth, pixel.blue);
    }
    const int alpha_index = record.inLayerPlanes;
    if (has_transparency(record) && alpha_index >= 0 && alpha_index < record.planes)
        store_sample(at + alpha_index * bytes, depth, pixel.alpha);
    return true;
}

}  // namespace corvanthe
