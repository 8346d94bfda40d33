#include "render/swirl_push.h"

#include <cmath>

#include "render/integer_math.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvanthe {

namespace {

// The centre's kind: monopoles push along the radius, vortices across it.
bool is_monopole(const NoiseTables& t, int n) { return (n & 2) == 0 ? t.monopoles : !t.vortices; }

// Adds one centre's push (rx, ry) to the running sum: like an integer += float, truncated.
void add_push(const NoiseTables& t, int n, double rx, double ry, SwirlPush& push) {
    if (is_monopole(t, n)) {
        push.x = trunc_int32(push.x + rx);
        push.y = trunc_int32(push.y + ry);
    } else {
        push.x = trunc_int32(push.x - ry);
        push.y = trunc_int32(push.y + rx);
    }
}

#if defined(__SSE2__)

// trunc_int32 of two lanes that are never NaN.
__m128d truncated(__m128d v) {
    v = _mm_min_pd(_mm_max_pd(v, _mm_set1_pd(-2147483648.0)), _mm_set1_pd(2147483647.0));
    return _mm_cvtepi32_pd(_mm_cvttpd_epi32(v));
}

#endif

}  // namespace

SwirlPush swirl_push(const NoiseTables& t, int32_t a, int32_t b) {
    const int32_t r = t.swirl_radius == 0 ? 1 : t.swirl_radius;
    const double factor = double(t.swirl_strength) / (double(r) * double(r));
    const int count = clamp_to(t.swirl_count, 0, kSwirlCentres);
    SwirlPush push;
#if defined(__SSE2__)
    // Two centres at a time: each centre's push depends on the position alone, so only the
    // summing below runs in order. Every lane takes the same IEEE operations as one centre
    // would alone (the products k ex are below 2^63, so double(k) double(ex) rounds as the
    // integer product does); no lane can be NaN, as m and the reciprocal are finite.
    static_assert(kSwirlCentres % 2 == 0);
    alignas(16) double rx[kSwirlCentres], ry[kSwirlCentres];
    int acting[kSwirlCentres / 2];
    const __m128d radius = _mm_set1_pd(double(r)), scale = _mm_set1_pd(factor);
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
    // Even centres pull: k = distance - r; odd ones push: k = r - distance.
    const __m128d pull_push = _mm_set_pd(-0.0, 0.0);
    const __m128i pa = _mm_set1_epi32(a), pb = _mm_set1_epi32(b);
    for (int n = 0; n < count; n += 2) {
        const __m128d u = _mm_cvtepi32_pd(_mm_sub_epi32(pa, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&t.swirl_x[n]))));
        const __m128d w = _mm_cvtepi32_pd(_mm_sub_epi32(pb, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&t.swirl_y[n]))));
        const __m128d near = _mm_and_pd(_mm_cmplt_pd(_mm_and_pd(u, magnitude), radius),
                                        _mm_cmplt_pd(_mm_and_pd(w, magnitude), radius));
        const __m128d m = _mm_add_pd(_mm_mul_pd(u, u), _mm_mul_pd(w, w));
        const __m128d inv = _mm_and_pd(_mm_div_pd(_mm_set1_pd(1.0), _mm_sqrt_pd(m)), _mm_cmpneq_pd(m, _mm_setzero_pd()));
        const __m128d distance = truncated(_mm_mul_pd(inv, m));
        const __m128d k = _mm_xor_pd(_mm_sub_pd(distance, radius), pull_push);
        const __m128d ex = truncated(_mm_mul_pd(_mm_mul_pd(inv, radius), u));
        const __m128d ey = truncated(_mm_mul_pd(_mm_mul_pd(inv, radius), w));
        _mm_store_pd(&rx[n], _mm_mul_pd(_mm_mul_pd(k, ex), scale));
        _mm_store_pd(&ry[n], _mm_mul_pd(_mm_mul_pd(k, ey), scale));
        acting[n / 2] = _mm_movemask_pd(_mm_and_pd(near, _mm_cmplt_pd(distance, radius)));
    }
    for (int n = 0; n < count; ++n)
        if (acting[n / 2] & (1 << (n & 1))) add_push(t, n, rx[n], ry[n], push);
#else
    for (int n = 0; n < count; ++n) {
        const int32_t u = wrap_sub(a, t.swirl_x[n]);
        const int32_t w = wrap_sub(b, t.swirl_y[n]);
        if (!(absolute(int64_t(u)) < r && absolute(int64_t(w)) < r)) continue;
        const double m = double(u) * u + double(w) * w;
        const double inv = m == 0 ? 0.0 : 1.0 / std::sqrt(m);
        const int32_t distance = trunc_int32(inv * m);
        if (!(distance < r)) continue;
        const int64_t k = (n & 1) ? int64_t(r) - distance : int64_t(distance) - r;
        const int32_t ex = trunc_int32(inv * r * u);
        const int32_t ey = trunc_int32(inv * r * w);
        add_push(t, n, double(k * ex) * factor, double(k * ey) * factor, push);
    }
#endif
    return push;
}

}  // namespace corvanthe
