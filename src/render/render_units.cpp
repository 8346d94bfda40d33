#include "render/render_units.h"

#include <algorithm>
#include <cmath>

#include "platform/portable_math.h"
#include "render/integer_math.h"

namespace corvanthe {

int32_t size_px(int32_t p, int64_t width, int64_t height) {
    const int64_t quadratic = (int64_t(p) * p) / 10;
    return std::max<int32_t>(1, trunc_int32(quadratic / 1000.0 * double(std::min(width, height))));
}

double base_length(int64_t width, int64_t height) {
    return std::max(0.001 * double(std::min(width, height)), 0.000001);
}

Direction direction_of(float x, float y) {
    constexpr double kDegreesPerRadian = 57.29577951308232;
    Direction d;
    d.length = std::sqrt(double(x) * x + double(y) * y);
    const int64_t X = trunc_int64(33.0 * x), Y = trunc_int64(33.0 * y);
    int64_t a = 0;
    if (Y == 0) {
        a = X == 0 ? 0 : (X > 0 ? 90 : 270);
    } else if (Y < 0) {
        a = trunc_int64(pmath::atan(-double(X) / double(Y)) * kDegreesPerRadian);
    } else {
        a = trunc_int64(pmath::atan(-double(X) / double(Y)) * kDegreesPerRadian + 180);
    }
    if (a < 0) a += 360;
    d.angle = int32_t((a + 270) % 360);
    return d;
}

}  // namespace corvanthe
