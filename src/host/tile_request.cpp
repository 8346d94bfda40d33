#include "host/tile_request.h"

#include "host/host_queries.h"
#include "host/host_rects.h"
#include "settings/sun_settings.h"

namespace corvanthe {

namespace {

constexpr int16_t kRefused = 1;
constexpr int16_t kEdgeReplication = -1;

sdk::VRect shifted(const sdk::VRect& r, int32_t dv, int32_t dh) {
    return {r.top + dv, r.left + dh, r.bottom + dv, r.right + dh};
}

}  // namespace

void set_request_parameters(sdk::FilterRecord& record, int32_t rate) {
    record.inLoPlane = record.outLoPlane = 0;
    record.inHiPlane = record.outHiPlane = static_cast<int16_t>(record.planes - 1);
    record.inputRate = record.maskRate = static_cast<sdk::Fixed>(static_cast<uint32_t>(rate) << 16);
    record.inputPadding = record.outputPadding = record.maskPadding = kEdgeReplication;
    record.inPreDummyPlanes = record.inPostDummyPlanes = 0;
    record.outPreDummyPlanes = record.outPostDummyPlanes = 0;
    record.autoMask = 0;
}

void request_tile(HostContext& context, const sdk::VRect& area) {
    sdk::FilterRecord& record = *context.record;
    int32_t divisor = 1;
    int32_t offset_x = 0;
    int32_t offset_y = 0;
    if (const SunSettings* s = context.settings) {
        divisor = s->scale_divisor > 1 ? s->scale_divisor : 1;
        offset_x = s->preview_offset_x;
        offset_y = s->preview_offset_y;
    }
    // Only a floating selection has rectangles of its own; some hosts also give the corner
    // of an ordinary selection in floatCoord, which must not move the tiles.
    const sdk::VPoint origin = record.isFloating ? float_coord(record) : sdk::VPoint{0, 0};
    sdk::VRect r = shifted(area, origin.v / divisor, origin.h / divisor);
    r = shifted(r, offset_y / divisor, offset_x / divisor);
    set_rect(record, HostRect::kIn, r);
    set_rect(record, HostRect::kOut, r);
    if (have_mask(record)) set_rect(record, HostRect::kMask, r);
    set_request_parameters(record, divisor);
}

int16_t advance(HostContext& context) {
    const sdk::FilterRecord& record = *context.record;
    const int16_t code = has_advance_state(record) ? record.advanceState() : kRefused;
    set_result(context, code);
    return code;
}

bool host_cancelled(HostContext& context) {
    const sdk::FilterRecord& record = *context.record;
    if (!record.abortProc || !record.abortProc()) return false;
    set_result(context, sdk::kUserCanceledErr);
    return true;
}

void report_progress(const HostContext& context, int32_t done, int32_t total) {
    if (context.record && context.record->progressProc) context.record->progressProc(done + 1, total);
}

}  // namespace corvanthe
