#pragma once
// The chromaticity of pure spectral light, 380..780 nm in 5 nm steps: the colours
// of the bow and the diffraction colours of the spikes start from it.
#include <array>

namespace corvanthe {

struct Chromaticity {
    double x;
    double y;
};

constexpr int kLocusCount = 81;          // 380, 385, ..., 780 nm
constexpr int kLocusFirstNanometre = 380;
constexpr int kLocusStepNanometres = 5;

extern const std::array<Chromaticity, kLocusCount> kSpectralLocus;

}  // namespace corvanthe
