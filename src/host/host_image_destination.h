#pragma once
// The glue's destination for the full render (render mode 0): each piece is asked of the
// host through advanceState, the sun is glued over inData and the result goes to outData.
#include "host/host_piece_reader.h"

namespace corvanthe {

class HostImageDestination final : public HostPieceReader {
public:
    explicit HostImageDestination(HostContext& context) : HostPieceReader(context) {}

    // Asks the host's abort procedure, then requests the piece and calls advanceState; false
    // when the run already has a result code, the user cancels, or the host answers a code
    // (it stays the run's result).
    bool begin_piece(const sdk::VRect& piece) override;
    void write(int32_t x, int32_t y, const PixelValue& value) override;
    // inData and outData are the host's two buffers: a run is read, then written, at once.
    void write_run(int32_t x0, int32_t y, int32_t count, const PixelValue* values) override;
    // Colour buffers that cover the whole piece lie open.
    bool sample_piece(const sdk::VRect& piece, SamplePiece& samples) override;
};

}  // namespace corvanthe
