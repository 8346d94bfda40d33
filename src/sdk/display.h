#pragma once
#include "sdk/types.h"

namespace corvanthe::sdk {

// The pixel map that displayPixels draws, version 1 of the record, and the masks it
// may chain. Both naturally aligned.
struct PSPixelMask {
    PSPixelMask* next;
    void* maskData;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t maskDescription;
};

struct PSPixelMap {
    int32_t version;  // 1
    VRect bounds;
    int32_t imageMode;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
    void* baseAddr;
    // version 1
    PSPixelMask* mat;
    PSPixelMask* masks;
    int32_t maskPhaseRow;
    int32_t maskPhaseCol;
};

using DisplayPixelsProc = OSErr(CORVANTHE_HOST_API*)(const PSPixelMap* source, const VRect* srcRect,
                                                     int32_t dstRow, int32_t dstCol, void* platformContext);

}  // namespace corvanthe::sdk
