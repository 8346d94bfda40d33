#include "export/store_dot_renderer.h"

#include "layers/glue_store_destination.h"
#include "render/sun_render.h"

namespace corvanthe {

bool StoreDotRenderer::render(const SunSettings& settings, LayerStore& picture) {
    SunSettings s = settings;
    s.render_mode = 2;
    s.scale_divisor = 1;
    s.preview_offset_x = 0;
    s.preview_offset_y = 0;
    GlueSetup glue;
    glue.mode = s.glue;
    glue.render_mode = 2;
    glue.float_destination = picture.kind == PixelKind::rgba_float;
    SunTarget target;
    target.rect = {0, 0, picture.reference_height, picture.reference_width};
    target.image_width = picture.reference_width;
    target.image_height = picture.reference_height;
    target.depth_bits = picture.kind == PixelKind::rgba8 ? 8 : picture.kind == PixelKind::rgba16 ? 16 : 32;
    StoreDestination destination(picture);
    return render_sun_pieces(s, target, glue, destination, nullptr) == 0;
}

}  // namespace corvanthe
