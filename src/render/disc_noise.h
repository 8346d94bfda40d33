#pragma once
// The two textures of the sun: the disc surface (ridged value noise, pushed around by
// vortices and monopoles and smeared along the push) and the streak noise the flares
// are cut from. Pure functions of integer coordinates and the tables below; the
// arithmetic is 32-bit with two's-complement wrap-around.
#include <array>
#include <cstdint>

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

// Values of one pure function of a position (the surface value, or the streak value at one
// grain), remembered for the pixels of a piece, whose smear lines and streak lines cross
// the same positions again and again. A direct-mapped table indexed by the low bits of the
// position; every entry holds a position with its true value (from the start, when all
// hold one position's value), so a look-up never gives a wrong value.
class PositionCache {
public:
    template <typename Function>
    void fill(Function&& value) {
        const Entry first{INT32_MIN, INT32_MIN, value(INT32_MIN, INT32_MIN)};
        entries_.fill(first);
    }
    template <typename Function>
    int32_t get(int32_t a, int32_t b, Function&& value) {
        Entry& e = entries_[(uint32_t(a) & kColumnMask) | ((uint32_t(b) & kRowMask) << kColumnBits)];
        if (e.a != a || e.b != b) e = {a, b, value(a, b)};
        return e.value;
    }

private:
    static constexpr int kColumnBits = 9;
    static constexpr uint32_t kColumnMask = (1u << kColumnBits) - 1, kRowMask = (1u << 7) - 1;
    struct Entry {
        int32_t a, b, value;
    };
    std::array<Entry, (kColumnMask + 1) * (kRowMask + 1)> entries_;
};

// Lattice value noise with cells of 512 units: -8192..8064.
int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt);
// Ridged sum of octaves: 0 on the dark lanes between granules.
int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b);
// Mean surface value along the line (a, b) -> (c, d), walked with the noise step; the
// surface values come from `surfaces` when given (a cache of surface_value for t).
int32_t smear_line(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d,
                   PositionCache* surfaces = nullptr);
// What the pixel kernel samples: 0..255.
int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b, PositionCache* surfaces = nullptr);
// A fresh cache of surface_value for t.
void fill_surface_cache(const NoiseTables& t, PositionCache& surfaces);
// Streak value at a point for grain k: 0..255.
int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k);
// Anti-aliased mean of streak values along the line (a, b) -> (c, d); the streak values come
// from `streaks` when given (a cache of streak_value for t and k).
int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k,
                      PositionCache* streaks = nullptr);
// A fresh cache of streak_value for t and k.
void fill_streak_cache(const NoiseTables& t, int32_t k, PositionCache& streaks);

}  // namespace corvanthe
