#include "motifs.h"

#include "platform/portable_math.h"
#include "shapes.h"

namespace corvanthe::pictures {
namespace {
constexpr double kTurn = 6.283185307179586;
}

Vec on_circle(double cx, double cy, double radius, double turn) {
    return Vec{cx + radius * pmath::sin(turn * kTurn), cy - radius * pmath::cos(turn * kTurn)};
}

void sun_disc(Layer& layer, double cx, double cy, double radius, double outline_width) {
    using namespace palette;
    auto body = [=](double x, double y) {
        double hx = cx - radius * 0.35;
        double hy = cy - radius * 0.35;
        double t = length(x - hx, y - hy) / (radius * 1.35);
        return t < 0.5 ? mix(kGold, kAmber, t * 2) : mix(kAmber, kEmber, (t - 0.5) * 2);
    };
    double r = radius + outline_width / 2;
    layer.paint(circle(cx, cy, radius), body, cx - r, cy - r, cx + r, cy + r);
    if (outline_width > 0)
        layer.paint(ring(cx, cy, radius, outline_width), solid(kInk), cx - r, cy - r, cx + r, cy + r);
}

void sun_rays(Layer& layer, double cx, double cy, double inner, double outer, int count, double base_width,
              const Rgba& colour, double phase) {
    for (int i = 0; i < count; ++i) {
        double turn = (i + phase) / count;
        Vec tip = on_circle(cx, cy, outer, turn);
        Vec mid = on_circle(cx, cy, inner, turn);
        Vec across = on_circle(0, 0, base_width / 2, turn + 0.25);
        auto ray = polygon({tip, Vec{mid.x + across.x, mid.y + across.y}, Vec{mid.x - across.x, mid.y - across.y}});
        layer.paint(ray, solid(colour), cx - outer - 1, cy - outer - 1, cx + outer + 1, cy + outer + 1);
    }
}

void dotted_circle(Layer& layer, double cx, double cy, double radius, int count, double dot_radius, const Rgba& colour) {
    for (int i = 0; i < count; ++i) {
        Vec at = on_circle(cx, cy, radius, static_cast<double>(i) / count);
        layer.paint(circle(at.x, at.y, dot_radius), solid(colour), at.x - dot_radius - 1, at.y - dot_radius - 1,
                    at.x + dot_radius + 1, at.y + dot_radius + 1);
    }
}

}  // namespace corvanthe::pictures
