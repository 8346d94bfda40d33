#include "render/pixel_kernel.h"

#include <algorithm>
#include <cmath>

#include "render/integer_math.h"

namespace corvanthe {

namespace {

// Whether any flare could light the pixel at the brightest streak value (255): the light
// grows with the streak value, so where none could, the streak value does not matter.
bool flares_may_light(const RenderContext& c, int64_t F, int64_t angle) {
    for (int n = 0; n < c.rings.flare_count; ++n) {
        const int64_t u = flare_offset(c, n, angle);
        if (u >= 0 && flare_light(c.rings, u, F, 255) > 0) return true;
    }
    return false;
}

void add_flares(const RenderContext& c, int64_t x, int64_t y, int64_t F, int64_t dx, int64_t dy, bool skip_dark,
                LightSum& sum) {
    const KernelRings& k = c.rings;
    const int64_t angle = diamond_angle(dx, dy);
    // With no flare lit the streak value is multiplied away: 0 gives the same light.
    const int64_t g = skip_dark && !flares_may_light(c, F, angle) ? 0 : flare_streak(c, x, y, F, dx, dy);
    int64_t light = 0;
    for (int n = 0; n < k.flare_count; ++n) {
        const int64_t u = flare_offset(c, n, angle);
        if (u < 0) continue;
        const int64_t v = flare_light(k, u, F, g);
        if (v > 0) light += v;
    }
    add_flare_colour(c, flare_strength(k, g, light), sum);
}

}  // namespace

int64_t diamond_angle(int64_t dx, int64_t dy) {
    if (dx == 0 && dy == 0) return 0;
    const int64_t e = divide(4096 * (4 * dy), 4 * absolute(dx) + 4 * absolute(dy));
    if (dx < 0) return 8192 - e;       // pixel right of the centre
    if (dy < 0) return e + kTurn;      // pixel below the centre
    return e;
}

int64_t spike_weight(const RenderContext& c, int64_t F, int ch) {
    const int64_t J = c.request.scale_divisor * c.rings.spike_reach * F / 50;
    const int64_t i0 = std::min<int64_t>(J >> 2, kSpikeSteps - 1);
    const int64_t i1 = std::min<int64_t>(i0 + 1, kSpikeSteps - 1);
    const int64_t f = J % 4;
    // The weights add to 3, not 4.
    return f * c.spectral.spike[ch][i1] + (3 - f) * c.spectral.spike[ch][i0];
}

int64_t halo_light(const RenderContext& c, int64_t F, int ch) {
    const int64_t q = ((c.rings.halo_outer - F) * 32768) / c.rings.halo_width;
    return table_lookup(c.halo[ch], q) >> 7;
}

int64_t bow_light(const RenderContext& c, int64_t F, int ch) {
    const int64_t M = (F - c.rings.bow_inner) * 800 / c.rings.bow_width;
    const int64_t i0 = std::min<int64_t>(M >> 2, kBowSteps - 1);
    const int64_t i1 = std::min<int64_t>(i0 + 1, kBowSteps - 1);
    const int64_t f = M % 4;
    return ((f * c.spectral.bow[ch][i1] + (3 - f) * c.spectral.bow[ch][i0]) * 129) >> 1;
}

StreakLine flare_line(const RenderContext& c, int64_t x, int64_t y, int64_t F, int64_t dx, int64_t dy) {
    const KernelRings& k = c.rings;
    const int64_t px = x - k.centre_x, py = y - k.centre_y;
    return {wrap32(px), wrap32(py), wrap32(px + divide(dx * 120, F)), wrap32(py + divide(dy * 120, F))};
}

int64_t flare_streak(const RenderContext& c, int64_t x, int64_t y, int64_t F, int64_t dx, int64_t dy) {
    const StreakLine line = flare_line(c, x, y, F, dx, dy);
    return radial_streak(c.noise, line.a, line.b, line.c, line.d, wrap32(c.rings.flare_grain));
}

int64_t flare_strength(const KernelRings& k, int64_t g, int64_t light) {
    const int64_t q = (g * light) >> 8;
    if (q < 0) return 0;
    // The product is taken in 32 bits; a wrap to a negative value gives no light.
    const int32_t product = wrap32(q * k.flare_gain);
    return product < 0 ? 0 : std::min<int64_t>(product / 2, 32768);
}

void add_flare_colour(const RenderContext& c, int64_t strength, LightSum& sum) {
    for (int ch = 0; ch < 3; ++ch) sum.c[ch] += table_lookup(c.flare[ch], strength);
}

TexturePosition disc_texture_position(const RenderContext& c, int64_t x, int64_t y, int64_t F) {
    const KernelRings& k = c.rings;
    const double zoom = c.sphere_map[int32_t(std::min<int64_t>(c.disc_radius, F / 4))];
    return {wrap32(trunc_int64(zoom * 16 * double(x - k.centre_x) / 1024)),
            wrap32(trunc_int64(zoom * 16 * double(y - k.centre_y) / 1024))};
}

LightSum disc_colour(const RenderContext& c, int64_t x, int64_t y, int64_t F, SurfaceCache* surfaces,
                     const SwirlPush* push) {
    LightSum colour;
    switch (c.settings.sun_type) {
    case kSunFlat:
        for (int ch = 0; ch < 3; ++ch) {
            const int64_t v = c.disc[ch][255];
            colour.c[ch] = v < 255 ? (v << 7) | (v >> 1) : 32768;
        }
        break;
    case kSunEclipse:
        break;
    default: {
        const KernelRings& k = c.rings;
        const TexturePosition p = disc_texture_position(c, x, y, F);
        int64_t O = int64_t(disc_surface(c.noise, p.a, p.b, surfaces, push)) * 129;
        // The limb darkens linearly to the rim.
        if (F > k.limb_start) O = (k.rim_outer - F) * O / (k.rim_outer - k.limb_start);
        for (int ch = 0; ch < 3; ++ch) colour.c[ch] = table_lookup(c.disc[ch], O);
    }
    }
    return colour;
}


int64_t table_lookup(const int32_t (&table)[256], int64_t v) {
    const uint32_t m = uint32_t(uint64_t(std::max<int64_t>(v, 0)) & 0xFFFF);
    // m + 1 = 65536 would index past the table; it belongs with the top entry.
    const uint32_t i = ((m + 1) & 0x8000) ? 255 : std::min<uint32_t>((m + 1) >> 7, 255);
    const int64_t f = m % 128;
    return std::max<int64_t>(0, (128 - f) * table[i] + f * table[std::min<uint32_t>(i + 1, 255)]);
}

int64_t spike_light(const RenderContext& c, int64_t dx, int64_t dy) {
    int64_t sum = 0;
    for (int k = 0; k < c.rings.spike_count; ++k) sum += spike_term(c, k, dx, dy);
    return sum;
}

void render_pixel(const RenderContext& c, int32_t x, int32_t y, const PixelHints& hints, CellBuffer& buffer) {
    const KernelRings& k = c.rings;
    const int64_t ceiling = c.depth.ceiling;
    const int64_t master = c.settings.master_brightness;
    const int64_t dx = k.centre_x - x, dy = k.centre_y - y;
    const int64_t F = trunc_int64(std::sqrt(16.0 * (double(dx) * double(dx) + double(dy) * double(dy))));

    LightSum sum;
    if (F >= k.disc_edge) {
        const int64_t S = hints.spike ? *hints.spike : spike_light(c, dx, dy);
        for (int ch = 0; ch < 3; ++ch) sum.c[ch] += (spike_weight(c, F, ch) * S) >> 3;
    }
    if (k.disc_edge <= F && F < k.halo_outer)
        for (int ch = 0; ch < 3; ++ch) sum.c[ch] += halo_light(c, F, ch);
    if (k.flare_inner <= F && F < k.flare_outer) add_flares(c, x, y, F, dx, dy, hints.skip_dark_streaks, sum);
    if (k.bow_inner <= F && F < k.bow_outer)
        for (int ch = 0; ch < 3; ++ch) sum.c[ch] += bow_light(c, F, ch);

    uint32_t coverage = 4;
    bool in_rim = false;
    LightSum rim;
    if (F < k.rim_outer) {
        const LightSum disc = disc_colour(c, x, y, F);
        if (F < k.disc_edge) {
            for (int ch = 0; ch < 3; ++ch) sum.c[ch] += disc.c[ch];
            coverage = 0;
        } else {
            // The rim band: the disc colour is held back and blended in below.
            for (int ch = 0; ch < 3; ++ch) rim.c[ch] = disc.c[ch] * master / c.depth.brightness_divisor;
            coverage = uint32_t(F - k.disc_edge);
            in_rim = true;
        }
    }
    for (int64_t& v : sum.c) v = master * v / c.depth.brightness_divisor;
    bleed(sum, ceiling, true);

    LightSum out = sum;
    if (in_rim) {
        bleed(rim, ceiling, false);
        for (int ch = 0; ch < 3; ++ch) out.c[ch] = (sum.c[ch] * coverage + rim.c[ch] * (4 - coverage)) / 4;
    }
    write_colour(buffer, x, y, float(out.c[0]) / c.depth.output_divisor, float(out.c[1]) / c.depth.output_divisor,
                 float(out.c[2]) / c.depth.output_divisor, c.depth.alpha);
    const uint32_t aux[4] = {0, 0, coverage, 0};
    write_auxiliary(buffer, x, y, aux);
}

void render_piece(const RenderContext& c, const RenderRect& piece, CellBuffer& buffer) {
    if (!c.ready) return;
    for (int32_t y = piece.top; y < piece.bottom; ++y)
        for (int32_t x = piece.left; x < piece.right; ++x) render_pixel(c, x, y, PixelHints{}, buffer);
}

}  // namespace corvanthe
