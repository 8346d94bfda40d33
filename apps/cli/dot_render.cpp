#include "apps/cli/dot_render.h"

#include <memory>

#include "export/page_pictures.h"
#include "layers/glue_store_destination.h"
#include "render/sun_render.h"

namespace corvanthe::cli {

LayerStore* store_from_document(const hosting::Document& doc) {
    const PixelKind kind = doc.depth == 8 ? PixelKind::rgba8 : doc.depth == 16 ? PixelKind::rgba16 : PixelKind::rgba_float;
    LayerStore* store = create_store(page_store_owner(), doc.width, doc.height, kind);
    if (!store) return nullptr;
    const double full = hosting::full_scale(doc.depth);
    const int colours = doc.colour_planes();
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            const float r = float(doc.sample(x, y, 0) / full);
            const float g = colours == 3 ? float(doc.sample(x, y, 1) / full) : r;
            const float b = colours == 3 ? float(doc.sample(x, y, 2) / full) : r;
            const float a = doc.transparency ? float(doc.sample(x, y, colours) / full) : 1.0f;
            write_texel(*store, x, y, 0, {r, g, b, a});
        }
    return store;
}

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

bool render_onto(const hosting::Document& doc, const SunSettings& settings, hosting::Document& picture) {
    std::unique_ptr<LayerStore, void (*)(LayerStore*)> store(store_from_document(doc), free_store);
    StoreDotRenderer renderer;
    if (!store || !renderer.render(settings, *store)) return false;
    picture = hosting::make_document(doc.width, doc.height, 32, hosting::ColourKind::rgb, false);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            const PixelValue v = read_texel(*store, x, y, 0);
            picture.set_sample(x, y, 0, v.red);
            picture.set_sample(x, y, 1, v.green);
            picture.set_sample(x, y, 2, v.blue);
        }
    return true;
}

}  // namespace corvanthe::cli
