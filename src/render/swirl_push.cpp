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

int32_t radius_of(const NoiseTables& t) { return t.swirl_radius == 0 ? 1 : t.swirl_radius; }

double factor_of(int32_t r, const NoiseTables& t) { return double(t.swirl_strength) / (double(r) * double(r)); }

#if defined(__SSE2__)

// trunc_int32 of two lanes that are never NaN, back in doubles.
__m128d truncated(__m128d v) {
    v = _mm_min_pd(_mm_max_pd(v, _mm_set1_pd(-2147483648.0)), _mm_set1_pd(2147483647.0));
    return _mm_cvtepi32_pd(_mm_cvttpd_epi32(v));
}

// Positions, one a lane, in groups of two; every group's sums are a chain of their own, which
// the processor runs side by side with the others'.
template <int Groups>
struct Lanes {
    __m128i a[Groups], b[Groups];
    __m128d px[Groups], py[Groups];
};

// Adds every centre's push to the lanes. Each centre's push takes in every lane the same IEEE
// operations as the plain loop (the products k ex are below 2^63, so double(k) double(ex) rounds
// as the integer product does; m and the reciprocal are finite, so no lane is NaN). A centre
// out of reach adds +0.0, which leaves the integral sum as it is.
template <int Groups>
void push_lanes(const NoiseTables& t, Lanes<Groups>& lanes) {
    const int32_t r = radius_of(t);
    const __m128d radius = _mm_set1_pd(double(r)), scale = _mm_set1_pd(factor_of(r, t));
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
    const int count = clamp_to(t.swirl_count, 0, kSwirlCentres);
    for (int g = 0; g < Groups; ++g) lanes.px[g] = lanes.py[g] = _mm_setzero_pd();
    for (int n = 0; n < count; ++n) {
        const __m128i centre_x = _mm_set1_epi32(t.swirl_x[n]), centre_y = _mm_set1_epi32(t.swirl_y[n]);
        const bool monopole = is_monopole(t, n);
        __m128d u[Groups], w[Groups], near[Groups];
        int any_near = 0;
        for (int g = 0; g < Groups; ++g) {
            u[g] = _mm_cvtepi32_pd(_mm_sub_epi32(lanes.a[g], centre_x));
            w[g] = _mm_cvtepi32_pd(_mm_sub_epi32(lanes.b[g], centre_y));
            near[g] = _mm_and_pd(_mm_cmplt_pd(_mm_and_pd(u[g], magnitude), radius),
                                 _mm_cmplt_pd(_mm_and_pd(w[g], magnitude), radius));
            any_near |= _mm_movemask_pd(near[g]);
        }
        // A centre out of every lane's reach adds nothing: skip its square roots.
        if (!any_near) continue;
        for (int g = 0; g < Groups; ++g) {
            const __m128d m = _mm_add_pd(_mm_mul_pd(u[g], u[g]), _mm_mul_pd(w[g], w[g]));
            const __m128d inv =
                _mm_and_pd(_mm_div_pd(_mm_set1_pd(1.0), _mm_sqrt_pd(m)), _mm_cmpneq_pd(m, _mm_setzero_pd()));
            const __m128d distance = truncated(_mm_mul_pd(inv, m));
            const __m128d acting = _mm_and_pd(near[g], _mm_cmplt_pd(distance, radius));
            // Odd centres push: k = r - distance; even ones pull: k = distance - r.
            const __m128d k = (n & 1) ? _mm_sub_pd(radius, distance) : _mm_sub_pd(distance, radius);
            const __m128d ex = truncated(_mm_mul_pd(_mm_mul_pd(inv, radius), u[g]));
            const __m128d ey = truncated(_mm_mul_pd(_mm_mul_pd(inv, radius), w[g]));
            const __m128d rx = _mm_and_pd(_mm_mul_pd(_mm_mul_pd(k, ex), scale), acting);
            const __m128d ry = _mm_and_pd(_mm_mul_pd(_mm_mul_pd(k, ey), scale), acting);
            if (monopole) {
                lanes.px[g] = truncated(_mm_add_pd(lanes.px[g], rx));
                lanes.py[g] = truncated(_mm_add_pd(lanes.py[g], ry));
            } else {
                lanes.px[g] = truncated(_mm_sub_pd(lanes.px[g], ry));
                lanes.py[g] = truncated(_mm_add_pd(lanes.py[g], rx));
            }
        }
    }
}

// The pushes of positions [first, first + 2 Groups) into push; the lanes past `count` repeat the
// last position and are not stored.
template <int Groups>
void push_positions(const NoiseTables& t, const int32_t* a, const int32_t* b, int first, int count, SwirlPush* push) {
    Lanes<Groups> lanes;
    auto at = [&](int i) { return i < count ? i : count - 1; };
    for (int g = 0; g < Groups; ++g) {
        const int i = first + 2 * g;
        lanes.a[g] = _mm_set_epi32(0, 0, a[at(i + 1)], a[at(i)]);
        lanes.b[g] = _mm_set_epi32(0, 0, b[at(i + 1)], b[at(i)]);
    }
    push_lanes(t, lanes);
    for (int g = 0; g < Groups; ++g) {
        alignas(16) int32_t x[4], y[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(x), _mm_cvttpd_epi32(lanes.px[g]));
        _mm_store_si128(reinterpret_cast<__m128i*>(y), _mm_cvttpd_epi32(lanes.py[g]));
        for (int l = 0; l < 2 && first + 2 * g + l < count; ++l) push[first + 2 * g + l] = {x[l], y[l]};
    }
}

#endif

}  // namespace

void swirl_pushes(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push) {
#if defined(__SSE2__)
    int i = 0;
    for (; i + 4 <= count; i += 4) push_positions<2>(t, a, b, i, count, push);
    if (i < count) push_positions<1>(t, a, b, i, count, push);
    if (i + 2 < count) push_positions<1>(t, a, b, i + 2, count, push);
#else
    const int32_t r = radius_of(t);
    const double factor = factor_of(r, t);
    const int centres = clamp_to(t.swirl_count, 0, kSwirlCentres);
    for (int i = 0; i < count; ++i) {
        SwirlPush& p = push[i];
        p = {};
        for (int n = 0; n < centres; ++n) {
            const int32_t u = wrap_sub(a[i], t.swirl_x[n]);
            const int32_t w = wrap_sub(b[i], t.swirl_y[n]);
            if (!(absolute(int64_t(u)) < r && absolute(int64_t(w)) < r)) continue;
            const double m = double(u) * u + double(w) * w;
            const double inv = m == 0 ? 0.0 : 1.0 / std::sqrt(m);
            const int32_t distance = trunc_int32(inv * m);
            if (!(distance < r)) continue;
            const int64_t k = (n & 1) ? int64_t(r) - distance : int64_t(distance) - r;
            const double rx = double(k * trunc_int32(inv * r * u)) * factor;
            const double ry = double(k * trunc_int32(inv * r * w)) * factor;
            if (is_monopole(t, n)) {
                p.x = trunc_int32(p.x + rx);
                p.y = trunc_int32(p.y + ry);
            } else {
                p.x = trunc_int32(p.x - ry);
                p.y = trunc_int32(p.y + rx);
            }
        }
    }
#endif
}

SwirlPush swirl_push(const NoiseTables& t, int32_t a, int32_t b) {
    SwirlPush push;
    swirl_pushes(t, &a, &b, 1, &push);
    return push;
}

}  // namespace corvanthe
