#pragma once
// Dice and Ecce: random suns drawn from the C-runtime generator, each parameter
// from a range of its own that keeps the result a plausible sun.
#include <cstdint>

#include "platform/c_random.h"
#include "settings/sun_settings.h"

namespace corvanthe {

// lo..hi (swapped when lo > hi), from the generator's value >> 4 masked to the
// smallest 2^k - 1 that covers the span; draws again when above hi. Spans wider
// than 2047 reach lo + 2047 at most.
int32_t random_in(CRandom& random, int32_t lo, int32_t hi);

// Each channel takes the low byte of one draw as its 8-bit value.
Colour16 random_colour(CRandom& random);

// (random_in(0, 140) - 70) / 100: -0.70..0.70.
float random_offset(CRandom& random);

// Draws most parameters anew, in a fixed order, and names the settings "random
// settings". Glue, centre and the run fields stay.
void dice(SunSettings& settings, CRandom& random);

// A new random seed (0..2047) and the name "random settings"; nothing else changes.
void ecce(SunSettings& settings, CRandom& random);

}  // namespace corvanthe
