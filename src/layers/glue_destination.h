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

    // The same for the run of pixels (x0 + i, y), i < count, at once: read and mask of each,
    // then writes of each. A destination whose reads do not see its writes to other pixels
    // may do a whole run in one go.
    virtual void read_run(int32_t x0, int32_t y, int32_t count, PixelValue* hosts, float* masks) {
        for (int32_t i = 0; i < count; ++i) {
            hosts[i] = read(x0 + i, y);
            masks[i] = mask(x0 + i, y);
        }
    }
    virtual void write_run(int32_t x0, int32_t y, int32_t count, const PixelValue* values) {
        for (int32_t i = 0; i < count; ++i) write(x0 + i, y, values[i]);
    }

protected:
    ~GlueDestination() = default;
};

}  // namespace corvanthe
