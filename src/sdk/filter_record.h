#pragma once
// The host's parameter block of a filter call and the records it points to, declared
// from the interface's public documentation so that the layout matches real hosts.
// The FilterRecord is packed to 4 bytes (as hosts build it on Windows, 32- and 64-bit);
// the procedure tables keep their natural alignment. On 64-bit builds the pointer
// fields of the FilterRecord are therefore misaligned: read and write them by value,
// never take their address. Offsets are pinned in sdk/layout_checks.cpp.
#include "sdk/color_services.h"
#include "sdk/descriptor.h"
#include "sdk/display.h"
#include "sdk/handle_procs.h"
#include "sdk/types.h"

namespace corvanthe::sdk {

// Selectors of PluginMain.
enum FilterSelector : int16_t {
    kFilterSelectorAbout = 0,
    kFilterSelectorParameters = 1,
    kFilterSelectorPrepare = 2,
    kFilterSelectorStart = 3,
    kFilterSelectorContinue = 4,
    kFilterSelectorFinish = 5,
};

// Result codes.
constexpr OSErr kNoErr = 0;
constexpr OSErr kReadErr = -19;
constexpr OSErr kWriteErr = -20;
constexpr OSErr kMemFullErr = -108;
constexpr OSErr kUserCanceledErr = -128;
constexpr OSErr kErrMissingParameter = -1715;
constexpr OSErr kFilterBadParameters = -30100;
constexpr OSErr kFilterBadMode = -30101;

// imageMode values.
enum ImageMode : int16_t {
    kModeBitmap = 0,
    kModeGrayScale = 1,
    kModeIndexedColor = 2,
    kModeRGBColor = 3,
    kModeCMYKColor = 4,
    kModeHSLColor = 5,
    kModeHSBColor = 6,
    kModeMultichannel = 7,
    kModeDuotone = 8,
    kModeLabColor = 9,
    kModeGray16 = 10,
    kModeRGB48 = 11,
    kModeLab48 = 12,
    kModeCMYK64 = 13,
    kModeDeepMultichannel = 14,
    kModeDuotone16 = 15,
    kModeRGB96 = 16,
    kModeGray32 = 17,
};

// filterCase values (0: the host did not set the field).
enum FilterCase : int16_t {
    kFilterCaseUnsupported = -1,
    kFilterCaseFlatImageNoSelection = 1,
    kFilterCaseFlatImageWithSelection = 2,
    kFilterCaseFloatingSelection = 3,
    kFilterCaseEditableTransparencyNoSelection = 4,
    kFilterCaseEditableTransparencyWithSelection = 5,
    kFilterCaseProtectedTransparencyNoSelection = 6,
    kFilterCaseProtectedTransparencyWithSelection = 7,
};

// inputPadding / outputPadding / maskPadding: 0..255 is a fill value, or one of these.
constexpr int16_t kPlugInWantsEdgeReplication = -1;
constexpr int16_t kPlugInDoesNotWantPadding = -2;
constexpr int16_t kPlugInWantsErrorOnBoundsException = -3;

struct PlugInMonitor {
    Fixed gamma;
    Fixed redX, redY;
    Fixed greenX, greenY;
    Fixed blueX, blueY;
    Fixed whiteX, whiteY;
    Fixed ambient;
};

// What platformData points to on Windows: the first member is the host's main window.
struct PlatformData {
    void* hwnd;  // the owner of the plug-in's windows: an HWND on Windows, the X11 window id or 0 on Linux
};

struct SPBasicSuite;

using TestAbortProc = Boolean(CORVANTHE_HOST_API*)();
using ProgressProc = void(CORVANTHE_HOST_API*)(int32_t done, int32_t total);
using HostProc = void(CORVANTHE_HOST_API*)(int16_t selector, intptr_t* data);
using ProcessEventProc = void(CORVANTHE_HOST_API*)(void* event);
using AdvanceStateProc = OSErr(CORVANTHE_HOST_API*)();
using GetPropertyProc = OSErr(CORVANTHE_HOST_API*)(OSType signature, OSType key, int32_t index,
                                                   intptr_t* simpleProperty, Handle* complexProperty);

#pragma pack(push, 4)

// Coordinates for documents beyond 30000 pixels. While the plug-in sets
// PluginUsing32BitCoordinates, the host reads and writes these instead of the
// 16-bit imageSize, filterRect, inRect, outRect, maskRect, floatCoord and wholeSize.
struct BigDocumentStruct {
    int32_t PluginUsing32BitCoordinates;
    VPoint imageSize32;
    VRect filterRect32;
    VRect inRect32;
    VRect outRect32;
    VRect maskRect32;
    VPoint floatCoord32;
    VPoint wholeSize32;
};
using BigDocumentData = BigDocumentStruct;

// Declared up to bigDocumentData; the host's record continues beyond it.
struct FilterRecord {
    int32_t serialNumber;
    TestAbortProc abortProc;
    ProgressProc progressProc;
    Handle parameters;
    Point imageSize;
    int16_t planes;
    Rect filterRect;
    RGBColor background;
    RGBColor foreground;
    int32_t maxSpace;
    int32_t bufferSpace;
    Rect inRect;
    int16_t inLoPlane;
    int16_t inHiPlane;
    Rect outRect;
    int16_t outLoPlane;
    int16_t outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    Rect maskRect;
    void* maskData;
    int32_t maskRowBytes;
    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    HostProc hostProc;
    int16_t imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    Point floatCoord;
    Point wholeSize;
    PlugInMonitor monitor;
    void* platformData;
    void* bufferProcs;
    void* resourceProcs;
    ProcessEventProc processEvent;
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;

    // Interface 3.0
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16_t wantLayout;
    int16_t filterCase;
    int16_t dummyPlaneValue;
    void* premiereHook;
    AdvanceStateProc advanceState;
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    GetPropertyProc getPropertyObsolete;
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16_t inputPadding;
    int16_t outputPadding;
    int16_t maskPadding;
    char samplingSupport;
    char reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    ColorServicesProc colorServices;
    int16_t inLayerPlanes;
    int16_t inTransparencyMask;
    int16_t inLayerMasks;
    int16_t inInvertedLayerMasks;
    int16_t inNonLayerPlanes;
    int16_t outLayerPlanes;
    int16_t outTransparencyMask;
    int16_t outLayerMasks;
    int16_t outInvertedLayerMasks;
    int16_t outNonLayerPlanes;
    int16_t absLayerPlanes;
    int16_t absTransparencyMask;
    int16_t absLayerMasks;
    int16_t absInvertedLayerMasks;
    int16_t absNonLayerPlanes;
    int16_t inPreDummyPlanes;
    int16_t inPostDummyPlanes;
    int16_t outPreDummyPlanes;
    int16_t outPostDummyPlanes;
    int32_t inColumnBytes;
    int32_t inPlaneBytes;
    int32_t outColumnBytes;
    int32_t outPlaneBytes;

    // Interface 3.0.4
    void* imageServicesProcs;
    void* propertyProcs;
    int16_t inTileHeight;
    int16_t inTileWidth;
    Point inTileOrigin;
    int16_t absTileHeight;
    int16_t absTileWidth;
    Point absTileOrigin;
    int16_t outTileHeight;
    int16_t outTileWidth;
    Point outTileOrigin;
    int16_t maskTileHeight;
    int16_t maskTileWidth;
    Point maskTileOrigin;

    // Interface 4.0
    PIDescriptorParameters* descriptorParameters;
    unsigned char* errorString;  // Str255
    void* channelPortProcs;
    void* documentInfo;

    // Interface 5.0
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    int32_t depth;

    // Interface 6.0
    Handle iCCprofileData;
    int32_t iCCprofileSize;
    int32_t canUseICCProfiles;

    // Interface 7.0
    int32_t hasImageScrap;

    // Interface 8.0: null when the host has no 32-bit coordinates.
    BigDocumentStruct* bigDocumentData;
};

#pragma pack(pop)

// The About selector passes this record instead of a FilterRecord.
struct AboutRecord {
    void* platformData;
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

using PluginMainProc = void(CORVANTHE_HOST_API*)(int16_t selector, void* record, intptr_t* data, int16_t* result);

}  // namespace corvanthe::sdk
