#include "render/disc_noise.h"

#include "render/integer_math.h"
#include "render/surface_cache.h"
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

// One octave of the surface sum: weight x noise at scale x (position + add), with salt.
struct Octave {
    int32_t scale, add, salt, weight;
};
// (d + 2 c + e) 5 + 7 f, then the fine octaves of mode 1 (one) or mode 2 (two).
constexpr Octave kOctaves[] = {{4, 1, 1136, 10}, {16, 4, 0, 5},   {1, 1, 403, 5},  {8, 0, 184, 7},
                               {32, 3, 885, 3},  {32, 3, 1456, 3}, {64, 2, 175, 2}};

// Calls add(octave) for every octave of the tables' mode. No sum of them leaves 32 bits, so
// any order of adding is exact.
template <typename Add>
void for_each_octave(const NoiseTables& t, Add&& add) {
    for (int i = 0; i < 4; ++i) add(kOctaves[i]);
    if (t.octave_mode == 1) {
        add(kOctaves[4]);
    } else if (t.octave_mode == 2) {
        add(kOctaves[5]);
        add(kOctaves[6]);
    }
}

#if defined(__SSE2__)

// noise() a lane, in three parts. The weights pair up with the corner values in 16-bit halves
// (fade 0..511, random 0..255, top and bottom 0..4072), so each interpolation is one exact
// 16-bit multiply-add.

// Four positions (X + i step) across their cells: the weights wx | (511 - wx) << 16, and
// 29 x the cells, as the hash takes them.
struct Across {
    __m128i weights;
    int32_t cells[4];
};

[[gnu::always_inline]] inline Across across4(const NoiseTables& t, int32_t X, int32_t step) {
    Across x;
    int32_t w[4];
    for (int i = 0; i < 4; ++i) {
        const int32_t a = wrap_add(X, wrap_mul(i, step));
        w[i] = t.fade[a & 511];
        x.cells[i] = 29 * ((a >> 9) & 2047);
    }
    const __m128i wx = _mm_set_epi32(w[3], w[2], w[1], w[0]);
    x.weights = _mm_or_si128(wx, _mm_slli_epi32(_mm_sub_epi32(_mm_set1_epi32(511), wx), 16));
    return x;
}

// The interpolations across of the four positions in the row whose part of the hash is `row`:
// top | bottom << 16.
[[gnu::always_inline]] inline __m128i horizontal(const NoiseTables& t, const Across& x, int32_t row) {
    auto corners = [&](int i, int32_t offset_low, int32_t offset_high) {
        const int32_t h = row + x.cells[i];
        return rnd(t, h + offset_low) | rnd(t, h + offset_high) << 16;
    };
    __m128i top_pairs, bottom_pairs;
    if (x.cells[0] == x.cells[3]) {
        // The four lie in one cell (they span under 512 units): its corners serve every lane.
        top_pairs = _mm_set1_epi32(corners(0, 29, 0));
        bottom_pairs = _mm_set1_epi32(corners(0, 66, 37));
    } else {
        top_pairs = _mm_set_epi32(corners(3, 29, 0), corners(2, 29, 0), corners(1, 29, 0), corners(0, 29, 0));
        bottom_pairs = _mm_set_epi32(corners(3, 66, 37), corners(2, 66, 37), corners(1, 66, 37), corners(0, 66, 37));
    }
    const __m128i top = _mm_srai_epi32(_mm_madd_epi16(x.weights, top_pairs), 5);
    const __m128i bottom = _mm_srai_epi32(_mm_madd_epi16(x.weights, bottom_pairs), 5);
    return _mm_or_si128(top, _mm_slli_epi32(bottom, 16));
}

// The noise of the lanes from their interpolations across and the row's fade weight wy.
[[gnu::always_inline]] inline __m128i vertical(__m128i both, int32_t wy) {
    const __m128i down = _mm_set1_epi32((511 - wy) | wy << 16);
    return _mm_sub_epi32(_mm_srai_epi32(_mm_madd_epi16(both, down), 7), _mm_set1_epi32(8192));
}

int32_t row_hash(int32_t salt, int32_t B) { return int32_t(uint16_t(salt)) + 37 * ((B >> 9) & 2047); }

// Lanes of noise (-8192..8064, so 16-bit) times a small weight: one exact multiply-add with
// the upper halves weighted 0.
__m128i weighted(__m128i noise, int32_t weight) { return _mm_madd_epi16(noise, _mm_set1_epi32(weight)); }

// |(s >> 9) - 25| of the lanes' sums.
__m128i ridge(__m128i s) {
    const __m128i v = _mm_sub_epi32(_mm_srai_epi32(s, 9), _mm_set1_epi32(25));
    const __m128i sign = _mm_srai_epi32(v, 31);
    return _mm_sub_epi32(_mm_xor_si128(v, sign), sign);
}

#endif

}  // namespace

void surface_values4(const NoiseTables& t, int32_t a, int32_t b, int32_t (&out)[4]) {
#if defined(__SSE2__)
    // Each octave at its scale: positions a + i are scale apart there.
    __m128i s = _mm_setzero_si128();
    for_each_octave(t, [&](const Octave& o) {
        const int32_t B = scaled(o.scale, b, o.add);
        const __m128i both = horizontal(t, across4(t, scaled(o.scale, a, o.add), o.scale), row_hash(o.salt, B));
        s = _mm_add_epi32(s, weighted(vertical(both, t.fade[B & 511]), o.weight));
    });
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), ridge(s));
#else
    for (int i = 0; i < 4; ++i) out[i] = surface(t, wrap_add(a, i), b);
#endif
}

void surface_tile(const NoiseTables& t, int32_t a, int32_t b, uint16_t* out, int64_t stride) {
#if defined(__SSE2__)
    __m128i sum[kSurfaceTile][kSurfaceTile / 4] = {};  // by row, then by four columns
    for_each_octave(t, [&](const Octave& o) {
        const int32_t x = scaled(o.scale, a, o.add), y = scaled(o.scale, b, o.add);
        Across columns[kSurfaceTile / 4];
        for (int g = 0; g < kSurfaceTile / 4; ++g) columns[g] = across4(t, wrap_add(x, wrap_mul(4 * g, o.scale)), o.scale);
        __m128i both[kSurfaceTile / 4];
        int32_t cell = -1;
        for (int j = 0; j < kSurfaceTile; ++j) {
            const int32_t B = wrap_add(y, wrap_mul(j, o.scale));
            // The rows of one cell share its corners, so their interpolations across.
            if (((B >> 9) & 2047) != cell) {
                cell = (B >> 9) & 2047;
                for (int g = 0; g < kSurfaceTile / 4; ++g) both[g] = horizontal(t, columns[g], row_hash(o.salt, B));
            }
            const int32_t wy = t.fade[B & 511];
            for (int g = 0; g < kSurfaceTile / 4; ++g)
                sum[j][g] = _mm_add_epi32(sum[j][g], weighted(vertical(both[g], wy), o.weight));
        }
    });
    // Surface values are 0..537: the signed 16-bit packing keeps them.
    for (int j = 0; j < kSurfaceTile; ++j)
        for (int g = 0; g < kSurfaceTile / 4; g += 2)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j * stride + 4 * g),
                             _mm_packs_epi32(ridge(sum[j][g]), ridge(sum[j][g + 1])));
#else
    for (int j = 0; j < kSurfaceTile; ++j)
        for (int i = 0; i < kSurfaceTile; ++i) out[j * stride + i] = uint16_t(surface(t, wrap_add(a, i), wrap_add(b, j)));
#endif
}

int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt) { return noise(t, a, b, salt); }

int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b) { return surface(t, a, b); }

void fill_surface_cache(const NoiseTables& t, PositionCache& surfaces) {
    surfaces.fill([&](int32_t a, int32_t b) { return surface(t, a, b); });
}

int32_t smear_line(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, SurfaceCache* surfaces) {
    if (surfaces) return surfaces->smear(a, b, c, d);
    return smear_walk(a, b, c, d, smear_step(t), [&](int32_t p, int32_t q) { return surface(t, p, q); });
}

int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b, SurfaceCache* surfaces, const SwirlPush* push) {
    if (!t.vortices && !t.monopoles) return clamp_to(surface(t, a, b), 0, 255);
    const SwirlPush p = push ? *push : swirl_push(t, a, b);
    return clamp_to(smear_line(t, a, b, wrap_add(a, p.x), wrap_add(b, p.y), surfaces), 0, 255);
}

int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k) { return streak(t, a, b, k); }

int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k) {
    return streak_walk(a, b, c, d, [&](int32_t p, int32_t q) { return streak(t, p, q, k); });
}

}  // namespace corvanthe
