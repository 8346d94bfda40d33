#include "apps/cli/dot_render.h"

#include "export/page_pictures.h"
#include "layers/level_filter.h"

namespace corvanthe::cli {

LayerStore* store_from_document(const hosting::Document& doc, JobRunner& runner) {
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
    if (!build_levels(*store, 0, runner)) {
        free_store(store);
        return nullptr;
    }
    return store;
}

}  // namespace corvanthe::cli
