#include "layers/resample.h"

#include <algorithm>

#include "layers/interpolated_read.h"
#include "layers/level_filter.h"
#include "platform/portable_math.h"

namespace corvanthe {
namespace {

float clamp(float v, float high) { return v >= 0.0f ? std::min(v, high) : 0.0f; }  // NaN becomes 0

// Floats as the destination can hold them: colour up to the float ceiling and alpha 0..1 for a float store,
// 0..1 otherwise.
PixelValue clamped_for(const LayerStore& destination, const PixelValue& r) {
    const float ceiling = destination.kind == PixelKind::rgba_float ? kFloatColourCeiling : 1.0f;
    return {clamp(r.red, ceiling), clamp(r.green, ceiling), clamp(r.blue, ceiling), clamp(r.alpha, 1.0f)};
}

}  // namespace

LevelChoice resample_level(float ratio, float bias, int32_t last_level) {
    float level = float(pmath::log2(ratio)) - bias;
    level = level >= 0.0f ? std::min(level, float(last_level)) : 0.0f;
    const int32_t whole = int32_t(level);
    return {whole, level - float(whole)};
}

bool resample(const LayerStore& source, LayerStore& destination, const sdk::VRect& source_rect,
              const sdk::VRect& destination_rect, float bias, JobRunner& runner) {
    const int32_t width = destination_rect.right - destination_rect.left;
    const int32_t height = destination_rect.bottom - destination_rect.top;
    const int32_t source_width = source_rect.right - source_rect.left;
    if (!source.tiles || !destination.tiles || width <= 0 || height <= 0 || source_width <= 0) return false;
    const LevelChoice choice = resample_level(float(source_width) / float(width), bias, source.last_level);
    // Only level 0 holds the image until the levels are built from it.
    const bool reads_levels = choice.level > 0 || choice.fraction > 0.0f;
    if (reads_levels && source.level_state != kLevelsBuilt) return false;
    for (int32_t i = 0; i < height; ++i) {
        const float v = float(2 * int64_t(i) + 1) / (2.0f * float(height));
        for (int32_t j = 0; j < width; ++j) {
            const float u = float(2 * int64_t(j) + 1) / (2.0f * float(width));
            write_texel(destination, destination_rect.left + j, destination_rect.top + i, 0,
                        clamped_for(destination, trilinear_read(source, choice.level, choice.fraction, u, v)));
        }
    }
    return build_levels(destination, 0, runner);
}

bool copy_store(const LayerStore& source, LayerStore& destination, JobRunner& runner) {
    if (!source.tiles || !destination.tiles) return false;
    if (!same_level0_size(source, destination))
        return resample(source, destination, level_rect(&source, 0), level_rect(&destination, 0), 0.5f, runner);
    const bool same_kind = source.kind == destination.kind;
    for (int32_t y = 0; y < source.levels[0].height; ++y)
        for (int32_t x = 0; x < source.levels[0].width; ++x) {
            if (same_kind)
                set_pixel(destination, x, y, 0, get_pixel(source, x, y, 0));
            else
                write_texel(destination, x, y, 0, clamped_for(destination, read_texel(source, x, y, 0)));
        }
    return build_levels(destination, 0, runner);
}

}  // namespace corvanthe
