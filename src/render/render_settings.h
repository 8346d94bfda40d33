#pragma once
// The settings a render works from. Scripts and files can carry any integer or float;
// the renderer's arithmetic is only defined for the dialog's ranges.
#include "settings/sun_settings.h"

namespace corvanthe {

// A copy of `s` with every slider and enumeration held to its dialog range, every
// switch made 0 or 1, and a non-finite direction or centre value made 0. The random
// seed stays as it is (the render takes it as an unsigned 16-bit value). Values
// already in range are unchanged.
SunSettings settings_in_range(const SunSettings& s);

}  // namespace corvanthe
