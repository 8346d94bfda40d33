#include "apps/cli/dot_render.h"

#include <memory>

#include "export/page_pictures.h"
#include "export/store_dot_renderer.h"
#include "layers/level_filter.h"
#include "render/worker_pool.h"

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

bool render_onto(const hosting::Document& doc, const SunSettings& settings, hosting::Document& picture) {
    WorkerPool pool;
    std::unique_ptr<LayerStore, void (*)(LayerStore*)> store(store_from_document(doc, pool), free_store);
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
