#pragma once
// What the glue destinations over the host's image share: the host's buffers of the current
// piece, read at the piece's own positions.
#include "host/host_context.h"
#include "host/pixel_access.h"
#include "layers/glue_destination.h"

namespace corvanthe {

class HostPieceReader : public GlueDestination {
public:
    PixelValue read(int32_t x, int32_t y) override;
    // The mask is requested over the same area as the image.
    float mask(int32_t x, int32_t y) override;
    void read_run(int32_t x0, int32_t y, int32_t count, PixelValue* hosts, float* masks) override;

protected:
    explicit HostPieceReader(HostContext& context) : context_(context) {}

    // Once the piece's tile is requested: calls advanceState and takes the host's buffers.
    // False when the host answers a code (it stays the run's result).
    bool take_piece(const sdk::VRect& piece);

    HostContext& context_;
    // Position (x, y) of the piece is the host's (x + dx, y + dy).
    HostPixels pixels_{};
    int32_t dx_ = 0;
    int32_t dy_ = 0;
};

}  // namespace corvanthe
