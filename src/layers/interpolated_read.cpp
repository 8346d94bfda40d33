#include "layers/interpolated_read.h"

#include <cmath>

#include "layers/interpolation_tables.h"

namespace corvanthe {
namespace {

// The 25 pixels of a footprint, rows then columns, channels red, green, blue, alpha.
using Footprint = float[5][5][4];

// Whole pixel and sub-pixel phase of a coordinate: m = floor(c + 0.5), phase 0..127.
struct Position {
    int32_t pixel;
    int32_t phase;
};

Position position(float c) {
    constexpr float kFar = 1073741824.0f;  // keeps the pixel inside 32 bits; far pixels read the edge anyway
    if (!(c == c)) c = 0.0f;
    c = c < -kFar ? -kFar : (c > kFar ? kFar : c);
    const float shifted = c + 0.5f;
    const float whole = std::floor(shifted);
    const int32_t phase = int32_t((shifted - whole) * 128.0f);
    return {int32_t(whole), phase > 127 ? 127 : phase};
}

void element(const LayerStore& store, const void* block, size_t index, float* out) {
    switch (store.kind) {
        case PixelKind::rgba8: {
            const uint32_t word = static_cast<const uint32_t*>(block)[index];
            out[0] = float(word >> 24), out[1] = float((word >> 16) & 0xff);
            out[2] = float((word >> 8) & 0xff), out[3] = float(word & 0xff);
            return;
        }
        case PixelKind::rgba16: {
            const uint16_t* e = static_cast<const uint16_t*>(block) + 4 * index;
            for (int32_t c = 0; c < 4; ++c) out[c] = float(e[c]);
            return;
        }
        case PixelKind::rgba_float: {
            const float* e = static_cast<const float*>(block) + 4 * index;
            for (int32_t c = 0; c < 4; ++c) out[c] = e[c];
            return;
        }
    }
}

// Columns m - 2 .. m + 2, rows n - 2 .. n + 2: straight from one tile's block when the footprint
// lies inside the level and inside one tile, otherwise through the clamping pixel read.
void gather(const LayerStore& store, int32_t level, int32_t m, int32_t n, Footprint& f) {
    const StoreLevel& l = store.levels[level];
    const bool inside = m >= 2 && m <= l.width - 3 && n >= 2 && n <= l.height - 3;
    if (inside && ((m - 2) & kTileMask) <= kTileSize - 5 && ((n - 2) & kTileMask) <= kTileSize - 5) {
        const ElementAddress at = element_address(store, m - 2, n - 2, level);
        const int32_t tile_width = store.tiles[l.first_tile + ((n - 2) >> kTileShift) * l.tiles_across +
                                               ((m - 2) >> kTileShift)]
                                       .width;
        for (int32_t row = 0; row < 5; ++row)
            for (int32_t column = 0; column < 5; ++column)
                element(store, at.block, size_t(at.index) + size_t(row) * size_t(tile_width) + size_t(column),
                        f[row][column]);
        return;
    }
    for (int32_t row = 0; row < 5; ++row)
        for (int32_t column = 0; column < 5; ++column) {
            const PixelValue v = get_pixel(store, m - 2 + column, n - 2 + row, level);
            f[row][column][0] = v.red, f[row][column][1] = v.green;
            f[row][column][2] = v.blue, f[row][column][3] = v.alpha;
        }
}

float weigh_8bit(const Footprint& f, const int32_t* wx, const int32_t* wy, int32_t c) {
    int64_t sum = 0;
    for (int32_t row = 0; row < 5; ++row)
        for (int32_t column = 0; column < 5; ++column)
            sum += int64_t(wx[column]) * wy[row] * int64_t(f[row][column][c]);
    return float(double(sum) * (1.0 / 4194304.0));  // 2^-22
}

float weigh_16bit(const Footprint& f, const int32_t* wx, const int32_t* wy, int32_t c) {
    int64_t sum = 0;
    for (int32_t row = 0; row < 5; ++row) {
        int64_t across = 0;
        for (int32_t column = 0; column < 5; ++column) across += int64_t(wx[column]) * int64_t(f[row][column][c]);
        sum += wy[row] * (across / 32768);
    }
    return float(double(sum) * (1.0 / 32768.0));
}

float weigh_float(const Footprint& f, const float* wx, const float* wy, int32_t c) {
    float sum = 0.0f;
    for (int32_t row = 0; row < 5; ++row) {
        float across = 0.0f;
        for (int32_t column = 0; column < 5; ++column) across += wx[column] * f[row][column][c];
        sum += wy[row] * across;
    }
    return sum;
}

// Pixel column m - 2 + j takes tap 4 - j of the phase.
template <typename Weight>
void taps(const Weight (&phase)[kTaps], Weight (&out)[kTaps]) {
    for (int32_t j = 0; j < kTaps; ++j) out[j] = phase[kTaps - 1 - j];
}

}  // namespace

PixelValue interpolated_read(const LayerStore& store, int32_t level, float x, float y) {
    if (!store.tiles || level < 0 || level > store.last_level) return {};
    const InterpolationTables& tables = store.tables ? *store.tables : interpolation_tables();
    const Position px = position(x), py = position(y);
    Footprint f;
    gather(store, level, px.pixel, py.pixel, f);
    float out[4];
    if (store.kind == PixelKind::rgba_float) {
        float wx[kTaps], wy[kTaps];
        taps(tables.weights[px.phase], wx);
        taps(tables.weights[py.phase], wy);
        for (int32_t c = 0; c < 4; ++c) out[c] = weigh_float(f, wx, wy, c);
    } else {
        const bool eight = store.kind == PixelKind::rgba8;
        int32_t wx[kTaps], wy[kTaps];
        taps(eight ? tables.weights_2048[px.phase] : tables.weights_32768[px.phase], wx);
        taps(eight ? tables.weights_2048[py.phase] : tables.weights_32768[py.phase], wy);
        for (int32_t c = 0; c < 4; ++c) out[c] = eight ? weigh_8bit(f, wx, wy, c) : weigh_16bit(f, wx, wy, c);
    }
    return {out[0], out[1], out[2], out[3]};
}

PixelValue trilinear_read(const LayerStore& store, int32_t level, float t, float u, float v) {
    if (!store.tiles) return {};
    const int32_t b = level < 0 ? 0 : (level > store.last_level - 1 ? store.last_level - 1 : level);
    const StoreLevel& near = store.levels[b];
    PixelValue r = interpolated_read(store, b, u * near.width_f - 0.5f, v * near.height_f - 0.5f);
    if (t != 0.0f) {
        const StoreLevel& far = store.levels[b + 1];
        const PixelValue s = interpolated_read(store, b + 1, u * far.width_f - 0.5f, v * far.height_f - 0.5f);
        r = {r.red + t * (s.red - r.red), r.green + t * (s.green - r.green), r.blue + t * (s.blue - r.blue),
             r.alpha + t * (s.alpha - r.alpha)};
    }
    const float k = store.inv_scale;
    return {r.red * k, r.green * k, r.blue * k, r.alpha * k};
}

}  // namespace corvanthe
