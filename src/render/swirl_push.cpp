#include "render/swirl_push.h"

#include <algorithm>
#include <cmath>

#include "platform/processors.h"
#include "render/integer_math.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// 256-bit lanes where the processor may have them and their stack spills stay aligned.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32)
#define CORVANTHE_WIDE_VECTORS 1
#endif

namespace corvanthe {

namespace {

// The centre's kind: monopoles push along the radius, vortices across it.
bool is_monopole(const NoiseTables& t, int n) { return (n & 2) == 0 ? t.monopoles : !t.vortices; }

int32_t radius_of(const NoiseTables& t) { return t.swirl_radius == 0 ? 1 : t.swirl_radius; }

double factor_of(int32_t r, const NoiseTables& t) { return double(t.swirl_strength) / (double(r) * double(r)); }

// One position at a time, each centre's push added to the running sum and truncated.
void pushes_one_by_one(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push) {
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
}

#if defined(__SSE2__)
namespace sse2 {

struct V {
    using D = __m128d;
    static constexpr int kLanes = 2;
    static D set(double v) { return _mm_set1_pd(v); }
    static D to_double(__m128i v) { return _mm_cvtepi32_pd(v); }
    static __m128i truncate(D v) { return _mm_cvttpd_epi32(v); }
    static D magnitude(D v) { return _mm_and_pd(v, _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX))); }
    static D less(D a, D b) { return _mm_cmplt_pd(a, b); }
    static D not_equal(D a, D b) { return _mm_cmpneq_pd(a, b); }
    static D both(D a, D b) { return _mm_and_pd(a, b); }
    static bool any(D mask) { return _mm_movemask_pd(mask) != 0; }
    static D add(D a, D b) { return _mm_add_pd(a, b); }
    static D sub(D a, D b) { return _mm_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm_mul_pd(a, b); }
    static D div(D a, D b) { return _mm_div_pd(a, b); }
    static D sqrt(D v) { return _mm_sqrt_pd(v); }
    static D min(D a, D b) { return _mm_min_pd(a, b); }
    static D max(D a, D b) { return _mm_max_pd(a, b); }
};

#include "render/swirl_lanes.inc"

}  // namespace sse2
#endif

#if defined(CORVANTHE_WIDE_VECTORS)
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {

struct V {
    using D = __m256d;
    static constexpr int kLanes = 4;
    static D set(double v) { return _mm256_set1_pd(v); }
    static D to_double(__m128i v) { return _mm256_cvtepi32_pd(v); }
    static __m128i truncate(D v) { return _mm256_cvttpd_epi32(v); }
    static D magnitude(D v) { return _mm256_and_pd(v, _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX))); }
    static D less(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static D not_equal(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_NEQ_UQ); }
    static D both(D a, D b) { return _mm256_and_pd(a, b); }
    static bool any(D mask) { return _mm256_movemask_pd(mask) != 0; }
    static D add(D a, D b) { return _mm256_add_pd(a, b); }
    static D sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static D div(D a, D b) { return _mm256_div_pd(a, b); }
    static D sqrt(D v) { return _mm256_sqrt_pd(v); }
    static D min(D a, D b) { return _mm256_min_pd(a, b); }
    static D max(D a, D b) { return _mm256_max_pd(a, b); }
};

#include "render/swirl_lanes.inc"

}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

}  // namespace

PushLanes widest_push_lanes() {
#if defined(CORVANTHE_WIDE_VECTORS)
    static const bool wide = wide_vectors_usable();
    if (wide) return PushLanes::Avx2;
#endif
#if defined(__SSE2__)
    return PushLanes::Sse2;
#else
    return PushLanes::One;
#endif
}

void swirl_pushes(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push) {
    swirl_pushes(t, a, b, count, push, widest_push_lanes());
}

void swirl_pushes(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push,
                  PushLanes lanes) {
    switch (lanes) {
#if defined(CORVANTHE_WIDE_VECTORS)
    case PushLanes::Avx2: avx2::pushes(t, a, b, count, push); return;
#endif
#if defined(__SSE2__)
    case PushLanes::Sse2: sse2::pushes(t, a, b, count, push); return;
#endif
    default: pushes_one_by_one(t, a, b, count, push); return;
    }
}

SwirlPush swirl_push(const NoiseTables& t, int32_t a, int32_t b) {
    SwirlPush push;
    swirl_pushes(t, &a, &b, 1, &push);
    return push;
}

}  // namespace corvanthe
