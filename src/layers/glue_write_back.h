#pragma once
// The glue write-back: prepares one sun pixel for its destination, blends it with the
// pixel under it (glue kernel), applies the preview backdrop and the selection, and writes.
#include <cstdint>

#include "layers/glue_destination.h"
#include "layers/pixel_value.h"

namespace corvanthe {

struct GlueSetup {
    int32_t mode = 1;                    // GlueMode from the settings record
    int32_t render_mode = 0;             // 0 host image, 1 dialog preview, 2 LayerStore
    bool float_destination = false;      // 32-bit host image, or a float LayerStore
    bool grey = false;                   // host image with fewer than three planes
    bool editable_transparency = false;  // host filter cases 4 and 5
};

// Light above 1.0 in one or two channels spills into the others, so over-driven light
// turns white instead of saturating in its own hue.
void overflow_bleed(PixelValue& sun);

// The preview backdrop: 8 × 8 squares of grey 1.0 and 0.8, 1.0 at (0, 0).
PixelValue checkerboard(int32_t x, int32_t y);

// The value written at (x, y) for sun pixel S with coverage k over host pixel H, with the
// selection value m.
PixelValue glue_pixel(int32_t x, int32_t y, PixelValue sun, int32_t k, const PixelValue& host, float mask,
                      const GlueSetup& setup);

// Reads H and the selection from the destination and writes glue_pixel's result.
void glue_write_back(int32_t x, int32_t y, const PixelValue& sun, int32_t k, const GlueSetup& setup,
                     GlueDestination& destination);

// The most pixels of one run.
constexpr int32_t kGlueRunLength = 256;

// The write-back of the pixels (x0 + i, y), i < count <= kGlueRunLength, with sun pixels
// suns[i] and coverages k[i]: every H and selection is read before the first write.
void glue_run(int32_t x0, int32_t y, int32_t count, const PixelValue* suns, const int32_t* k, const GlueSetup& setup,
              GlueDestination& destination);

}  // namespace corvanthe
