#pragma once
// The glue's destination for a render into a LayerStore (render mode 2): the pixel
// under the sun is the store's own, there is no selection, and the result replaces it.
#include "layers/glue_destination.h"
#include "layers/layer_store.h"

namespace corvanthe {

class StoreDestination final : public GlueDestination {
public:
    explicit StoreDestination(LayerStore& store) : store_(store) {}

    // A store without tiles takes nothing.
    bool begin_piece(const sdk::VRect&) override { return store_.tiles != nullptr; }
    PixelValue read(int32_t x, int32_t y) override { return read_texel(store_, x, y, 0); }
    float mask(int32_t, int32_t) override { return 1.0f; }
    void write(int32_t x, int32_t y, const PixelValue& value) override { write_texel(store_, x, y, 0, value); }

private:
    LayerStore& store_;
};

}  // namespace corvanthe
