// The render for an exported picture (render mode 2): the sun glued into a LayerStore.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "layers/glue_mode.h"
#include "layers/glue_store_destination.h"
#include "layers/layer_store.h"
#include "render/pixel_kernel.h"
#include "render/render_prepare.h"
#include "render/sun_render.h"
#include "render/worker_pool.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

struct StoreDeleter {
    void operator()(LayerStore* s) const { free_store(s); }
};
using StorePtr = std::unique_ptr<LayerStore, StoreDeleter>;

StorePtr patterned_store(int32_t w, int32_t h, PixelKind kind) {
    StorePtr store(create_store(nullptr, w, h, kind));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            write_texel(*store, x, y, 0, {float(x) / w, float(y) / h, float((x ^ y) & 63) / 64, 1.0f});
    return store;
}

// The sun rendered in one piece over the whole store, glued pixel by pixel.
StorePtr composed(const LayerStore& before, PixelKind kind, const SunSettings& settings, const GlueSetup& glue,
                  int depth_bits) {
    const int32_t w = before.reference_width, h = before.reference_height;
    StorePtr after = patterned_store(w, h, kind);
    auto context = std::make_unique<RenderContext>();
    RenderRequest request;
    request.rect = {0, 0, w, h};
    request.image_width = w;
    request.image_height = h;
    request.render_mode = 2;
    request.depth = depth_bits == 8 ? DepthClass::Eight : depth_bits == 16 ? DepthClass::Sixteen : DepthClass::Float;
    EXPECT_EQ(render_prepare(*context, settings, request), 0);
    std::vector<Cell> cells(size_t(w + 2) * size_t(h + 2));
    CellBuffer buffer;
    buffer.columns = w + 2;
    buffer.rows = h + 2;
    buffer.cells = cells.data();
    render_piece(*context, request.rect, buffer);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const Cell& c = *buffer.cell(x, y);
            const PixelValue sun{c.colour[0], c.colour[1], c.colour[2], c.colour[3]};
            write_texel(*after, x, y, 0,
                        glue_pixel(x, y, sun, int32_t(c.aux[2]), read_texel(before, x, y, 0), 1.0f, glue));
        }
    return after;
}

TEST(StoreRender, TheSunIsGluedIntoTheStoreAsComposedPixelByPixel) {
    set_processor_override(3);
    SunSettings settings{};
    initialise(settings);
    settings.glue = kGlueHardLight;
    for (const auto& [kind, bits] : {std::pair{PixelKind::rgba8, 8}, std::pair{PixelKind::rgba16, 16},
                                     std::pair{PixelKind::rgba_float, 32}}) {
        SCOPED_TRACE(bits);
        StorePtr store = patterned_store(300, 260, kind);
        GlueSetup glue;
        glue.mode = settings.glue;
        glue.render_mode = 2;
        glue.float_destination = kind == PixelKind::rgba_float;
        SunTarget target;
        target.rect = {0, 0, 260, 300};
        target.image_width = 300;
        target.image_height = 260;
        target.depth_bits = bits;
        StoreDestination destination(*store);
        const StorePtr before = patterned_store(300, 260, kind);
        ASSERT_EQ(render_sun_pieces(settings, target, glue, destination, nullptr), 0);
        const StorePtr expected = composed(*before, kind, settings, glue, bits);
        int differing = 0, changed = 0;
        for (int32_t y = 0; y < 260; ++y)
            for (int32_t x = 0; x < 300; ++x) {
                const PixelValue a = get_pixel(*store, x, y, 0), b = get_pixel(*expected, x, y, 0);
                const PixelValue o = get_pixel(*before, x, y, 0);
                differing += a.red != b.red || a.green != b.green || a.blue != b.blue || a.alpha != b.alpha;
                changed += a.red != o.red || a.green != o.green || a.blue != o.blue;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(changed, 300 * 260 / 2);
    }
    set_processor_override(0);
}

TEST(StoreRender, AStoreWithoutTilesTakesNothing) {
    LayerStore empty{};
    attach_store(empty, nullptr, nullptr);
    StoreDestination destination(empty);
    EXPECT_FALSE(destination.begin_piece({0, 0, 1, 1}));
}

}  // namespace
}  // namespace corvanthe
