#include "host/preview_destination.h"

#include "host/host_rects.h"
#include "host/tile_request.h"

namespace corvanthe {

bool PreviewDestination::begin_piece(const sdk::VRect& piece) {
    if (result_of(context_) != 0) return false;
    request_tile(context_, {piece.top + host_shift_.v, piece.left + host_shift_.h, piece.bottom + host_shift_.v,
                            piece.right + host_shift_.h});
    set_rect(*context_.record, HostRect::kOut, {});
    return take_piece(piece);
}

void PreviewDestination::write(int32_t x, int32_t y, const PixelValue& value) {
    ui::PreviewPicture& p = picture_;
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    const size_t plane_bytes = size_t(p.width) * size_t(p.height);
    uint8_t* at = p.planar.data() + size_t(y) * size_t(p.width) + size_t(x);
    if (p.planes < 3) {
        store_sample<1>(at, value.green);
        return;
    }
    store_sample<1>(at, value.red);
    store_sample<1>(at + plane_bytes, value.green);
    store_sample<1>(at + 2 * plane_bytes, value.blue);
}

}  // namespace corvanthe
