#include "host/host_piece_reader.h"

#include "host/host_rects.h"
#include "host/tile_request.h"

namespace corvanthe {

bool HostPieceReader::take_piece(const sdk::VRect& piece) {
    if (advance(context_) != 0) return false;
    pixels_ = host_pixels(*context_.record, get_rect(*context_.record, HostRect::kIn));
    dx_ = pixels_.in_area.left - piece.left;
    dy_ = pixels_.in_area.top - piece.top;
    return true;
}

PixelValue HostPieceReader::read(int32_t x, int32_t y) {
    PixelValue pixel;
    read_pixel(pixels_, x + dx_, y + dy_, true, pixel);
    return pixel;
}

float HostPieceReader::mask(int32_t x, int32_t y) { return read_mask(pixels_, x + dx_, y + dy_, true); }

void HostPieceReader::read_run(int32_t x0, int32_t y, int32_t count, PixelValue* hosts, float* masks) {
    for (int32_t i = 0; i < count; ++i) hosts[i] = PixelValue{};
    read_host_run(pixels_, x0 + dx_, y + dy_, count, hosts, masks);
}

}  // namespace corvanthe
