#include "layers/hsl.h"

#include <algorithm>

namespace corvanthe {

Hsl rgb_to_hsl(const Rgb& c) {
    const double high = std::max({c.red, c.green, c.blue});
    const double low = std::min({c.red, c.green, c.blue});
    Hsl out;
    out.lightness = (high + low) / 2;
    const double delta = high - low;
    if (out.lightness <= 0 || delta == 0) return out;

    // Channels above 1 can make the second denominator vanish; such a colour keeps no saturation.
    const double spread = out.lightness <= 0.5 ? high + low : 2 - high - low;
    out.saturation = spread != 0 ? delta / spread : 0;

    double hue;
    if (c.red == high)
        hue = (c.green - c.blue) / delta;
    else if (c.green == high)
        hue = 2 + (c.blue - c.red) / delta;
    else
        hue = 4 + (c.red - c.green) / delta;
    hue /= 6;
    if (hue < 0) hue += 1;
    out.hue = hue;
    return out;
}

Rgb hsl_to_rgb(const Hsl& c) {
    const double l = c.lightness;
    const double s = c.saturation;
    if (s == 0) return {l, l, l};

    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    const double scaled = c.hue * 6;
    int sector = int(scaled);
    const double f = scaled - sector;
    if (sector >= 6 || sector < 0) sector = 0;
    const double rising = p + (q - p) * f;
    const double falling = q - (q - p) * f;
    switch (sector) {
        case 0: return {q, rising, p};
        case 1: return {falling, q, p};
        case 2: return {p, q, rising};
        case 3: return {p, falling, q};
        case 4: return {rising, p, q};
        default: return {q, p, falling};
    }
}

namespace {

// Perceived brightness of the hue and saturation at HSL lightness 0.5.
double mid_brightness(const Hsl& c) {
    const Rgb mid = hsl_to_rgb({c.hue, c.saturation, 0.5});
    return 0.28 * mid.red + 0.52 * mid.green + 0.2 * mid.blue;
}

}  // namespace

double perceptual_lightness(const Hsl& c) {
    const double d = mid_brightness(c);
    const double l = c.lightness;
    return l > 0.5 ? d + (l - 0.5) * 2 * (1 - d) : l * 2 * d;
}

double lightness_from_perceptual(const Hsl& c, double perceptual) {
    const double d = std::clamp(mid_brightness(c), 0.0, 1.0);
    if (perceptual >= 1) return 1;
    if (perceptual <= 0) return 0;
    if (d < perceptual) return (perceptual - d) / (1 - d) * 0.5 + 0.5;
    return perceptual / d * 0.5;
}

}  // namespace corvanthe
