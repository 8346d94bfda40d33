#pragma once
// Arithmetic helpers of the renderer. The renderer's integer results are fixed to the
// bit: wrap-around is two's complement and conversions from floating point truncate
// toward zero. These helpers give those results without undefined behaviour.
#include <cstdint>

namespace corvanthe {

// 32-bit two's-complement arithmetic (the noise functions wrap by definition).
inline int32_t wrap_add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
inline int32_t wrap_sub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
inline int32_t wrap_mul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }
inline int32_t wrap32(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }

// Truncation toward zero, held to the target range; NaN gives 0. Inside the range
// this is the plain conversion.
inline int32_t trunc_int32(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int32_t(v);
}

inline int64_t trunc_int64(double v) {
    if (!(v == v)) return 0;
    if (v >= 9223372036854775807.0) return INT64_MAX;
    if (v <= -9223372036854775808.0) return INT64_MIN;
    return int64_t(v);
}

template <typename Integer>
constexpr Integer clamp_to(Integer v, Integer low, Integer high) {
    return v < low ? low : (v > high ? high : v);
}

template <typename Integer>
constexpr Integer absolute(Integer v) { return v < 0 ? -v : v; }

constexpr int64_t sign(int64_t v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// a div b, truncating toward zero (b != 0); in 32 bits when both fit, which is the same
// quotient at a fraction of the cost of the 64-bit division.
inline int64_t divide(int64_t a, int64_t b) {
    if (a == int32_t(a) && b == int32_t(b) && !(a == INT32_MIN && b == -1)) return int32_t(a) / int32_t(b);
    return a / b;
}

}  // namespace corvanthe
