#include "render/streak_region.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/disc_noise.h"

namespace corvanthe {

void StreakRegion::start(int64_t a0, int64_t b0) {
    a0_ = a0 - kMargin;
    b0_ = b0 - kMargin;
    std::fill(std::begin(known_), std::end(known_), 0u);
}

void StreakRegion::walk_run(const RenderContext& c, const StreakLine& first, int32_t count, int32_t* g) {
    // The walk keeps within one position of its ends' rows and columns, so with the ends of the
    // run's first and last lines two positions inside the region no look-up needs a bounds check.
    const int64_t last = count - 1;
    if (inner(first.a, first.b) && inner(first.c, first.d) && inner(first.a + last, first.b) &&
        inner(first.c + last, first.d)) {
        inner_walk_run(c, first, count, g);
        return;
    }
    for (int32_t k = 0; k < count; ++k) {
        const int32_t a = wrap32(int64_t(first.a) + k), cc = wrap32(int64_t(first.c) + k);
        g[k] = streak_walk(a, first.b, cc, first.d, [&](int32_t p, int32_t q) { return value_at(c, p, q); });
    }
}

bool StreakRegion::inner(int64_t a, int64_t b) const {
    const int64_t i = a - a0_, j = b - b0_;
    return i >= 2 && j >= 2 && i < kColumns - 2 && j < kRows - 2;
}

void StreakRegion::ensure(int32_t i_low, int32_t i_high, int32_t j_low, int32_t j_high, const RenderContext& c) {
    const int32_t chunk_low = i_low / kChunk, chunk_high = i_high / kChunk;
    const uint32_t wanted = (chunk_high == 31 ? ~0u : (1u << (chunk_high + 1)) - 1) & ~((1u << chunk_low) - 1);
    const int32_t grain = wrap32(c.rings.flare_grain);
    for (int32_t j = j_low; j <= j_high; ++j) {
        for (uint32_t missing = wanted & ~known_[j]; missing != 0; missing &= missing - 1) {
            const int32_t i0 = std::countr_zero(missing) * kChunk;
            const int32_t b = wrap32(b0_ + j);
            uint16_t* row = values_ + int64_t(j) * kColumns;
            for (int32_t i = i0; i < i0 + kChunk; ++i) row[i] = uint16_t(streak_value(c.noise, wrap32(a0_ + i), b, grain));
        }
        known_[j] |= wanted;
    }
}

int32_t StreakRegion::value_at(const RenderContext& c, int32_t a, int32_t b) {
    const int64_t i = a - a0_, j = b - b0_;
    if (i < 0 || j < 0 || i >= kColumns || j >= kRows) return streak_value(c.noise, a, b, wrap32(c.rings.flare_grain));
    ensure(int32_t(i), int32_t(i), int32_t(j), int32_t(j), c);
    return values_[j * kColumns + i];
}

// streak_walk over the region's values by their index, for `count` lines side by side. Along the
// major axis the index moves by `major` a step, by `minor` as well when the line steps across,
// and the second of the two straddled positions is `side` from the first. A step's two weights
// add up to the span, so its term is v0 near + v1 (span - near) with 0 < near <= span. The lines
// are translates, so every step has the same weights for all of them: their values are
// neighbours in a row, summed kLanes at a time. Values are under 256 and a line inside the
// region spans under 320 positions, so a step's weights fit 16 bits and a line's sum 32 bits.
void StreakRegion::inner_walk_run(const RenderContext& c, const StreakLine& first, int32_t count, int32_t* g) {
    const StreakLine& l = first;
    const int32_t dx = std::abs(l.c - l.a), dy = std::abs(l.d - l.b);
    const int32_t sx = l.c < l.a ? -1 : (l.c > l.a ? 1 : 0);
    const int32_t sy = l.d < l.b ? -1 : (l.d > l.b ? 1 : 0);
    const int32_t i_first = int32_t(l.a - a0_), i_end = int32_t(l.c - a0_);
    const int32_t j_first = int32_t(l.b - b0_), j_end = int32_t(l.d - b0_);
    ensure(std::min(i_first, i_end) - 1, std::max(i_first, i_end) + 1 + (count - 1), std::min(j_first, j_end) - 1,
           std::max(j_first, j_end) + 1, c);

    int32_t index = j_first * kColumns + i_first;
    int32_t span, rise, steps, major, minor, side;
    if (dy < dx) {
        span = 2 * dx, rise = 2 * dy, steps = dx, major = sx, minor = sy * kColumns;
        side = l.d < l.b ? -kColumns : kColumns;
        if (l.d < l.b) index += kColumns;
    } else {
        span = 2 * dy, rise = 2 * dx, steps = dy, major = sy * kColumns, minor = sx;
        side = l.c < l.a ? -1 : 1;
        if (l.c < l.a) index += 1;
    }
    if (span == 0) {  // a line of no length has no weight
        std::fill(g, g + count, 0);
        return;
    }
    const int32_t weights = span * (steps + 1);
    for (int32_t base = 0; base < count; base += kLanes) {
        int32_t at = index + base, near = span / 2, err = rise - span / 2;
        int32_t totals[kLanes];
#if defined(__SSE2__)
        __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
        auto add = [&] {
            const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values_ + at));
            const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values_ + at + side));
            const __m128i w = _mm_set1_epi32(near | (span - near) << 16);
            low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(v0, v1), w));
            high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(v0, v1), w));
        };
#else
        std::fill(std::begin(totals), std::end(totals), 0);
        auto add = [&] {
            for (int32_t k = 0; k < kLanes; ++k) totals[k] += values_[at + k] * near + values_[at + side + k] * (span - near);
        };
#endif
        add();
        for (int32_t i = 0; i < steps; ++i) {
            const bool stepped = err >= 0;
            at += major + (stepped ? minor : 0);
            near += stepped ? span - rise : -rise;
            err += stepped ? rise - span : rise;
            add();
        }
#if defined(__SSE2__)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(totals), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(totals + 4), high);
#endif
        for (int32_t k = 0; k < kLanes && base + k < count; ++k) g[base + k] = totals[k] / weights;
    }
}

}  // namespace corvanthe
