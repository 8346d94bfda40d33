#include "host/host_rects.h"

#include <utility>

namespace corvanthe {
namespace {

// Templates so that the same choice serves const and non-const records.
template <class Record>
auto& short_rect(Record& record, HostRect which) {
    switch (which) {
        case HostRect::kFilter: return record.filterRect;
        case HostRect::kIn: return record.inRect;
        case HostRect::kOut: return record.outRect;
        case HostRect::kMask: break;
    }
    return record.maskRect;
}

template <class Big>
auto& long_rect(Big& big, HostRect which) {
    switch (which) {
        case HostRect::kFilter: return big.filterRect32;
        case HostRect::kIn: return big.inRect32;
        case HostRect::kOut: return big.outRect32;
        case HostRect::kMask: break;
    }
    return big.maskRect32;
}

sdk::VPoint widen(const sdk::Point& p) { return {p.v, p.h}; }

}  // namespace

bool uses_32bit_coordinates(const sdk::FilterRecord& record) {
    return record.bigDocumentData && record.bigDocumentData->PluginUsing32BitCoordinates != 0;
}

void opt_into_32bit_coordinates(sdk::FilterRecord& record) {
    if (record.bigDocumentData) record.bigDocumentData->PluginUsing32BitCoordinates = 1;
}

sdk::VRect get_rect(const sdk::FilterRecord& record, HostRect which) {
    if (uses_32bit_coordinates(record)) return long_rect(std::as_const(*record.bigDocumentData), which);
    const sdk::Rect& s = short_rect(record, which);
    return {s.top, s.left, s.bottom, s.right};
}

void set_rect(sdk::FilterRecord& record, HostRect which, const sdk::VRect& rect) {
    if (uses_32bit_coordinates(record)) {
        long_rect(*record.bigDocumentData, which) = rect;
        return;
    }
    // Documents that need the 16-bit fields are at most 30000 pixels on a side.
    sdk::Rect& s = short_rect(record, which);
    s.top = static_cast<int16_t>(rect.top);
    s.left = static_cast<int16_t>(rect.left);
    s.bottom = static_cast<int16_t>(rect.bottom);
    s.right = static_cast<int16_t>(rect.right);
}

void clear_host_rects(sdk::FilterRecord& record) {
    for (HostRect which : {HostRect::kIn, HostRect::kOut, HostRect::kMask}) set_rect(record, which, {0, 0, 0, 0});
}

sdk::VPoint float_coord(const sdk::FilterRecord& record) {
    return uses_32bit_coordinates(record) ? record.bigDocumentData->floatCoord32 : widen(record.floatCoord);
}

sdk::VPoint whole_size(const sdk::FilterRecord& record) {
    return uses_32bit_coordinates(record) ? record.bigDocumentData->wholeSize32 : widen(record.wholeSize);
}

}  // namespace corvanthe
