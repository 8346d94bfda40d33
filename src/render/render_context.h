#pragma once
// The render context: the settings of one render, brought into range, and every
// table that render_prepare derives from them. Jobs only read it.
#include <array>
#include <cstdint>

#include "render/disc_noise.h"
#include "render/spectral_colours.h"
#include "render/sphere_map.h"
#include "settings/sun_settings.h"

namespace corvanthe {

// Bottom and right are exclusive.
struct RenderRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The depth class of the target image decides the colour ceiling and output scale.
enum class DepthClass : int32_t { Eight, Sixteen, Float };

struct DepthConstants {
    int32_t ceiling;         // highest channel value after the bleed
    float output_divisor;    // channel / divisor is written to the cell
    float alpha;             // the fourth output value
    int32_t brightness_divisor;  // master brightness: 25, or 25 x 129 on 8-bit targets
};
constexpr DepthConstants depth_constants(DepthClass depth) {
    switch (depth) {
    case DepthClass::Eight: return {255, 255.0f, 255.0f, 25 * 129};
    case DepthClass::Sixteen: return {32768, 32768.0f, 32768.0f, 25};
    case DepthClass::Float: break;
    }
    // Floats hold the 16-bit scale's colours over 32768, so that 1.0 is full intensity and
    // the ceiling comes out just under 2.0.
    return {65535, 32768.0f, 1.0f, 25};
}

// What the caller decides about a render. Pixel coordinates of the pieces and the
// cell buffers are those of the target; the sun centre is placed in the same ones.
struct RenderRequest {
    RenderRect rect;             // render rectangle in pixels of the target image
    int32_t image_width = 0;     // of the target image (render mode 2 zooms by it)
    int32_t image_height = 0;
    int32_t render_mode = 0;     // 0 host image, 1 dialog preview, 2 layered store
    int32_t scale_divisor = 1;   // 1 at full size, larger for a reduced preview
    int32_t view_origin_x = 0;   // image position of the preview's top-left corner
    int32_t view_origin_y = 0;
    DepthClass depth = DepthClass::Sixteen;
};

struct Direction {
    int32_t angle = 0;     // whole degrees from +x towards +y
    double length = 0;
};

// Ring limits and per-job constants of the pixel kernel, in quarter pixels of the target.
struct KernelRings {
    double zoom = 1;
    int64_t centre_x = 0;       // sun centre in target pixels
    int64_t centre_y = 0;
    int32_t spike_count = 0;
    int32_t flare_count = 0;
    int32_t flare_width = 0;    // angle units
    int32_t flare_gain = 0;
    int64_t flare_grain = 0;
    int64_t disc_edge = 0;      // h
    int64_t halo_outer = 1;     // l
    int64_t halo_width = 1;
    int64_t bow_inner = 1;      // m
    int64_t bow_width = 1;      // o
    int64_t bow_outer = 1;
    int64_t flare_reach = 1;    // t
    int64_t flare_inner = 1;
    int64_t flare_outer = 1;
    int64_t rim_outer = 1;
    int64_t limb_start = 1;
    int32_t spike_reach = 0;
};

constexpr int kSpikeLines = 256;
constexpr int kFlareAngles = 100;
constexpr int kSpikeProfileSize = 301;

struct RenderContext {
    SunSettings settings{};      // the caller's settings with every value in range
    RenderRequest request;       // with the scale divisor in range
    DepthConstants depth{};

    NoiseTables noise;           // random table, fade curve, swirl centres and scales
    int32_t halo[3][256] = {};
    int32_t flare[3][256] = {};
    int32_t disc[3][256] = {};   // the cold/hot ramp
    int32_t spike_profile[kSpikeProfileSize] = {};
    SpectralTables spectral;

    Direction spike_direction;   // steered by "flare X"/"flare Y"
    Direction flare_direction;   // steered by "spike X"/"spike Y"
    int32_t flare_angles[kFlareAngles] = {};
    int32_t spike_a[kSpikeLines] = {};
    int32_t spike_b[kSpikeLines] = {};
    int32_t spike_c[kSpikeLines] = {};
    int32_t spike_d[kSpikeLines] = {};

    int32_t centre_x = 0;        // in pixels of the render rectangle
    int32_t centre_y = 0;
    int32_t disc_radius = 1;     // R
    double noise_scale = 0;      // v
    SphereMap sphere_map;        // zoom of the disc texture by radius 0..R
    KernelRings rings;

    int32_t job_buffers = 1;     // cell buffers per job; the kernel writes the first
    bool ready = false;          // set by a successful render_prepare
};

}  // namespace corvanthe
