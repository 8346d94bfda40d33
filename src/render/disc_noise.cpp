#include "render/disc_noise.h"

#include "render/integer_math.h"
#include "render/swirl_push.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvanthe {

namespace {

int32_t rnd(const NoiseTables& t, int32_t i) { return t.random[i & 2047]; }

// c * (v + add), wrapping.
int32_t scaled(int32_t c, int32_t v, int32_t add) { return wrap_mul(c, wrap_add(v, add)); }

// The noise functions proper, inlined into their callers' loops (they run many times a pixel).
[[gnu::always_inline]] inline int32_t noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt) {
    const int32_t wx = t.fade[a & 511];
    const int32_t wy = t.fade[b & 511];
    const int32_t h = int32_t(uint16_t(salt)) + 29 * ((a >> 9) & 2047) + 37 * ((b >> 9) & 2047);
    const int32_t top_left = rnd(t, h), top_right = rnd(t, h + 29);
    const int32_t bottom_left = rnd(t, h + 37), bottom_right = rnd(t, h + 66);
    const int32_t top = (wx * top_right + top_left * (511 - wx)) >> 5;
    const int32_t bottom = (wx * bottom_right + bottom_left * (511 - wx)) >> 5;
    return ((top * (511 - wy) + wy * bottom) >> 7) - 8192;
}

[[gnu::always_inline]] inline int32_t surface(const NoiseTables& t, int32_t a, int32_t b) {
    const int32_t c = noise(t, scaled(4, a, 1), scaled(4, b, 1), 1136);
    const int32_t d = noise(t, scaled(16, a, 4), scaled(16, b, 4), 0);
    const int32_t e = noise(t, wrap_add(a, 1), wrap_add(b, 1), 403);
    const int32_t f = noise(t, wrap_mul(8, a), wrap_mul(8, b), 184);
    int32_t s = (d + 2 * c + e) * 5 + 7 * f;
    if (t.octave_mode == 1) {
        s += 3 * noise(t, scaled(32, a, 3), scaled(32, b, 3), 885);
    } else if (t.octave_mode == 2) {
        s += 3 * noise(t, scaled(32, a, 3), scaled(32, b, 3), 1456) +
             2 * noise(t, scaled(64, a, 2), scaled(64, b, 2), 175);
    }
    return absolute((s >> 9) - 25);
}

[[gnu::always_inline]] inline int32_t streak(const NoiseTables& t, int32_t a, int32_t b, int32_t k) {
    const uint32_t grain = uint32_t(k) & 0xFFFFFFu;
    const int32_t d = int32_t(grain * (uint32_t(a) & 0xFFFFFu)) >> 7;
    const int32_t e = int32_t(grain * (uint32_t(b) & 0xFFFFFu)) >> 7;
    const int32_t f = (e >> 2) & 0xFFFFE;
    const int32_t g = (d >> 2) & 0xFFFFD;
    auto index = [](int32_t p, int32_t q) { return wrap_add(wrap_mul(p >> 4, 39), wrap_mul(q >> 4, 57)); };
    return (rnd(t, index(wrap_sub(d, f), wrap_sub(e, g))) + rnd(t, index(wrap_add(d, f), wrap_add(e, g)))) >> 1;
}

#if defined(__SSE2__)

// noise() of the four positions (A + i step, B), one a lane, with salt. The weights pair up
// with the corner values in 16-bit halves (fade 0..511, random 0..255, top and bottom
// 0..4072), so each interpolation is one exact 16-bit multiply-add.
[[gnu::always_inline]] inline __m128i noise4(const NoiseTables& t, int32_t A, int32_t step, int32_t B, int32_t salt) {
    const int32_t wy = t.fade[B & 511];
    const int32_t row = int32_t(uint16_t(salt)) + 37 * ((B >> 9) & 2047);
    int32_t a[4];
    for (int i = 0; i < 4; ++i) a[i] = wrap_add(A, wrap_mul(i, step));
    const __m128i wx = _mm_set_epi32(t.fade[a[3] & 511], t.fade[a[2] & 511], t.fade[a[1] & 511], t.fade[a[0] & 511]);
    const __m128i across = _mm_or_si128(wx, _mm_slli_epi32(_mm_sub_epi32(_mm_set1_epi32(511), wx), 16));
    auto corners = [&](int i, int32_t offset_low, int32_t offset_high) {
        const int32_t h = row + 29 * ((a[i] >> 9) & 2047);
        return rnd(t, h + offset_low) | rnd(t, h + offset_high) << 16;
    };
    __m128i top_pairs, bottom_pairs;
    if (((a[0] >> 9) & 2047) == ((a[3] >> 9) & 2047)) {
        // The four lie in one cell (they span under 512 units): its corners serve every lane.
        top_pairs = _mm_set1_epi32(corners(0, 29, 0));
        bottom_pairs = _mm_set1_epi32(corners(0, 66, 37));
    } else {
        top_pairs = _mm_set_epi32(corners(3, 29, 0), corners(2, 29, 0), corners(1, 29, 0), corners(0, 29, 0));
        bottom_pairs = _mm_set_epi32(corners(3, 66, 37), corners(2, 66, 37), corners(1, 66, 37), corners(0, 66, 37));
    }
    const __m128i top = _mm_srai_epi32(_mm_madd_epi16(across, top_pairs), 5);
    const __m128i bottom = _mm_srai_epi32(_mm_madd_epi16(across, bottom_pairs), 5);
    const __m128i down = _mm_set1_epi32((511 - wy) | wy << 16);
    const __m128i both = _mm_or_si128(top, _mm_slli_epi32(bottom, 16));
    return _mm_sub_epi32(_mm_srai_epi32(_mm_madd_epi16(both, down), 7), _mm_set1_epi32(8192));
}

// Lanes of noise (-8192..8064, so 16-bit) times a small weight: one exact multiply-add with
// the upper halves weighted 0.
__m128i weighted(__m128i noise, int32_t weight) { return _mm_madd_epi16(noise, _mm_set1_epi32(weight)); }

#endif

}  // namespace

void surface_values4(const NoiseTables& t, int32_t a, int32_t b, int32_t (&out)[4]) {
#if defined(__SSE2__)
    // The octaves of surface(), each at its scale: positions a + i are scale apart there.
    auto octave = [&](int32_t scale, int32_t add, int32_t salt) {
        return noise4(t, scaled(scale, a, add), scale, scaled(scale, b, add), salt);
    };
    // (d + 2 c + e) 5 + 7 f, and the fine octaves: no sum leaves 32 bits, so any order is exact.
    __m128i s = _mm_add_epi32(_mm_add_epi32(weighted(octave(4, 1, 1136), 10), weighted(octave(16, 4, 0), 5)),
                              _mm_add_epi32(weighted(octave(1, 1, 403), 5), weighted(octave(8, 0, 184), 7)));
    if (t.octave_mode == 1) {
        s = _mm_add_epi32(s, weighted(octave(32, 3, 885), 3));
    } else if (t.octave_mode == 2) {
        s = _mm_add_epi32(s, _mm_add_epi32(weighted(octave(32, 3, 1456), 3), weighted(octave(64, 2, 175), 2)));
    }
    const __m128i v = _mm_sub_epi32(_mm_srai_epi32(s, 9), _mm_set1_epi32(25));
    const __m128i sign = _mm_srai_epi32(v, 31);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_sub_epi32(_mm_xor_si128(v, sign), sign));
#else
    for (int i = 0; i < 4; ++i) out[i] = surface(t, wrap_add(a, i), b);
#endif
}

int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt) { return noise(t, a, b, salt); }

int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b) { return surface(t, a, b); }

void fill_surface_cache(const NoiseTables& t, PositionCache& surfaces) {
    surfaces.fill([&](int32_t a, int32_t b) { return surface(t, a, b); });
}

int32_t smear_line(const NoiseTables& t, int32_t a0, int32_t b0, int32_t c, int32_t d, PositionCache* surfaces) {
    // Positions run in 64 bits so a walk never overflows; samples wrap to 32 bits.
    int64_t a = a0, b = b0;
    const int64_t dx = absolute(int64_t(c) - a), dy = absolute(int64_t(d) - b);
    const int64_t step = t.noise_step < 1 ? 1 : t.noise_step;
    const int64_t x_step = sign(int64_t(c) - a) * step, y_step = sign(int64_t(d) - b) * step;
    auto compute = [&](int32_t p, int32_t q) { return surface(t, p, q); };
    auto four = [&](int32_t p, int32_t q, int32_t (&out)[4]) { surface_values4(t, p, q, out); };
    // With unit steps the lines of neighbouring pixels cross the neighbours of a position too,
    // so a miss fills four of them.
    auto sample = [&] {
        const int32_t p = wrap32(a), q = wrap32(b);
        if (!surfaces) return int64_t(compute(p, q));
        return int64_t(step == 1 ? surfaces->get_in_fours(p, q, four) : surfaces->get(p, q, compute));
    };

    int64_t total = sample(), n = 1;
    if (2 * dy < 2 * dx) {
        int64_t error = 2 * dy - dx;
        while (x_step > 0 ? a < c : a > c) {
            a += x_step;
            const bool stepped = error >= 0;
            if (stepped) b += y_step;
            error = 2 * dy + (stepped ? error - 2 * dx : error);
            ++n;
            total += sample();
        }
    } else {
        int64_t error = 2 * dx - dy;
        while (y_step > 0 ? b < d : b > d) {
            b += y_step;
            const bool stepped = error >= 0;
            if (stepped) a += x_step;
            error = 2 * dx + (stepped ? error - 2 * dy : error);
            ++n;
            total += sample();
        }
    }
    return int32_t(total / n);
}

int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b, PositionCache* surfaces, const SwirlPush* push) {
    if (!t.vortices && !t.monopoles) return clamp_to(surface(t, a, b), 0, 255);
    const SwirlPush p = push ? *push : swirl_push(t, a, b);
    return clamp_to(smear_line(t, a, b, wrap_add(a, p.x), wrap_add(b, p.y), surfaces), 0, 255);
}

int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k) { return streak(t, a, b, k); }

int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k) {
    return streak_walk(a, b, c, d, [&](int32_t p, int32_t q) { return streak(t, p, q, k); });
}

}  // namespace corvanthe
