#include "apps/winhost/test_picture.h"

namespace corvanthe::winhost {

std::optional<hosting::Document> make_test_picture(const PictureSpec& spec) {
    if (spec.width < 1 || spec.height < 1 || spec.width > 4096 || spec.height > 4096) return std::nullopt;
    if (spec.depth != 8 && spec.depth != 16 && spec.depth != 32) return std::nullopt;
    hosting::Document document = hosting::make_document(
        spec.width, spec.height, spec.depth, spec.rgb ? hosting::ColourKind::rgb : hosting::ColourKind::grey,
        spec.transparency);
    const double full = hosting::full_scale(spec.depth);
    const double w = spec.width > 1 ? spec.width - 1 : 1, h = spec.height > 1 ? spec.height - 1 : 1;
    for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
            const double across = x / w, down = y / h;
            const bool light_square = ((x / 8) + (y / 8)) % 2 == 0;
            const double channels[3] = {across, down, light_square ? 0.85 : 0.1};
            for (int c = 0; c < document.colour_planes(); ++c) {
                const double v = spec.rgb ? channels[c] : (across + down) / 2;
                document.set_sample(x, y, c, v * full);
            }
            if (spec.transparency) document.set_sample(x, y, document.colour_planes(), (1 - down / 2) * full);
        }
    }
    if (spec.mask) {
        document.mask.resize(std::size_t(spec.width) * std::size_t(spec.height));
        const double cx = w / 2, cy = h / 2, radius = (w < h ? w : h) / 2;
        for (int y = 0; y < spec.height; ++y)
            for (int x = 0; x < spec.width; ++x) {
                const double dx = (x - cx) / radius, dy = (y - cy) / radius;
                const double d = dx * dx + dy * dy;  // 0 at the centre, 1 on the circle
                const double selected = d < 0.5 ? 1 : d > 1 ? 0 : (1 - d) * 2;
                document.mask[std::size_t(y) * std::size_t(spec.width) + std::size_t(x)] =
                    uint8_t(selected * 255 + 0.5);
            }
    }
    return document;
}

}  // namespace corvanthe::winhost
