#pragma once
// Hexcone HSL and the perceptual lightness built on it. Hue is in [0, 1) with red at 0.

namespace corvanthe {

struct Rgb {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct Hsl {
    double hue = 0;
    double saturation = 0;
    double lightness = 0;
};

Hsl rgb_to_hsl(const Rgb& c);
Rgb hsl_to_rgb(const Hsl& c);

// Lightness weighted by how bright the hue and saturation look: d = 0.28 r + 0.52 g + 0.2 b
// of the colour at HSL lightness 0.5 takes the place of 0.5.
double perceptual_lightness(const Hsl& c);

// The HSL lightness that gives the wanted perceptual lightness with c's hue and saturation.
double lightness_from_perceptual(const Hsl& c, double perceptual);

}  // namespace corvanthe
