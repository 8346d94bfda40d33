#pragma once
// The glue's destination for the dialog's preview (render mode 1): each piece is asked of the
// host at the preview's input rate, the sun is glued over inData, and the result goes into the
// planar 8-bit preview picture. The host's image is only read.
#include "host/host_context.h"
#include "host/pixel_access.h"
#include "layers/glue_destination.h"
#include "ui/preview_source.h"

namespace corvanthe {

class PreviewDestination final : public GlueDestination {
public:
    // Piece coordinates are preview pixels, (0, 0) being the picture's top-left; `host_shift`
    // moves them into the render coordinates that request_tile takes.
    PreviewDestination(HostContext& context, sdk::VPoint host_shift, ui::PreviewPicture& picture)
        : context_(context), host_shift_(host_shift), picture_(picture) {}

    // Requests the piece (input and mask only) and calls advanceState; false when the run
    // already has a result code or the host answers one (it stays the run's result).
    bool begin_piece(const sdk::VRect& piece) override;
    PixelValue read(int32_t x, int32_t y) override;
    float mask(int32_t x, int32_t y) override;
    // Grey pictures take the green channel, colour pictures red, green and blue, each as an
    // 8-bit sample; positions outside the picture are ignored.
    void write(int32_t x, int32_t y, const PixelValue& value) override;
    void read_run(int32_t x0, int32_t y, int32_t count, PixelValue* hosts, float* masks) override;

private:
    HostContext& context_;
    sdk::VPoint host_shift_;
    ui::PreviewPicture& picture_;
    HostPixels pixels_{};
    int32_t dx_ = 0;  // preview position (x, y) is the host's (x + dx, y + dy)
    int32_t dy_ = 0;
};

}  // namespace corvanthe
