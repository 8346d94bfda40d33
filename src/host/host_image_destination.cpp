#include "host/host_image_destination.h"

#include "host/host_rects.h"
#include "host/pixel_access.h"
#include "host/tile_request.h"

namespace corvanthe {

bool HostImageDestination::begin_piece(const sdk::VRect& piece) {
    if (result_of(context_) != 0) return false;
    request_tile(context_, piece);
    if (advance(context_) != 0) return false;
    area_ = get_rect(*context_.record, HostRect::kIn);
    dx_ = area_.left - piece.left;
    dy_ = area_.top - piece.top;
    return true;
}

PixelValue HostImageDestination::read(int32_t x, int32_t y) {
    PixelValue pixel;
    read_pixel(*context_.record, x + dx_, y + dy_, area_, true, pixel);
    return pixel;
}

float HostImageDestination::mask(int32_t x, int32_t y) {
    // The mask is requested over the same area as the image.
    return read_mask(*context_.record, x + dx_, y + dy_, area_, true);
}

void HostImageDestination::write(int32_t x, int32_t y, const PixelValue& value) {
    write_host_pixel(*context_.record, x + dx_, y + dy_, value, true);
}

}  // namespace corvanthe
