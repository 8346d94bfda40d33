#pragma once
// Motifs several pictures share, so the sun looks the same on a button, in a dot and in the
// About box.
#include "paint.h"
#include "shapes.h"

namespace corvanthe::pictures {

// The point at `radius` from (cx, cy) at `turn` turns clockwise from the top.
Vec on_circle(double cx, double cy, double radius, double turn);

// A sun disc: bright gold at its upper left, amber body, ember rim, with an ink outline of the
// given width (0 for none).
void sun_disc(Layer& layer, double cx, double cy, double radius, double outline_width);

// `count` tapered rays between the two radii, the first pointing up (turned by `phase` of a ray
// step).
void sun_rays(Layer& layer, double cx, double cy, double inner, double outer, int count, double base_width,
              const Rgba& colour, double phase = 0);

// `count` round dots of the given radius on a circle.
void dotted_circle(Layer& layer, double cx, double cy, double radius, int count, double dot_radius, const Rgba& colour);

}  // namespace corvanthe::pictures
