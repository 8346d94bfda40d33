#pragma once
// Where the glue writes: the host's image, the dialog's preview bitmap or a LayerStore.
// All calls come from the calling thread, one piece at a time.
#include <cstdint>

#include "layers/pixel_value.h"
#include "sdk/types.h"

namespace corvanthe {

// A piece whose pixels lie open as interleaved host samples (8-bit, 16-bit or float), red,
// green and blue first, so that the glue reads and writes them in place. Reading a pixel
// never sees the writes to other pixels.
struct SamplePiece {
    int32_t sample_bytes = 1;     // 1, 2 or 4 (float)
    const uint8_t* in = nullptr;  // the pixel H under the piece's top-left pixel
    int64_t in_row_bytes = 0;
    int32_t in_pixel_bytes = 0;
    int32_t in_alpha = -1;        // sample index of H's transparency, or -1 (opaque)
    uint8_t* out = nullptr;       // where the piece's top-left pixel is written
    int64_t out_row_bytes = 0;
    int32_t out_pixel_bytes = 0;
    int32_t out_alpha = -1;       // sample index the alpha is written to, or -1
    const uint8_t* mask = nullptr;  // the selection of the top-left pixel; null: all selected
    int64_t mask_row_bytes = 0;
};

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

    // After begin_piece: true, with `samples` filled, when the whole piece lies open as
    // colour samples whose reads and writes are exactly those of read_run and write_run.
    virtual bool sample_piece(const sdk::VRect& /*piece*/, SamplePiece& /*samples*/) { return false; }

protected:
    ~GlueDestination() = default;
};

}  // namespace corvanthe
