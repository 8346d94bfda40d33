// The dialog's background: a calm light warm gradient on which black labels and white number
// fields read well, with a faint sunburst coming from behind the preview on the right.
#include <functional>
#include <vector>

#include "drawings.h"
#include "motifs.h"
#include "shapes.h"

namespace corvanthe::pictures {

ui::RgbaImage dialog_background(int32_t scale) {
    using namespace palette;
    Layer layer(957, 656, scale);
    layer.paint(box(0, 0, 957, 656), linear(0, 0, hex(0xFFFAF2), 0, 656, hex(0xFBEBD9)));
    // The preview frame runs from 420 to 942 across and from the top to 376.
    const double cx = 681;
    const double cy = 188;
    auto fade = [=](double x, double y) {
        double reach = std::max(0.0, 1 - length((x - cx) / 1.2, y - cy) / 620);
        return reach * reach;
    };
    layer.wash([=](double x, double y) { return 0.22 * fade(x, y); }, kGold);
    // Broad faint rays: each pixel asks only the ray it is nearest in direction.
    constexpr int kRays = 28;
    std::vector<Vec> directions;
    std::vector<std::function<double(double, double)>> rays;
    for (int i = 0; i < kRays; ++i) {
        double turn = (i + 0.5) / kRays;
        Vec tip = on_circle(cx, cy, 1100, turn);
        Vec across = on_circle(0, 0, 75, turn + 0.25);
        directions.push_back(Vec{tip.x - cx, tip.y - cy});
        rays.emplace_back(polygon({tip, Vec{cx + across.x, cy + across.y}, Vec{cx - across.x, cy - across.y}}));
    }
    layer.wash(
        [&](double x, double y) {
            size_t nearest = 0;
            double best = -1e300;
            for (size_t i = 0; i < directions.size(); ++i) {
                double along = (x - cx) * directions[i].x + (y - cy) * directions[i].y;
                if (along > best) {
                    best = along;
                    nearest = i;
                }
            }
            return 0.16 * fade(x, y) * coverage(rays[nearest](x, y) * scale);
        },
        kAmber);
    // A thin warm line under the preview frame and a shadow along its edges.
    layer.paint(box(419, 376, 943, 377), solid(with_alpha(kAmber, 0.45)));
    layer.paint(box(943, 0, 945, 378), solid(with_alpha(kInkSoft, 0.12)));
    layer.paint(box(421, 377, 945, 379), solid(with_alpha(kInkSoft, 0.12)));
    return layer.image();
}

}  // namespace corvanthe::pictures
