#pragma once
// Spectral colours: the spectral locus turned into RGB and shaped into the rainbow
// across the bow and the diffraction colours along a spike.
#include <cstdint>

#include "settings/sun_settings.h"

namespace corvanthe {

constexpr int kSpectrumSize = 93;   // 0..80 are the wavelengths 380..780 nm; 81..92 take the spread
constexpr int kBowSteps = 201;
constexpr int kSpikeSteps = 600;

struct SpectralTables {
    int32_t working[3][kSpectrumSize] = {};  // the bow's spectrum, shaped and tinted
    int32_t bow[3][kBowSteps] = {};          // across the bow's ring, inside out
    int32_t spike[3][kSpikeSteps] = {};      // along a spike
};

enum class SpectrumShape { Spikes, Bow };

// RGB of the spectral locus raised to the shape's exponents, scaled to about 0..185.
void build_spectrum(SpectrumShape shape, int32_t (&spectrum)[3][kSpectrumSize]);

// Spike colours from their own spectrum and the spike settings.
void build_spike_colours(const SunSettings& s, SpectralTables& tables);
// Bow colours from tables.working, which must hold the bow spectrum; leaves the
// spread, tinted and balanced spectrum in tables.working.
void build_bow_colours(const SunSettings& s, SpectralTables& tables);

}  // namespace corvanthe
