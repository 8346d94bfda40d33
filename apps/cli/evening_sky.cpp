#include "apps/cli/evening_sky.h"

#include <cstddef>

namespace corvanthe::cli {

namespace {

struct Stop {
    double at;
    double rgb[3];
};

// Sky colour from the top (0) to the horizon line (1) and a little beyond.
constexpr Stop kSky[] = {
    {0.00, {12, 22, 74}},   {0.50, {70, 56, 128}}, {0.78, {196, 92, 96}},
    {1.00, {252, 152, 62}}, {1.20, {255, 196, 110}},
};
constexpr double kHorizon = 740.0;

// Ridge lines: heights of control points spaced evenly across the picture, joined by
// smooth steps.
constexpr double kFarRidge[] = {742, 716, 760, 730, 702, 748, 770, 724, 712, 754, 738};
constexpr double kNearRidge[] = {842, 808, 830, 868, 826, 796, 846, 872, 820};
constexpr double kFarColour[3] = {58, 38, 72};
constexpr double kNearColour[3] = {18, 14, 30};

template <size_t N>
double ridge(const double (&points)[N], double x) {
    const double spacing = double(kEveningSkyWidth) / double(N - 1);
    size_t i = size_t(x / spacing);
    if (i >= N - 1) i = N - 2;
    const double t = (x - double(i) * spacing) / spacing;
    const double s = t * t * (3.0 - 2.0 * t);
    return points[i] + (points[i + 1] - points[i]) * s;
}

void sky_colour(double y, double out[3]) {
    const double t = y / kHorizon;
    size_t i = 0;
    while (i + 2 < std::size(kSky) && t > kSky[i + 1].at) ++i;
    double f = (t - kSky[i].at) / (kSky[i + 1].at - kSky[i].at);
    f = f < 0 ? 0 : f > 1 ? 1 : f;
    for (int k = 0; k < 3; ++k) out[k] = kSky[i].rgb[k] + (kSky[i + 1].rgb[k] - kSky[i].rgb[k]) * f;
}

}  // namespace

hosting::Document evening_sky() {
    hosting::Document doc =
        hosting::make_document(kEveningSkyWidth, kEveningSkyHeight, 8, hosting::ColourKind::rgb, false);
    for (int32_t x = 0; x < doc.width; ++x) {
        const double far_top = ridge(kFarRidge, x + 0.5);
        const double near_top = ridge(kNearRidge, x + 0.5);
        for (int32_t y = 0; y < doc.height; ++y) {
            double rgb[3];
            if (y >= near_top) {
                // The near hills darken a little further down.
                const double shade = 1.0 - 0.4 * (y - near_top) / (doc.height - near_top + 1.0);
                for (int k = 0; k < 3; ++k) rgb[k] = kNearColour[k] * shade;
            } else if (y >= far_top) {
                for (int k = 0; k < 3; ++k) rgb[k] = kFarColour[k];
            } else {
                sky_colour(y + 0.5, rgb);
            }
            for (int k = 0; k < 3; ++k) doc.set_sample(x, y, k, rgb[k] + 0.5);
        }
    }
    return doc;
}

}  // namespace corvanthe::cli
