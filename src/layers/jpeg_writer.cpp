#include "layers/jpeg_writer.h"

#include "settings/big_endian_file.h"

namespace corvanthe {
namespace {

constexpr int32_t kMinimumSide = 16;

uint8_t to_byte(float v) {
    if (!(v > 0.0f)) return 0;  // also NaN
    if (v > 1.0f) v = 1.0f;
    return static_cast<uint8_t>(v * 255.0);
}

void store_row(const void* context, int y, uint8_t* rgb, int width) {
    const LayerStore& store = *static_cast<const LayerStore*>(context);
    for (int x = 0; x < width; ++x) {
        const PixelValue p = read_texel(store, x, y, 0);  // clamped to the edge
        rgb[3 * x] = to_byte(p.red);
        rgb[3 * x + 1] = to_byte(p.green);
        rgb[3 * x + 2] = to_byte(p.blue);
    }
}

}  // namespace

int16_t encode_jpeg(const LayerStore* store, int quality, const JpegSegments& segments, JpegBytes& out) {
    out.clear();
    if (!store || !store->tiles) return kJpegNoStore;
    const int32_t width = store->levels[0].width > kMinimumSide ? store->levels[0].width : kMinimumSide;
    const int32_t height = store->levels[0].height > kMinimumSide ? store->levels[0].height : kMinimumSide;
    return compress_jpeg(width, height, store_row, store, quality, segments, out) ? kJpegOk : kJpegFailed;
}

int16_t write_jpeg_file(const LayerStore* store, const std::string& path, int quality, const JpegSegments& segments) {
    if (!store) return kJpegNoStore;
    if (!store->tiles) return kJpegNoTiles;
    if (!store->owner) return kJpegNoOwner;
    JpegBytes bytes;
    if (encode_jpeg(store, quality, segments, bytes) != kJpegOk) return kFileWriteError;
    BigEndianWriter out;
    if (const int16_t error = out.open(path); error != kFileOk) return error;
    out.write_bytes(bytes.data(), bytes.size());
    return out.commit();
}

}  // namespace corvanthe
