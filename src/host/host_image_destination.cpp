#include "host/host_image_destination.h"

#include "host/host_rects.h"
#include "host/tile_request.h"

namespace corvanthe {

bool HostImageDestination::begin_piece(const sdk::VRect& piece) {
    if (result_of(context_) != 0 || host_cancelled(context_)) return false;
    request_tile(context_, piece);
    return take_piece(piece);
}

void HostImageDestination::write(int32_t x, int32_t y, const PixelValue& value) {
    write_host_pixel(pixels_, x + dx_, y + dy_, value, true);
}

void HostImageDestination::write_run(int32_t x0, int32_t y, int32_t count, const PixelValue* values) {
    write_host_run(pixels_, x0 + dx_, y + dy_, count, values);
}

bool HostImageDestination::sample_piece(const sdk::VRect& piece, SamplePiece& samples) {
    return sample_piece_of(pixels_, {piece.top + dy_, piece.left + dx_, piece.bottom + dy_, piece.right + dx_},
                           samples);
}

}  // namespace corvanthe
