#pragma once
// Signed distances of the shapes the pictures are made of (negative inside, in picture units),
// and their combinations. Exact for circles, rings, boxes and segments; for polygons the largest
// distance to an edge line, which is exact near the edges where anti-aliasing looks.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace corvanthe::pictures {

struct Vec {
    double x = 0;
    double y = 0;
};

inline double length(double x, double y) { return std::sqrt(x * x + y * y); }

inline auto circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return length(x - cx, y - cy) - radius; };
}

// A ring of the given width centred on the radius.
inline auto ring(double cx, double cy, double radius, double width) {
    return [=](double x, double y) { return std::abs(length(x - cx, y - cy) - radius) - width / 2; };
}

// A rectangle with rounded corners (radius 0 for square ones).
inline auto box(double left, double top, double right, double bottom, double radius = 0) {
    return [=](double x, double y) {
        double cx = (left + right) / 2;
        double cy = (top + bottom) / 2;
        double qx = std::abs(x - cx) - ((right - left) / 2 - radius);
        double qy = std::abs(y - cy) - ((bottom - top) / 2 - radius);
        double outside = length(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

// A stroke from a to b with round ends.
inline auto segment(Vec a, Vec b, double width) {
    return [=](double x, double y) {
        double dx = b.x - a.x;
        double dy = b.y - a.y;
        double t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return length(x - a.x - t * dx, y - a.y - t * dy) - width / 2;
    };
}

// A convex polygon, corners in either order.
inline auto polygon(std::initializer_list<Vec> corners) {
    std::vector<Vec> points(corners);
    double turn = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec& a = points[i];
        const Vec& b = points[(i + 1) % points.size()];
        turn += a.x * b.y - b.x * a.y;
    }
    double side = turn > 0 ? 1.0 : -1.0;
    return [points, side](double x, double y) {
        double distance = -1e9;
        for (size_t i = 0; i < points.size(); ++i) {
            const Vec& a = points[i];
            const Vec& b = points[(i + 1) % points.size()];
            double ex = b.x - a.x;
            double ey = b.y - a.y;
            // How far inside this edge's line the point lies (the interior is on the side the
            // corners turn to).
            double inside = side * (ex * (y - a.y) - ey * (x - a.x)) / length(ex, ey);
            distance = std::max(distance, -inside);
        }
        return distance;
    };
}

template <class A, class B>
auto unite(A a, B b) {
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
template <class A, class B>
auto cut(A a, B b) {
    return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
template <class A, class B>
auto intersect(A a, B b) {
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
// The shape's outline of the given width.
template <class A>
auto outline(A a, double width) {
    return [=](double x, double y) { return std::abs(a(x, y)) - width / 2; };
}
// The shape moved by (dx, dy).
template <class A>
auto moved(A a, double dx, double dy) {
    return [=](double x, double y) { return a(x - dx, y - dy); };
}

}  // namespace corvanthe::pictures
