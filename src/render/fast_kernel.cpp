#include "render/fast_kernel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/pixel_kernel.h"
#include "render/streak_region.h"
#include "render/surface_cache.h"
#include "render/swirl_push.h"

namespace corvanthe {

namespace {

// Columns summed at once: the row's spike light lives in the scratch block.
constexpr int32_t kSegment = StreakRegion::kMaxBlockColumns;
// Rows of one block of the distance table.
constexpr int32_t kBlockRows = StreakRegion::kMaxBlockRows;
// Distances within a block of kSegment x kBlockRows pixels differ by less than this
// (4 quarter pixels a pixel along each axis, plus the truncation).
constexpr int64_t kRingCapacity = 4 * (int64_t(kSegment) + kBlockRows) + 8;
// Angle buckets of 64 units; the angle runs 0..16384 inclusive.
constexpr int kBucketShift = 6;
constexpr int kBuckets = int(kTurn >> kBucketShift) + 1;
// The flare width is at most 4096 units, so half of it at most 2048.
constexpr int64_t kMaxHalfWidth = 2048;

// Offsets up to this size keep every product of the strip arithmetic (coefficients below 2^31)
// well inside 64 bits; larger ones take the plain sum.
constexpr int64_t kExactOffset = int64_t(1) << 30;

// What a pixel at distance F gets from the rings that depend on F alone.
struct RingEntry {
    int64_t light[3];   // halo and bow
    int64_t spike[3];   // spike colour weight, times S >> 3
};

// The flares of a row's pixels, planned before the pixels are drawn: the streak value g of
// pixel i (-1 when no flare can light it), and the products P of the flares it lies inside,
// lit[lit_begin[i]] up to lit[lit_begin[i + 1]].
struct FlareRow {
    int32_t g[kSegment];
    int32_t lit_begin[kSegment + 1];
    int64_t lit[kSegment * kFlareAngles];
};

struct Scratch {
    RingEntry ring[kRingCapacity];
    int64_t offset_square[kMaxHalfWidth + 1];   // (u * u) div half
    uint8_t candidates[kBuckets][kFlareAngles];  // flares whose span may hold an angle of the bucket
    uint8_t candidate_count[kBuckets];
    int32_t spike[kSegment];  // at most 256 spikes of at most 300 each
    uint8_t block_spikes[kSpikeLines];  // the spikes that may light a pixel of the block
    int block_spike_count;
    // The spike profile by the signed distance across, -300..300: profile[300 - |across|].
    int32_t across_profile[2 * kSpikeProfileSize - 1];
    StreakRegion streaks;
    FlareRow flare_row;
    int64_t distance[kSegment];  // the distances F of a row's pixels
    // The swirl pushes of a row's disc pixels, computed together: push[slot[x - left]].
    int32_t texture_a[kSegment], texture_b[kSegment];
    SwirlPush push[kSegment];
    int16_t slot[kSegment];
};

int64_t floor_div(int64_t a, int64_t b) {  // b > 0
    const int64_t q = divide(a, b);
    return (a - q * b != 0 && a < 0) ? q - 1 : q;
}

int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

int64_t distance(int64_t dx, int64_t dy) {
    return trunc_int64(std::sqrt(16.0 * (double(dx) * double(dx) + double(dy) * double(dy))));
}

// Offsets below this keep 16 (dx^2 + dy^2) below 2^52, where the square root in distance()
// is exact enough that its truncation is the integer square root.
constexpr int64_t kSteppedOffset = int64_t(1) << 23;

// The distances F of a row's pixels from left to right (dx falling by one a pixel): the first
// from the square root, the next ones stepped from it as integer square roots of
// N = 16 (dx^2 + dy^2), which is what distance() gives where offsets are below kSteppedOffset.
struct RowDistance {
    RowDistance(int64_t dx, int64_t dy, bool stepped)
        : dx(dx), dy(dy), N(stepped ? 16 * (dx * dx + dy * dy) : 0), F(distance(dx, dy)), stepped(stepped) {}

    void step() {
        if (!stepped) {
            F = distance(--dx, dy);
            return;
        }
        N -= 16 * (2 * dx - 1);
        --dx;
        while (F * F > N) --F;
        while ((F + 1) * (F + 1) <= N) ++F;
    }

    int64_t dx, dy, N, F;
    bool stepped;
};

// The columns [first, last] of the row at dy where spike k's strip |dx B + dy A| <= 300
// may lie (dx = centre x - x); first > last when the row misses it.
void strip_columns(const RenderContext& c, int k, int64_t dy, int64_t& first, int64_t& last) {
    int64_t b = c.spike_b[k], a = c.spike_a[k];
    if (b < 0) {
        b = -b;
        a = -a;
    }
    const int64_t offset = a * dy;
    if (b == 0) {
        const bool inside = absolute(offset) <= 300;
        first = inside ? INT64_MIN : 1;
        last = inside ? INT64_MAX : 0;
        return;
    }
    // -300 <= b dx + offset <= 300, so dx in [ceil((-300 - offset) / b), floor((300 - offset) / b)].
    const int64_t dx_low = ceil_div(-300 - offset, b), dx_high = floor_div(300 - offset, b);
    first = c.rings.centre_x - dx_high;
    last = c.rings.centre_x - dx_low;
}

// Narrows [first, last] to the columns where spike n's along distance, `along` at column first
// and falling by spike_d a column, is within kSpikeAlongReach: the spike lights no other column.
void clip_to_reach(const RenderContext& c, int n, int64_t along, int64_t& first, int64_t& last) {
    // along at column first + t is a + t e, with e >= 0 after the flip (the reach is symmetric).
    int64_t a = along, e = -int64_t(c.spike_d[n]);
    if (e < 0) {
        a = -a;
        e = -e;
    }
    if (e == 0) {
        if (absolute(a) > kSpikeAlongReach) last = first - 1;
        return;
    }
    const int64_t base = first;
    first = std::max(first, base + ceil_div(-kSpikeAlongReach - a, e));
    last = std::min(last, base + floor_div(kSpikeAlongReach - a, e));
}

// The piece's cache of surface values, made on first use (many pieces have no disc pixel);
// without memory for it, the values are computed each time.
class PieceCaches {
public:
    PieceCaches(const RenderContext& c, const RenderRect& piece) : c_(c), piece_(piece) {}

    // Only smeared surfaces sample positions that neighbouring pixels share.
    SurfaceCache* surfaces() {
        if (!c_.noise.vortices && !c_.noise.monopoles) return nullptr;
        if (!surfaces_tried_) {
            surfaces_tried_ = true;
            surfaces_.reset(new (std::nothrow) SurfaceCache(c_.noise));
            if (surfaces_) place_piece_grid(c_, piece_, *surfaces_);
        }
        return surfaces_.get();
    }

private:
    const RenderContext& c_;
    const RenderRect piece_;
    std::unique_ptr<SurfaceCache> surfaces_;
    bool surfaces_tried_ = false;
};

// The flares of one piece: which to test in each angle bucket, and the offsets' squares.
class FlarePlan {
public:
    FlarePlan(const RenderContext& c, Scratch& scratch) : c_(c), k_(c.rings), scratch_(scratch) {
        const int64_t W = k_.flare_width;
        half_ = W >> 1;
        for (int ch = 0; ch < 3; ++ch) dark_[ch] = table_lookup(c.flare[ch], 0);
        // A span narrower than 2 holds no whole angle: no flare is ever inside it.
        always_dark_ = W < 2 || k_.flare_count <= 0;
        if (always_dark_) return;
        planned_ = half_ <= kMaxHalfWidth && k_.flare_count <= kFlareAngles;
        if (!planned_) return;
        threshold_ = 41 * half_ * k_.flare_reach;
        for (int64_t u = 0; u <= half_; ++u) scratch.offset_square[u] = u * u / half_;
        // Flare n is a candidate of bucket b when, for one of the turns, its span
        // [s + turn, s + turn + W) meets the bucket's angles [b 64, b 64 + 63]; flares are
        // added in ascending order, each once (>> rounds down).
        std::fill_n(scratch.candidate_count, kBuckets, uint8_t(0));
        for (int n = 0; n < k_.flare_count; ++n) {
            for (const int64_t turn : {int64_t(0), kTurn, -kTurn}) {
                const int64_t start = c.flare_angles[n] + turn;
                const int64_t first = std::max<int64_t>(0, (start + 1) >> kBucketShift);
                const int64_t last = std::min<int64_t>(kBuckets - 1, (start + W - 1) >> kBucketShift);
                for (int64_t b = first; b <= last; ++b) {
                    uint8_t& count = scratch.candidate_count[b];
                    if (count == 0 || scratch.candidates[b][count - 1] != n) scratch.candidates[b][count++] = uint8_t(n);
                }
            }
        }
    }

    // False when the plan does not cover these flares (the plain kernel then draws them).
    bool usable() const { return planned_ || always_dark_; }

    // Plans the flares of row y's pixels [left, right) whose distances lie in [low, high]:
    // which flares each pixel is inside, and the streak value of those that any flare may light.
    // A flare's light is ((P g) div D) 2 - 80 with P = ((u u) div half) (outer - F) and
    // D = half reach; it counts only when positive, that is when P g >= 41 D, and no flare
    // counts for any g <= 255 when none does for g = 255, where the streak value is left out.
    // Neighbouring pixels often have lines that are one line moved along the row; each such
    // run of lines is walked at once.
    void plan_row(int32_t left, int32_t right, int32_t y, int64_t low, int64_t high) {
        FlareRow& row = scratch_.flare_row;
        int32_t run_first = 0, run_count = 0;
        StreakLine run_line{};
        auto walk_run = [&] {
            if (run_count > 0) scratch_.streaks.walk_run(c_, run_line, run_count, row.g + run_first);
            run_count = 0;
        };
        int32_t lit_count = 0;
        for (int32_t i = 0; i < right - left; ++i) {
            row.lit_begin[i] = lit_count;
            row.g[i] = -1;
            const int64_t F = scratch_.distance[i];
            if (!planned_ || F < low || F > high || F < k_.flare_inner || F >= k_.flare_outer) continue;
            const int32_t x = left + i;
            const int64_t dx = k_.centre_x - x, dy = k_.centre_y - y;
            const int64_t angle = diamond_angle(dx, dy);
            const int b = int(angle >> kBucketShift);
            const uint8_t* candidates = scratch_.candidates[b];
            const int64_t reach = k_.flare_outer - F;
            bool any = false;
            for (int n = 0; n < scratch_.candidate_count[b]; ++n) {
                const int64_t u = flare_offset(c_, candidates[n], angle);
                if (u < 0) continue;
                const int64_t P = scratch_.offset_square[u] * reach;
                row.lit[lit_count++] = P;
                any = any || P * 255 >= threshold_;
            }
            if (!any) continue;
            row.g[i] = 0;
            const StreakLine line = flare_line(c_, x, y, F, dx, dy);
            const bool moved = run_count > 0 && i == run_first + run_count &&
                               int64_t(line.c) - line.a == int64_t(run_line.c) - run_line.a && line.d == run_line.d;
            if (moved) {
                ++run_count;
                continue;
            }
            walk_run();
            run_first = i;
            run_count = 1;
            run_line = line;
        }
        row.lit_begin[right - left] = lit_count;
        walk_run();
    }

    // The flares' light at the row's pixel i (planned by plan_row when the plan is usable).
    void add(int32_t i, LightSum& sum) const {
        const FlareRow& row = scratch_.flare_row;
        const int64_t g = always_dark_ ? -1 : row.g[i];
        if (g < 0) {
            for (int ch = 0; ch < 3; ++ch) sum.c[ch] += dark_[ch];
            return;
        }
        const int64_t D = half_ * k_.flare_reach;
        int64_t light = 0;
        for (int32_t n = row.lit_begin[i]; n < row.lit_begin[i + 1]; ++n) {
            const int64_t Pg = row.lit[n] * g;
            if (Pg >= threshold_) light += divide(Pg, D) * 2 - 80;
        }
        add_flare_colour(c_, flare_strength(k_, g, light), sum);
    }

private:
    const RenderContext& c_;
    const KernelRings& k_;
    Scratch& scratch_;
    int64_t half_ = 0;
    int64_t threshold_ = 0;
    int64_t dark_[3] = {0, 0, 0};   // the flare colour at strength 0
    bool always_dark_ = false;
    bool planned_ = false;
};

// The ring table of distances [low, high]: halo and bow light and spike weights.
void fill_rings(const RenderContext& c, int64_t low, int64_t high, RingEntry* ring) {
    const KernelRings& k = c.rings;
    for (int64_t F = low; F <= high; ++F) {
        RingEntry& e = ring[F - low];
        for (int ch = 0; ch < 3; ++ch) {
            int64_t light = 0;
            if (k.disc_edge <= F && F < k.halo_outer) light += halo_light(c, F, ch);
            if (k.bow_inner <= F && F < k.bow_outer) light += bow_light(c, F, ch);
            e.light[ch] = light;
            e.spike[ch] = F >= k.disc_edge ? spike_weight(c, F, ch) : 0;
        }
    }
}

// The row's spike light S over the columns [left, right), each spike walked along its strip.
// Inside a strip clipped to the reach |across| <= 300 and |along| <= kSpikeAlongReach, so the
// light is spike_light_at's without its tests, in 32 bits.
void sum_spikes(const RenderContext& c, int64_t dy, int32_t left, int32_t right, Scratch& scratch) {
    int32_t* spike = scratch.spike;
    std::fill(spike, spike + (right - left), 0);
    for (int listed = 0; listed < scratch.block_spike_count; ++listed) {
        const int n = scratch.block_spikes[listed];
        int64_t first, last;
        strip_columns(c, n, dy, first, last);
        first = std::max<int64_t>(first, left);
        last = std::min<int64_t>(last, right - 1);
        if (first > last) continue;
        // Both distances change by a constant from one column to the next.
        const int64_t along_first = (c.rings.centre_x - first) * c.spike_d[n] - dy * c.spike_c[n];
        clip_to_reach(c, n, along_first, first, last);
        if (first > last) continue;
        const int64_t dx = c.rings.centre_x - first;
        int32_t across = int32_t(dx * c.spike_b[n] + dy * c.spike_a[n]) + 300;
        int32_t along = int32_t(dx * c.spike_d[n] - dy * c.spike_c[n]);
        const int32_t across_step = c.spike_b[n], along_step = c.spike_d[n];
        int32_t* out = spike + (first - left);
        const int32_t count = int32_t(last - first + 1);
        int32_t i = 0;
#if defined(__SSE2__)
        // Four columns at a time; the profile is read a column at a time, the rest in lanes.
        // fall <= 255 and the profile <= 300, so one 16-bit multiply-add gives the product.
        __m128i along4 = _mm_set_epi32(along - 3 * along_step, along - 2 * along_step, along - along_step, along);
        const __m128i along_stride = _mm_set1_epi32(4 * along_step), top = _mm_set1_epi32(32640);
        for (; i + 4 <= count; i += 4, across -= 4 * across_step) {
            const int32_t* profile = scratch.across_profile;
            const __m128i w = _mm_set_epi32(profile[across - 3 * across_step], profile[across - 2 * across_step],
                                            profile[across - across_step], profile[across]);
            const __m128i sign = _mm_srai_epi32(along4, 31);
            const __m128i magnitude = _mm_sub_epi32(_mm_xor_si128(along4, sign), sign);
            const __m128i fall = _mm_srai_epi32(_mm_sub_epi32(top, magnitude), 7);
            const __m128i light = _mm_srai_epi32(_mm_madd_epi16(fall, w), 8);
            __m128i* sums = reinterpret_cast<__m128i*>(out + i);
            _mm_storeu_si128(sums, _mm_add_epi32(_mm_loadu_si128(sums), light));
            along4 = _mm_sub_epi32(along4, along_stride);
        }
        along -= i * along_step;
#endif
        for (; i < count; ++i, across -= across_step, along -= along_step) {
            const int32_t fall = (32640 - std::abs(along)) >> 7;
            out[i] += (fall * scratch.across_profile[across]) >> 8;
        }
    }
}

// Lists the spikes whose strip within reach along may hold a pixel of the block of columns
// [left, right) and rows [top, bottom): both distances are linear in the pixel, so over the
// block they range between their values at its corners.
void find_block_spikes(const RenderContext& c, int32_t left, int32_t right, int32_t top, int32_t bottom,
                       Scratch& scratch) {
    const KernelRings& k = c.rings;
    const int64_t dx[2] = {k.centre_x - left, k.centre_x - (right - 1)};
    const int64_t dy[2] = {k.centre_y - top, k.centre_y - (bottom - 1)};
    auto spans = [&](int64_t along_x, int64_t along_y, int64_t reach) {
        int64_t low = INT64_MAX, high = INT64_MIN;
        for (const int64_t x : dx)
            for (const int64_t y : dy) {
                const int64_t v = x * along_x + y * along_y;
                low = std::min(low, v);
                high = std::max(high, v);
            }
        return low <= reach && high >= -reach;
    };
    int count = 0;
    for (int n = 0; n < k.spike_count; ++n)
        if (spans(c.spike_b[n], c.spike_a[n], 300) && spans(c.spike_d[n], -int64_t(c.spike_c[n]), kSpikeAlongReach))
            scratch.block_spikes[count++] = uint8_t(n);
    scratch.block_spike_count = count;
}

// The swirl pushes of the disc pixels of row y, columns [left, right); false when the row has
// none. F >= 4 |dy| (the root of a square is exact), so rows that far out are passed at once.
bool push_disc_row(const RenderContext& c, int32_t left, int32_t right, int32_t y, Scratch& scratch) {
    const KernelRings& k = c.rings;
    const int64_t dy = k.centre_y - y;
    if (4 * absolute(dy) >= k.rim_outer) return false;
    int count = 0;
    for (int32_t x = left; x < right; ++x) {
        const int64_t F = scratch.distance[x - left];
        if (F >= k.rim_outer) continue;
        const TexturePosition p = disc_texture_position(c, x, y, F);
        scratch.texture_a[count] = p.a;
        scratch.texture_b[count] = p.b;
        scratch.slot[x - left] = int16_t(count++);
    }
    swirl_pushes(c.noise, scratch.texture_a, scratch.texture_b, count, scratch.push);
    return count > 0;
}

// One pixel, with the depth's constants known to the compiler (the divisions by them become
// multiplications).
template <DepthClass Depth>
void render_pixel_fast(const RenderContext& c, const FlarePlan& flares, PieceCaches& caches, const RingEntry& ring,
                       int64_t F, int32_t x, int32_t y, int32_t i, int64_t S, const SwirlPush* push,
                       Cell* cell, CellBuffer& buffer) {
    constexpr DepthConstants kDepth = depth_constants(Depth);
    const KernelRings& k = c.rings;
    const int64_t master = c.settings.master_brightness;

    LightSum sum;
    if (F >= k.disc_edge)
        for (int ch = 0; ch < 3; ++ch) sum.c[ch] = (ring.spike[ch] * S) >> 3;
    for (int ch = 0; ch < 3; ++ch) sum.c[ch] += ring.light[ch];
    if (k.flare_inner <= F && F < k.flare_outer) flares.add(i, sum);

    uint32_t coverage = 4;
    bool in_rim = false;
    LightSum rim;
    if (F < k.rim_outer) {
        const LightSum disc =
            disc_colour(c, x, y, F, c.settings.sun_type == kSunNormal ? caches.surfaces() : nullptr, push);
        if (F < k.disc_edge) {
            for (int ch = 0; ch < 3; ++ch) sum.c[ch] += disc.c[ch];
            coverage = 0;
        } else {
            for (int ch = 0; ch < 3; ++ch) rim.c[ch] = disc.c[ch] * master / kDepth.brightness_divisor;
            coverage = uint32_t(F - k.disc_edge);
            in_rim = true;
        }
    }
    for (int64_t& v : sum.c) v = master * v / kDepth.brightness_divisor;
    bleed(sum, kDepth.ceiling, true);
    if (in_rim) {
        bleed(rim, kDepth.ceiling, false);
        for (int ch = 0; ch < 3; ++ch) sum.c[ch] = (sum.c[ch] * coverage + rim.c[ch] * (4 - coverage)) / 4;
    }
    const float red = float(sum.c[0]) / kDepth.output_divisor, green = float(sum.c[1]) / kDepth.output_divisor,
                blue = float(sum.c[2]) / kDepth.output_divisor;
    const uint32_t aux[4] = {0, 0, coverage, 0};
    if (!cell) {
        write_colour(buffer, x, y, red, green, blue, kDepth.alpha);
        write_auxiliary(buffer, x, y, aux);
        return;
    }
    *cell = {{red, green, blue, kDepth.alpha}, {0, 0, coverage, 0}, cell->extra};
}

// The nearest and farthest offsets of the columns [left, right) from the centre column.
void offset_range(int64_t centre, int64_t left, int64_t right, int64_t& near, int64_t& far) {
    const int64_t a = absolute(centre - left), b = absolute(centre - (right - 1));
    near = (left <= centre && centre < right) ? 0 : std::min(a, b);
    far = std::max(a, b);
}

template <DepthClass Depth>
void render_blocks(const RenderContext& c, const RenderRect& piece, Scratch& scratch, CellBuffer& buffer) {
    const KernelRings& k = c.rings;
    FlarePlan flares(c, scratch);
    PieceCaches caches(c, piece);
    const bool swirled = c.settings.sun_type == kSunNormal && (c.noise.vortices || c.noise.monopoles);
    constexpr int kHalf = kSpikeProfileSize - 1;
    for (int i = -kHalf; i <= kHalf; ++i) scratch.across_profile[i + kHalf] = c.spike_profile[kHalf - std::abs(i)];
    for (int32_t top = piece.top; top < piece.bottom; top += std::min(kBlockRows, piece.bottom - top)) {
        const int32_t bottom = top + std::min(kBlockRows, piece.bottom - top);
        int64_t near_y, far_y;
        offset_range(k.centre_y, top, bottom, near_y, far_y);
        for (int32_t left = piece.left; left < piece.right; left += std::min(kSegment, piece.right - left)) {
            const int32_t right = left + std::min(kSegment, piece.right - left);
            int64_t near_x, far_x;
            offset_range(k.centre_x, left, right, near_x, far_x);
            // The distance grows with |dx| and |dy|, so the block's distances lie in [low, high].
            const int64_t low = distance(near_x, near_y), high = distance(far_x, far_y);
            const bool tabled = flares.usable() && high - low < kRingCapacity;
            const bool stepped = far_x < kSteppedOffset && far_y < kSteppedOffset;
            if (tabled) fill_rings(c, low, high, scratch.ring);
            find_block_spikes(c, left, right, top, bottom, scratch);
            const bool flared = tabled && low < k.flare_outer && high >= k.flare_inner;
            scratch.streaks.start(int64_t(left) - k.centre_x, int64_t(top) - k.centre_y);
            for (int32_t y = top; y < bottom; ++y) {
                const int64_t dy = k.centre_y - y;
                sum_spikes(c, dy, left, right, scratch);
                RowDistance row(k.centre_x - left, dy, stepped);
                for (int32_t i = 0; i < right - left; ++i, row.step()) scratch.distance[i] = row.F;
                const bool pushed = swirled && push_disc_row(c, left, right, y, scratch);
                if (flared) flares.plan_row(left, right, y, low, high);
                // The row's cells, when the buffer holds the whole row.
                Cell* cells = buffer.cell(right - 1, y) ? buffer.cell(left, y) : nullptr;
                for (int32_t x = left; x < right; ++x) {
                    const int32_t i = x - left;
                    const int64_t S = scratch.spike[i];
                    const int64_t F = scratch.distance[i];
                    const SwirlPush* push = pushed && F < k.rim_outer ? &scratch.push[scratch.slot[i]] : nullptr;
                    if (tabled && low <= F && F <= high)
                        render_pixel_fast<Depth>(c, flares, caches, scratch.ring[F - low], F, x, y, i, S, push,
                                                 cells ? cells + i : nullptr, buffer);
                    else
                        render_pixel(c, x, y, {&S, true}, buffer);
                }
            }
        }
    }
}

}  // namespace

void render_piece_fast(const RenderContext& c, const RenderRect& piece, CellBuffer& buffer) {
    if (!c.ready) return;
    const KernelRings& k = c.rings;
    const bool exact = absolute(k.centre_x - piece.left) < kExactOffset &&
                       absolute(k.centre_x - piece.right) < kExactOffset &&
                       absolute(k.centre_y - piece.top) < kExactOffset &&
                       absolute(k.centre_y - piece.bottom) < kExactOffset;
    const std::unique_ptr<Scratch> scratch(exact ? new (std::nothrow) Scratch : nullptr);
    if (!scratch) {
        // Far from the centre, or without the scratch block: the plain kernel.
        for (int32_t y = piece.top; y < piece.bottom; ++y)
            for (int32_t x = piece.left; x < piece.right; ++x) render_pixel(c, x, y, {nullptr, true}, buffer);
        return;
    }
    switch (c.request.depth) {
    case DepthClass::Eight: render_blocks<DepthClass::Eight>(c, piece, *scratch, buffer); break;
    case DepthClass::Sixteen: render_blocks<DepthClass::Sixteen>(c, piece, *scratch, buffer); break;
    case DepthClass::Float: render_blocks<DepthClass::Float>(c, piece, *scratch, buffer); break;
    }
}

}  // namespace corvanthe
