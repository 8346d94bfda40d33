#pragma once
// The two textures of the sun: the disc surface (ridged value noise, pushed around by
// vortices and monopoles and smeared along the push) and the streak noise the flares
// are cut from. Pure functions of integer coordinates and the tables below; the
// arithmetic is 32-bit with two's-complement wrap-around.
#include <algorithm>
#include <array>
#include <cstdint>

#include "render/integer_math.h"

namespace corvanthe {

constexpr int kRandomTableSize = 2048;
constexpr int kFadeSize = 512;
constexpr int kSwirlCentres = 100;

struct NoiseTables {
    std::array<int32_t, kRandomTableSize> random{};  // 0..255, seeded
    std::array<int32_t, kFadeSize> fade{};           // smoothstep on a 512 scale
    std::array<int32_t, kSwirlCentres> swirl_x{};    // texture units
    std::array<int32_t, kSwirlCentres> swirl_y{};
    int32_t noise_step = 1;       // step of the smear line, >= 1
    int32_t swirl_radius = 0;
    int32_t swirl_strength = 0;
    int32_t octave_mode = 0;      // 0, 1 or 2 fine octaves
    int32_t swirl_count = 0;      // centres in use, 0..100
    bool vortices = false;
    bool monopoles = false;
};

// Values of one pure function of a position (the surface value), remembered for the pixels
// of a piece, whose smear lines cross the same positions again and again. A direct-mapped
// table indexed by the low bits of the position; every entry holds a position with its true
// value (from the start, when all hold one position's value), so a look-up never gives a
// wrong value. A row of the table is set to that start on its first use: a small piece
// touches a few rows, not the whole table.
class PositionCache {
public:
    template <typename Function>
    void fill(Function&& value) {
        start_ = {INT32_MIN, INT32_MIN, value(INT32_MIN, INT32_MIN)};
        row_ready_.fill(false);
    }
    template <typename Function>
    int32_t get(int32_t a, int32_t b, Function&& value) {
        Entry& e = row(b)[uint32_t(a) & kColumnMask];
        if (e.a != a || e.b != b) e = {a, b, value(a, b)};
        return e.value;
    }
    // get, but a miss fills the four positions (a & ~3) + 0..3 of the row at once, from
    // values4(a0, b, out), which computes four neighbours for much less than four single values.
    template <typename Function4>
    int32_t get_in_fours(int32_t a, int32_t b, Function4&& values4) {
        Entry* entries = row(b);
        const Entry& e = entries[uint32_t(a) & kColumnMask];
        if (e.a == a && e.b == b) return e.value;
        const int32_t a0 = int32_t(uint32_t(a) & ~3u);
        int32_t values[4];
        values4(a0, b, values);
        Entry* four = &entries[uint32_t(a0) & kColumnMask];
        for (int i = 0; i < 4; ++i) four[i] = {a0 + i, b, values[i]};
        return values[a & 3];
    }

private:
    static constexpr int kColumnBits = 9;
    static constexpr uint32_t kColumnMask = (1u << kColumnBits) - 1, kRowMask = (1u << 7) - 1;
    struct Entry {
        int32_t a, b, value;
    };
    // The entries of position row b, set to the start on first use.
    Entry* row(int32_t b) {
        const uint32_t r = uint32_t(b) & kRowMask;
        Entry* entries = &entries_[r << kColumnBits];
        if (!row_ready_[r]) {
            std::fill_n(entries, kColumnMask + 1, start_);
            row_ready_[r] = true;
        }
        return entries;
    }

    Entry start_{};
    std::array<bool, kRowMask + 1> row_ready_{};
    std::array<Entry, (kColumnMask + 1) * (kRowMask + 1)> entries_;
};

// The smear line's step: the noise step, at least 1.
inline int32_t smear_step(const NoiseTables& t) { return t.noise_step < 1 ? 1 : t.noise_step; }

// Lattice value noise with cells of 512 units: -8192..8064.
int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt);
// Ridged sum of octaves: 0 on the dark lanes between granules; 0..537.
int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b);
// surface_value of the four positions (a + i, b), i = 0..3 (wrapping), computed together.
void surface_values4(const NoiseTables& t, int32_t a, int32_t b, int32_t (&out)[4]);
// surface_value of the 16 x 16 positions (a + i, b + j), i, j = 0..15 (wrapping), into
// out[j stride + i]: computed together, the rows of one noise cell sharing its corners.
constexpr int kSurfaceTile = 16;
void surface_tile(const NoiseTables& t, int32_t a, int32_t b, uint16_t* out, int64_t stride);
// Mean surface value along the line (a, b) -> (c, d), walked with the noise step; the
// surface values come from `surfaces` when given (remembered values of surface_value for t).
class SurfaceCache;
int32_t smear_line(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d,
                   SurfaceCache* surfaces = nullptr);
// What the pixel kernel samples: 0..255. With `push`, the swirl push of (a, b) computed already.
struct SwirlPush;
int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b, SurfaceCache* surfaces = nullptr,
                     const SwirlPush* push = nullptr);
// A fresh cache of surface_value for t.
void fill_surface_cache(const NoiseTables& t, PositionCache& surfaces);
// Streak value at a point for grain k: 0..255.
int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k);
// Anti-aliased mean of streak values along the line (a, b) -> (c, d).
int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k);

// The walk of smear_line with the surface values given by sample(p, q), positions wrapped to
// 32 bits: `step` positions along the major axis a sample (step >= 1), across it when the
// line has drifted. Positions run in 64 bits, so a walk never overflows.
template <typename Sample>
int32_t smear_walk(int32_t a0, int32_t b0, int32_t c, int32_t d, int32_t step, Sample&& sample) {
    int64_t a = a0, b = b0;
    const int64_t dx = absolute(int64_t(c) - a), dy = absolute(int64_t(d) - b);
    const int64_t x_step = sign(int64_t(c) - a) * step, y_step = sign(int64_t(d) - b) * step;
    int64_t total = int64_t(sample(wrap32(a), wrap32(b))), n = 1;
    // Bresenham along the major axis; the minor one steps when the error says so.
    auto walk = [&](int64_t& major, int64_t end, int64_t major_step, int64_t d_major, int64_t& minor,
                    int64_t minor_step, int64_t d_minor) {
        int64_t error = 2 * d_minor - d_major;
        while (major_step > 0 ? major < end : major > end) {
            major += major_step;
            const bool stepped = error >= 0;
            if (stepped) minor += minor_step;
            error = 2 * d_minor + (stepped ? error - 2 * d_major : error);
            ++n;
            total += int64_t(sample(wrap32(a), wrap32(b)));
        }
    };
    if (2 * dy < 2 * dx)
        walk(a, c, x_step, dx, b, y_step, dy);
    else
        walk(b, d, y_step, dy, a, x_step, dx);
    return int32_t(total / n);
}

// The walk of radial_streak with the streak values given by z(p, q) (positions wrapped to 32
// bits): each step is split between the two rows (or columns) that straddle the line.
template <typename Streak>
int32_t streak_walk(int32_t a0, int32_t b0, int32_t c, int32_t d, Streak&& z) {
    auto at = [&](int64_t p, int64_t q) { return int64_t(z(wrap32(p), wrap32(q))); };
    int64_t a = a0, b = b0;
    const int64_t dx = absolute(int64_t(c) - a), dy = absolute(int64_t(d) - b);
    const int64_t sx = sign(int64_t(c) - a), sy = sign(int64_t(d) - b);
    const int64_t A = 2 * dy, B = 2 * dx;

    int64_t total = 0, weights = 0;
    if (A < B) {
        // x major: each step is split between the rows r and r + side.
        int64_t r = b + (d < b ? 1 : 0);
        const int64_t side = d < b ? -1 : 1;
        total = at(a, b + (d >= b ? 1 : 0)) * (B - B / 2) + at(a, r) * (B / 2);
        weights = B;
        int64_t err = A - B / 2, near = B / 2, far = B - near;
        while (a != c) {
            a += sx;
            const bool stepped = err >= 0;
            if (stepped) r += sy;
            near = near - A + (stepped ? B : 0);
            far = far + A - (stepped ? B : 0);
            total += at(a, r) * near + far * at(a, r + side);
            weights += B;
            err = err + A - (stepped ? B : 0);
        }
    } else {
        int64_t r = a + (c < a ? 1 : 0);
        const int64_t side = c < a ? -1 : 1;
        total = at(a + (c >= a ? 1 : 0), b) * (A - A / 2) + at(r, b) * (A / 2);
        weights = A;
        int64_t err = B - A / 2, near = A / 2, far = A - near;
        while (b != d) {
            b += sy;
            const bool stepped = err >= 0;
            if (stepped) r += sx;
            near = near - B + (stepped ? A : 0);
            far = far + B - (stepped ? A : 0);
            total += at(r, b) * near + far * at(r + side, b);
            weights += A;
            err = err + B - (stepped ? A : 0);
        }
    }
    // A line of no length has no weight (the kernel never asks for one).
    return weights == 0 ? 0 : int32_t(total / weights);
}

}  // namespace corvanthe
