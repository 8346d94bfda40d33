#pragma once
// The host's rectangles and points in whichever coordinates the host uses: the 32-bit
// fields of bigDocumentData when it is present with PluginUsing32BitCoordinates set,
// the 16-bit fields of the FilterRecord otherwise. Callers never see the difference.
#include "sdk/filter_record.h"

namespace corvanthe {

enum class HostRect { kFilter, kIn, kOut, kMask };

bool uses_32bit_coordinates(const sdk::FilterRecord& record);

// Where the host offers the big-document record, tells it that the plug-in uses its 32-bit
// fields, so documents of more than 32767 pixels a side can be filtered.
void opt_into_32bit_coordinates(sdk::FilterRecord& record);

sdk::VRect get_rect(const sdk::FilterRecord& record, HostRect which);
void set_rect(sdk::FilterRecord& record, HostRect which, const sdk::VRect& rect);

// Sets inRect, outRect and maskRect to 0, 0, 0, 0: nothing more to process.
void clear_host_rects(sdk::FilterRecord& record);

sdk::VPoint float_coord(const sdk::FilterRecord& record);
sdk::VPoint whole_size(const sdk::FilterRecord& record);

inline int32_t width_of(const sdk::VRect& r) { return r.right - r.left; }
inline int32_t height_of(const sdk::VRect& r) { return r.bottom - r.top; }

}  // namespace corvanthe
