#include "host/pixel_access.h"

#include <algorithm>
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

// The size of one sample of each depth, for the sample conversions.
template <HostDepth Depth>
constexpr int kSampleBytes = Depth == HostDepth::k8 ? 1 : Depth == HostDepth::k16 ? 2 : 4;

// The pixel whose first sample is at `at`, in inData's layout.
template <HostDepth Depth>
[[gnu::always_inline]] inline void load_pixel(const HostPixels& host, const unsigned char* at, PixelValue& pixel) {
    const int bytes = host.sample_bytes;
    pixel.red = load_sample<kSampleBytes<Depth>>(at);
    pixel.green = host.single_colour ? pixel.red : load_sample<kSampleBytes<Depth>>(at + bytes);
    pixel.blue = host.single_colour ? pixel.red : load_sample<kSampleBytes<Depth>>(at + 2 * bytes);
    pixel.alpha = host.in_alpha >= 0 ? load_sample<kSampleBytes<Depth>>(at + host.in_alpha * bytes) : 1.0f;
}

// Grey documents take the green channel, colour documents red, green and blue; the alpha
// goes to the transparency plane when there is one.
template <HostDepth Depth>
[[gnu::always_inline]] inline void store_pixel(const HostPixels& host, unsigned char* at, const PixelValue& pixel) {
    const int bytes = host.sample_bytes;
    if (host.single_colour) {
        store_sample<kSampleBytes<Depth>>(at, pixel.green);
    } else {
        store_sample<kSampleBytes<Depth>>(at, pixel.red);
        store_sample<kSampleBytes<Depth>>(at + bytes, pixel.green);
        store_sample<kSampleBytes<Depth>>(at + 2 * bytes, pixel.blue);
    }
    if (host.out_alpha >= 0) store_sample<kSampleBytes<Depth>>(at + host.out_alpha * bytes, pixel.alpha);
}

// Calls visit.template operator()<Depth>() for the host's depth.
template <typename Visit>
void with_depth(HostDepth depth, Visit&& visit) {
    switch (depth) {
        case HostDepth::k8: visit.template operator()<HostDepth::k8>(); break;
        case HostDepth::k16: visit.template operator()<HostDepth::k16>(); break;
        case HostDepth::k32: visit.template operator()<HostDepth::k32>(); break;
        case HostDepth::kNone: break;
    }
}

// The columns [first, last) of the run x0 .. x0 + count - 1 that lie inside `area`'s columns,
// and whether row y lies inside its rows.
bool run_inside(const sdk::VRect& area, int32_t x0, int32_t y, int32_t count, int64_t& first, int64_t& last) {
    first = std::max<int64_t>(x0, area.left);
    last = std::min<int64_t>(int64_t(x0) + count, area.right);
    return y >= area.top && y < area.bottom && first < last;
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
    with_depth(host.depth, [&]<HostDepth Depth>() { load_pixel<Depth>(host, host.in + offset, pixel); });
    return true;
}

float read_mask(const HostPixels& host, int32_t x, int32_t y, bool rows) {
    if (!host.mask) return 1.0f;
    const int64_t offset = pixel_offset(x, y, host.in_area, 1, host.mask_row_bytes, rows);
    if (offset < 0) return 0.0f;
    return kByteValues[host.mask[offset]];
}

bool write_host_pixel(const HostPixels& host, int32_t x, int32_t y, const PixelValue& pixel, bool rows) {
    if (!host.writable) return false;
    const int64_t offset = pixel_offset(x, y, host.out_area, host.out_pixel_bytes, host.out_row_bytes, rows);
    if (offset < 0) return false;
    with_depth(host.depth, [&]<HostDepth Depth>() { store_pixel<Depth>(host, host.out + offset, pixel); });
    return true;
}

void read_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, PixelValue* pixels, float* masks) {
    int64_t first, last;
    const bool inside = run_inside(host.in_area, x0, y, count, first, last);
    const int64_t row = int64_t(y) - host.in_area.top;
    if (host.readable && inside) {
        with_depth(host.depth, [&]<HostDepth Depth>() {
            const unsigned char* at =
                host.in + (first - host.in_area.left) * host.in_pixel_bytes + row * host.in_row_bytes;
            for (int64_t x = first; x < last; ++x, at += host.in_pixel_bytes) load_pixel<Depth>(host, at, pixels[x - x0]);
        });
    }
    // Without a mask everything is selected; with one, nothing outside its area.
    for (int32_t i = 0; i < count; ++i) masks[i] = host.mask ? 0.0f : 1.0f;
    if (host.mask && inside) {
        const unsigned char* at = host.mask + (first - host.in_area.left) + row * host.mask_row_bytes;
        for (int64_t x = first; x < last; ++x) masks[x - x0] = kByteValues[*at++];
    }
}

void write_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, const PixelValue* pixels) {
    int64_t first, last;
    if (!host.writable || !run_inside(host.out_area, x0, y, count, first, last)) return;
    with_depth(host.depth, [&]<HostDepth Depth>() {
        unsigned char* at = host.out + (first - host.out_area.left) * host.out_pixel_bytes +
                            (int64_t(y) - host.out_area.top) * host.out_row_bytes;
        for (int64_t x = first; x < last; ++x, at += host.out_pixel_bytes) store_pixel<Depth>(host, at, pixels[x - x0]);
    });
}

bool sample_piece_of(const HostPixels& host, const sdk::VRect& area, SamplePiece& samples) {
    auto covers = [&](const sdk::VRect& r) {
        return area.left >= r.left && area.top >= r.top && area.right <= r.right && area.bottom <= r.bottom;
    };
    if (host.depth == HostDepth::kNone || !host.readable || !host.writable || host.single_colour) return false;
    if (area.left >= area.right || area.top >= area.bottom || !covers(host.in_area) || !covers(host.out_area))
        return false;
    const int64_t in_column = int64_t(area.left) - host.in_area.left, in_row = int64_t(area.top) - host.in_area.top;
    samples.sample_bytes = host.sample_bytes;
    samples.in = host.in + in_column * host.in_pixel_bytes + in_row * host.in_row_bytes;
    samples.in_row_bytes = host.in_row_bytes;
    samples.in_pixel_bytes = int32_t(host.in_pixel_bytes);
    samples.in_alpha = host.in_alpha;
    samples.out = host.out + (int64_t(area.left) - host.out_area.left) * host.out_pixel_bytes +
                  (int64_t(area.top) - host.out_area.top) * host.out_row_bytes;
    samples.out_row_bytes = host.out_row_bytes;
    samples.out_pixel_bytes = int32_t(host.out_pixel_bytes);
    samples.out_alpha = host.out_alpha;
    // The mask is laid out over the same area as inData.
    samples.mask = host.mask ? host.mask + in_column + in_row * host.mask_row_bytes : nullptr;
    samples.mask_row_bytes = host.mask_row_bytes;
    return true;
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
