#pragma once
#include "sdk/types.h"

namespace corvanthe::sdk {

using NewPIHandleProc = Handle(CORVANTHE_HOST_API*)(int32_t size);
using DisposePIHandleProc = void(CORVANTHE_HOST_API*)(Handle h);
using GetPIHandleSizeProc = int32_t(CORVANTHE_HOST_API*)(Handle h);
using SetPIHandleSizeProc = OSErr(CORVANTHE_HOST_API*)(Handle h, int32_t size);
using LockPIHandleProc = Ptr(CORVANTHE_HOST_API*)(Handle h, Boolean moveHigh);
using UnlockPIHandleProc = void(CORVANTHE_HOST_API*)(Handle h);
using RecoverSpaceProc = void(CORVANTHE_HOST_API*)(int32_t size);
using DisposeRegularHandleProc = void(CORVANTHE_HOST_API*)(Handle h);

// Naturally aligned, as every procedure table of the interface.
struct HandleProcs {
    int16_t handleProcsVersion;
    int16_t numHandleProcs;
    NewPIHandleProc newProc;
    DisposePIHandleProc disposeProc;
    GetPIHandleSizeProc getSizeProc;
    SetPIHandleSizeProc setSizeProc;
    LockPIHandleProc lockProc;
    UnlockPIHandleProc unlockProc;
    RecoverSpaceProc recoverSpaceProc;
    DisposeRegularHandleProc disposeRegularHandleProc;
};

}  // namespace corvanthe::sdk
