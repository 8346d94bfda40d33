#pragma once
// The pixel kernel: renders one job's piece of the sun into the job's first cell buffer.
#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "layers/cell_buffer.h"
#include "render/integer_math.h"
#include "render/render_context.h"

namespace corvanthe {

constexpr int64_t kTurn = 16384;  // angle units per turn

// Light sums of red, green and blue, 32768 being full intensity.
struct LightSum {
    int64_t c[3] = {0, 0, 0};
};

// Colour table look-up with 7-bit interpolation between neighbouring entries.
int64_t table_lookup(const int32_t (&table)[256], int64_t v);

// Diamond angle of the offset (dx, dy) = centre - pixel, 0..16384.
int64_t diamond_angle(int64_t dx, int64_t dy);

// The parts of a pixel's light that depend on its distance F alone (F inside each ring):
// the spike colour weight (times S, >> 3, gives the spike light), the halo and the bow.
int64_t spike_weight(const RenderContext& c, int64_t F, int ch);
int64_t halo_light(const RenderContext& c, int64_t F, int ch);
int64_t bow_light(const RenderContext& c, int64_t F, int ch);

// A flare's open span of angles (s, s + W) starts anywhere in -4096..20479 (its direction
// plus a jitter of up to a quarter turn either way), so angles low..high meet it when they do
// as they are, a turn on or a turn back. The turn that brings them into the span, or
// kNoTurn when none does (with low = high, the turn that brings one angle into it).
constexpr int64_t kNoTurn = 1;
inline int64_t turn_into_flare_span(int64_t s, int64_t W, int64_t low, int64_t high) {
    for (const int64_t turn : {int64_t(0), kTurn, -kTurn})
        if (s < high + turn && low + turn < s + W) return turn;
    return kNoTurn;
}

// The angle's offset into flare n, folded to the distance from the flare's nearer edge;
// -1 when the angle lies outside the flare.
inline int64_t flare_offset(const RenderContext& c, int n, int64_t angle) {
    const int64_t s = c.flare_angles[n], W = c.rings.flare_width;
    const int64_t turn = turn_into_flare_span(s, W, angle, angle);
    if (turn == kNoTurn) return -1;
    int64_t u = angle + turn - s;
    if (u > (W >> 1)) u = (W & ~int64_t(1)) - u;
    return u;
}

// The light of one flare at offset u with streak value g; only a positive value counts.
inline int64_t flare_light(const KernelRings& k, int64_t u, int64_t F, int64_t g) {
    const int64_t half = k.flare_width >> 1;
    return ((((u * u) / half) * (k.flare_outer - F) * g) / (half * k.flare_reach)) * 2 - 80;
}

// The line whose streak values the flares at pixel (x, y) take, (dx, dy) = centre - pixel,
// F > 0: from the pixel about 30 pixels towards the centre, in streak positions.
struct StreakLine {
    int32_t a, b, c, d;
};
StreakLine flare_line(const RenderContext& c, int64_t x, int64_t y, int64_t F, int64_t dx, int64_t dy);

// The streak value g of the flares at pixel (x, y).
int64_t flare_streak(const RenderContext& c, int64_t x, int64_t y, int64_t F, int64_t dx, int64_t dy);

// The flare strength from the streak value and the summed light of the lit flares, and
// its colour added to the sums.
int64_t flare_strength(const KernelRings& k, int64_t g, int64_t light);
void add_flare_colour(const RenderContext& c, int64_t strength, LightSum& sum);

// The disc texture position of pixel (x, y) at distance F (F inside the rim).
struct TexturePosition {
    int32_t a, b;
};
TexturePosition disc_texture_position(const RenderContext& c, int64_t x, int64_t y, int64_t F);

// The disc's colour at pixel (x, y) at distance F (F inside the rim); with the surface values
// of `surfaces` and the texture position's swirl push `push` when given.
LightSum disc_colour(const RenderContext& c, int64_t x, int64_t y, int64_t F, SurfaceCache* surfaces = nullptr,
                     const SwirlPush* push = nullptr);

// Light above the ceiling in one channel turns the other two up, so overdriven light
// goes white; with `full`, a second pass passes on what those two overflow in turn. Then
// every channel is clamped to 0..ceiling.
inline void bleed(LightSum& rgb, int64_t ceiling, bool full) {
    int mask = 0;
    int64_t excess = 0;
    for (int ch = 0; ch < 3; ++ch)
        if (rgb.c[ch] > ceiling) {
            mask |= 1 << ch;
            excess += rgb.c[ch] - ceiling;
        }
    const int64_t X = (3 * excess * 60) >> 8, Y = X >> 1;
    int64_t& r = rgb.c[0];
    int64_t& g = rgb.c[1];
    int64_t& b = rgb.c[2];
    auto pass_on = [&](int64_t& first, int64_t& second) {
        if (!full) return;
        if (first > ceiling) second += first - ceiling;
        if (second > ceiling) first += second - ceiling;
    };
    switch (mask) {
    case 1: g += Y; b += Y; pass_on(g, b); break;
    case 2: r += Y; b += Y; pass_on(r, b); break;
    case 4: r += Y; g += Y; pass_on(r, g); break;
    case 3: b += X; break;
    case 5: g += X; break;
    case 6: r += X; break;
    default: break;
    }
    for (int64_t& v : rgb.c) v = std::clamp<int64_t>(v, 0, ceiling);
}

// The light of a spike at the signed distances across it (dx B + dy A) and along it
// (dx D - dy C): 0 off the spike's strip, and 0 where |along| > kSpikeAlongReach (the fall
// below is then under 1).
constexpr int64_t kSpikeAlongReach = 32640 - 128;
inline int64_t spike_light_at(const RenderContext& c, int64_t across, int64_t along) {
    across = absolute(across);
    if (across > 300) return 0;
    const int64_t w = c.spike_profile[300 - across];
    const int64_t fall = (32640 - absolute(along)) >> 7;
    return fall > 0 ? (fall * w) >> 8 : 0;
}

// The light of spike k at the offset (dx, dy) = centre - pixel.
inline int64_t spike_term(const RenderContext& c, int k, int64_t dx, int64_t dy) {
    return spike_light_at(c, dx * c.spike_b[k] + dy * c.spike_a[k], dx * c.spike_d[k] - dy * c.spike_c[k]);
}

// The spike light S at (dx, dy): every spike below the spike count summed.
int64_t spike_light(const RenderContext& c, int64_t dx, int64_t dy);

// What a caller knows or may skip of a pixel; the defaults are the plain kernel.
struct PixelHints {
    const int64_t* spike = nullptr;   // the pixel's spike light S when summed already; null: sum here
    bool skip_dark_streaks = false;   // no streak noise where no flare could light the pixel
};

// Renders pixel (x, y) into the cell buffer; S is read only outside the disc edge.
void render_pixel(const RenderContext& c, int32_t x, int32_t y, const PixelHints& hints, CellBuffer& buffer);

// Renders the pixels of `piece` (target pixels; bottom and right exclusive): their
// colours go to the cells' colour words, their disc coverage (0 inside, 1..3 on the
// rim, 4 outside) to aux[2]. Draws nothing when the context is not ready.
void render_piece(const RenderContext& context, const RenderRect& piece, CellBuffer& buffer);

}  // namespace corvanthe
