#pragma once
// The glue's destination for the dialog's preview (render mode 1): each piece is asked of the
// host at the preview's input rate, the sun is glued over inData, and the result goes into the
// planar 8-bit preview picture. The host's image is only read.
#include "host/host_piece_reader.h"
#include "ui/preview_source.h"

namespace corvanthe {

class PreviewDestination final : public HostPieceReader {
public:
    // Piece coordinates are preview pixels, (0, 0) being the picture's top-left; `host_shift`
    // moves them into the render coordinates that request_tile takes.
    PreviewDestination(HostContext& context, sdk::VPoint host_shift, ui::PreviewPicture& picture)
        : HostPieceReader(context), host_shift_(host_shift), picture_(picture) {}

    // Requests the piece (input and mask only) and calls advanceState; false when the run
    // already has a result code or the host answers one (it stays the run's result).
    bool begin_piece(const sdk::VRect& piece) override;
    // Grey pictures take the green channel, colour pictures red, green and blue, each as an
    // 8-bit sample; positions outside the picture are ignored.
    void write(int32_t x, int32_t y, const PixelValue& value) override;

private:
    sdk::VPoint host_shift_;
    ui::PreviewPicture& picture_;
};

}  // namespace corvanthe
