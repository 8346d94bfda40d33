#pragma once
// Where the glue writes: the host's image, the dialog's preview bitmap or a LayerStore.
// All calls come from the calling thread, one piece at a time.
#include <cstdint>

#include "layers/pixel_value.h"
#include "sdk/types.h"

namespace corvanthe {

class GlueDestination {
public:
    // Makes the pixels of a piece (image coordinates, bottom and right exclusive)
    // readable and writable. False stops the glue of this piece.
    virtual bool begin_piece(const sdk::VRect& piece) = 0;
    // The pixel H under the sun at (x, y).
    virtual PixelValue read(int32_t x, int32_t y) = 0;
    // The selection at (x, y), 0..1; 1 where there is no selection mask.
    virtual float mask(int32_t x, int32_t y) = 0;
    // Stores the finished pixel; the values are already clamped for this destination.
    virtual void write(int32_t x, int32_t y, const PixelValue& value) = 0;

protected:
    ~GlueDestination() = default;
};

}  // namespace corvanthe
