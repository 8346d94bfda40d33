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

// Lattice value noise with cells of 512 units: -8192..8064.
int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt);
// Ridged sum of octaves: 0 on the dark lanes between granules.
int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b);
// Mean surface value along the line (a, b) -> (c, d), walked with the noise step.
int32_t smear_line(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d);
// What the pixel kernel samples: 0..255.
int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b);
// Streak value at a point for grain k: 0..255.
int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k);
// Anti-aliased mean of streak values along the line (a, b) -> (c, d).
int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k);

}  // namespace corvanthe
