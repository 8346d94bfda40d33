#pragma once
// Small plug-ins written against the interface for the host's tests. Each is a plain
// entry function configured through one global record.
#include <cstdint>
#include <vector>

#include "sdk/filter_record.h"

namespace corvanthe::hosting::testing {

// The rectangles as a plug-in must read and write them: 32-bit fields while it uses
// 32-bit coordinates, else the 16-bit ones.
sdk::VRect filter_rect(const sdk::FilterRecord& r);
void set_rects(sdk::FilterRecord& r, const sdk::VRect& in, const sdk::VRect& out, const sdk::VRect& mask);

struct InverterConfig {
    int tile = 5;                   // tile side
    bool use_32bit = false;         // set PluginUsing32BitCoordinates when the record is there
    int16_t advance_result = 0;     // what the last advanceState answered
    int tiles_done = 0;
    std::vector<uint8_t> mask_seen; // mask bytes of the tiles, in order
};
extern InverterConfig g_inverter;

// In Start, walks the filter rectangle tile by tile through advanceState and writes
// full − value for every sample of every plane (reading inData, writing outData at the
// host's strides); reports progress per tile; stops at an advanceState error.
void CORVANTHE_HOST_API inverter_main(int16_t selector, void* record, intptr_t* data, int16_t* result);

}  // namespace corvanthe::hosting::testing
