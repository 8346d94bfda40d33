#include "host/store_from_host.h"

#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/tile_request.h"
#include "layers/host_fill.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

int32_t level0_tile_count(const LayerStore& store) {
    return store.last_level > 0 ? store.levels[1].first_tile : store.tile_count;
}

int32_t depth_bits(HostDepth depth) {
    switch (depth) {
        case HostDepth::k8: return 8;
        case HostDepth::k16: return 16;
        case HostDepth::k32: return 32;
        case HostDepth::kNone: break;
    }
    return 0;
}

HostPixels delivered_pixels(const sdk::FilterRecord& record) {
    return {record.inData,
            record.inRowBytes,
            record.inHiPlane - record.inLoPlane + 1,
            depth_bits(depth_class(record)),
            is_grey(record),
            has_transparency(record) ? record.inLayerPlanes : -1};
}

// Asks for one tile and copies what the host delivers.
bool copy_tile(HostContext& context, LayerStore& store, int32_t index, const sdk::VRect& filter_rect) {
    sdk::FilterRecord& record = *context.record;
    const StoreTile& tile = store.tiles[index];
    request_tile(context, {tile.y, tile.x, tile.y + tile.height, tile.x + tile.width});
    const sdk::VRect corner{filter_rect.top, filter_rect.left, filter_rect.top + 1, filter_rect.left + 1};
    set_rect(record, HostRect::kOut, corner);
    set_rect(record, HostRect::kMask, have_mask(record) ? corner : sdk::VRect{0, 0, 0, 0});
    if (advance(context) != 0) return false;
    return fill_tile_from_host(store, index, delivered_pixels(record));
}

}  // namespace

bool copy_host_into_store(HostContext& context, LayerStore& store) {
    if (!store.tiles) return false;
    SunSettings& s = *context.settings;
    const int32_t divisor = s.scale_divisor, offset_x = s.preview_offset_x, offset_y = s.preview_offset_y;
    const sdk::VRect filter_rect = get_rect(*context.record, HostRect::kFilter);
    s.scale_divisor = 1;
    s.preview_offset_x = filter_rect.left;
    s.preview_offset_y = filter_rect.top;

    bool complete = true;
    for (int32_t i = 0, count = level0_tile_count(store); i < count && complete; ++i)
        complete = copy_tile(context, store, i, filter_rect);

    s.scale_divisor = divisor;
    s.preview_offset_x = offset_x;
    s.preview_offset_y = offset_y;
    return complete;
}

}  // namespace corvanthe
