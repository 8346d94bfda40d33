// Compile-time checks that the interface records have the byte layout real hosts
// use: expected offsets and sizes for 32-bit pointers (Win32) and for 64-bit
// pointers (Win64; Linux x86-64 builds the same layout). A wrong layout fails the build.
#include <cstddef>

#include "sdk/filter_record.h"

namespace corvanthe::sdk {
namespace {

constexpr bool k64 = sizeof(void*) == 8;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);

// The expected value for this build: w32 with 4-byte pointers, w64 with 8-byte ones.
constexpr std::size_t at(std::size_t w32, std::size_t w64) { return k64 ? w64 : w32; }

#define CORVANTHE_AT(record, field, w32, w64) \
    static_assert(offsetof(record, field) == at(w32, w64), #record "::" #field)

static_assert(sizeof(Boolean) == 1 && sizeof(OSErr) == 2 && sizeof(OSType) == 4 && sizeof(Fixed) == 4);
static_assert(sizeof(Point) == 4 && sizeof(Rect) == 8 && sizeof(RGBColor) == 6);
static_assert(sizeof(VPoint) == 8 && sizeof(VRect) == 16 && sizeof(FilterColor) == 4);
static_assert(offsetof(Point, v) == 0 && offsetof(Point, h) == 2);
static_assert(offsetof(Rect, top) == 0 && offsetof(Rect, left) == 2 && offsetof(Rect, bottom) == 4 &&
              offsetof(Rect, right) == 6);
static_assert(offsetof(VPoint, v) == 0 && offsetof(VPoint, h) == 4);
static_assert(offsetof(VRect, top) == 0 && offsetof(VRect, left) == 4 && offsetof(VRect, bottom) == 8 &&
              offsetof(VRect, right) == 12);
static_assert(sizeof(PlugInMonitor) == 40);

// FilterRecord, packed to 4.
CORVANTHE_AT(FilterRecord, serialNumber, 0, 0);
CORVANTHE_AT(FilterRecord, abortProc, 4, 4);
CORVANTHE_AT(FilterRecord, progressProc, 8, 12);
CORVANTHE_AT(FilterRecord, parameters, 12, 20);
CORVANTHE_AT(FilterRecord, imageSize, 16, 28);
CORVANTHE_AT(FilterRecord, planes, 20, 32);
CORVANTHE_AT(FilterRecord, filterRect, 22, 34);
CORVANTHE_AT(FilterRecord, background, 30, 42);
CORVANTHE_AT(FilterRecord, foreground, 36, 48);
CORVANTHE_AT(FilterRecord, maxSpace, 44, 56);
CORVANTHE_AT(FilterRecord, bufferSpace, 48, 60);
CORVANTHE_AT(FilterRecord, inRect, 52, 64);
CORVANTHE_AT(FilterRecord, inLoPlane, 60, 72);
CORVANTHE_AT(FilterRecord, inHiPlane, 62, 74);
CORVANTHE_AT(FilterRecord, outRect, 64, 76);
CORVANTHE_AT(FilterRecord, outLoPlane, 72, 84);
CORVANTHE_AT(FilterRecord, outHiPlane, 74, 86);
CORVANTHE_AT(FilterRecord, inData, 76, 88);
CORVANTHE_AT(FilterRecord, inRowBytes, 80, 96);
CORVANTHE_AT(FilterRecord, outData, 84, 100);
CORVANTHE_AT(FilterRecord, outRowBytes, 88, 108);
CORVANTHE_AT(FilterRecord, isFloating, 92, 112);
CORVANTHE_AT(FilterRecord, haveMask, 93, 113);
CORVANTHE_AT(FilterRecord, autoMask, 94, 114);
CORVANTHE_AT(FilterRecord, maskRect, 96, 116);
CORVANTHE_AT(FilterRecord, maskData, 104, 124);
CORVANTHE_AT(FilterRecord, maskRowBytes, 108, 132);
CORVANTHE_AT(FilterRecord, backColor, 112, 136);
CORVANTHE_AT(FilterRecord, foreColor, 116, 140);
CORVANTHE_AT(FilterRecord, hostSig, 120, 144);
CORVANTHE_AT(FilterRecord, hostProc, 124, 148);
CORVANTHE_AT(FilterRecord, imageMode, 128, 156);
CORVANTHE_AT(FilterRecord, imageHRes, 132, 160);
CORVANTHE_AT(FilterRecord, imageVRes, 136, 164);
CORVANTHE_AT(FilterRecord, floatCoord, 140, 168);
CORVANTHE_AT(FilterRecord, wholeSize, 144, 172);
CORVANTHE_AT(FilterRecord, monitor, 148, 176);
CORVANTHE_AT(FilterRecord, platformData, 188, 216);
CORVANTHE_AT(FilterRecord, bufferProcs, 192, 224);
CORVANTHE_AT(FilterRecord, resourceProcs, 196, 232);
CORVANTHE_AT(FilterRecord, processEvent, 200, 240);
CORVANTHE_AT(FilterRecord, displayPixels, 204, 248);
CORVANTHE_AT(FilterRecord, handleProcs, 208, 256);
CORVANTHE_AT(FilterRecord, supportsDummyChannels, 212, 264);
CORVANTHE_AT(FilterRecord, wantLayout, 214, 266);
CORVANTHE_AT(FilterRecord, filterCase, 216, 268);
CORVANTHE_AT(FilterRecord, dummyPlaneValue, 218, 270);
CORVANTHE_AT(FilterRecord, premiereHook, 220, 272);
CORVANTHE_AT(FilterRecord, advanceState, 224, 280);
CORVANTHE_AT(FilterRecord, supportsAbsolute, 228, 288);
CORVANTHE_AT(FilterRecord, getPropertyObsolete, 232, 292);
CORVANTHE_AT(FilterRecord, cannotUndo, 236, 300);
CORVANTHE_AT(FilterRecord, supportsPadding, 237, 301);
CORVANTHE_AT(FilterRecord, inputPadding, 238, 302);
CORVANTHE_AT(FilterRecord, outputPadding, 240, 304);
CORVANTHE_AT(FilterRecord, maskPadding, 242, 306);
CORVANTHE_AT(FilterRecord, samplingSupport, 244, 308);
CORVANTHE_AT(FilterRecord, inputRate, 248, 312);
CORVANTHE_AT(FilterRecord, maskRate, 252, 316);
CORVANTHE_AT(FilterRecord, colorServices, 256, 320);
CORVANTHE_AT(FilterRecord, inLayerPlanes, 260, 328);
CORVANTHE_AT(FilterRecord, inTransparencyMask, 262, 330);
CORVANTHE_AT(FilterRecord, inNonLayerPlanes, 268, 336);
CORVANTHE_AT(FilterRecord, outLayerPlanes, 270, 338);
CORVANTHE_AT(FilterRecord, absLayerPlanes, 280, 348);
CORVANTHE_AT(FilterRecord, absNonLayerPlanes, 288, 356);
CORVANTHE_AT(FilterRecord, inPreDummyPlanes, 290, 358);
CORVANTHE_AT(FilterRecord, inPostDummyPlanes, 292, 360);
CORVANTHE_AT(FilterRecord, outPreDummyPlanes, 294, 362);
CORVANTHE_AT(FilterRecord, outPostDummyPlanes, 296, 364);
CORVANTHE_AT(FilterRecord, inColumnBytes, 300, 368);
CORVANTHE_AT(FilterRecord, outPlaneBytes, 312, 380);
CORVANTHE_AT(FilterRecord, imageServicesProcs, 316, 384);
CORVANTHE_AT(FilterRecord, propertyProcs, 320, 392);
CORVANTHE_AT(FilterRecord, inTileHeight, 324, 400);
CORVANTHE_AT(FilterRecord, maskTileOrigin, 352, 428);
CORVANTHE_AT(FilterRecord, descriptorParameters, 356, 432);
CORVANTHE_AT(FilterRecord, errorString, 360, 440);
CORVANTHE_AT(FilterRecord, channelPortProcs, 364, 448);
CORVANTHE_AT(FilterRecord, documentInfo, 368, 456);
CORVANTHE_AT(FilterRecord, sSPBasic, 372, 464);
CORVANTHE_AT(FilterRecord, plugInRef, 376, 472);
CORVANTHE_AT(FilterRecord, depth, 380, 480);
CORVANTHE_AT(FilterRecord, iCCprofileData, 384, 484);
CORVANTHE_AT(FilterRecord, iCCprofileSize, 388, 492);
CORVANTHE_AT(FilterRecord, canUseICCProfiles, 392, 496);
CORVANTHE_AT(FilterRecord, hasImageScrap, 396, 500);
CORVANTHE_AT(FilterRecord, bigDocumentData, 400, 504);
static_assert(sizeof(FilterRecord) == at(404, 512), "FilterRecord ends right after bigDocumentData");

// BigDocumentStruct: 32-bit fields only, the same on every platform.
CORVANTHE_AT(BigDocumentStruct, PluginUsing32BitCoordinates, 0, 0);
CORVANTHE_AT(BigDocumentStruct, imageSize32, 4, 4);
CORVANTHE_AT(BigDocumentStruct, filterRect32, 12, 12);
CORVANTHE_AT(BigDocumentStruct, inRect32, 28, 28);
CORVANTHE_AT(BigDocumentStruct, outRect32, 44, 44);
CORVANTHE_AT(BigDocumentStruct, maskRect32, 60, 60);
CORVANTHE_AT(BigDocumentStruct, floatCoord32, 76, 76);
CORVANTHE_AT(BigDocumentStruct, wholeSize32, 84, 84);
static_assert(sizeof(BigDocumentStruct) == 92);

// The procedure tables and other records: natural alignment.
CORVANTHE_AT(HandleProcs, handleProcsVersion, 0, 0);
CORVANTHE_AT(HandleProcs, numHandleProcs, 2, 2);
CORVANTHE_AT(HandleProcs, newProc, 4, 8);
CORVANTHE_AT(HandleProcs, disposeProc, 8, 16);
CORVANTHE_AT(HandleProcs, getSizeProc, 12, 24);
CORVANTHE_AT(HandleProcs, setSizeProc, 16, 32);
CORVANTHE_AT(HandleProcs, lockProc, 20, 40);
CORVANTHE_AT(HandleProcs, unlockProc, 24, 48);
CORVANTHE_AT(HandleProcs, recoverSpaceProc, 28, 56);
CORVANTHE_AT(HandleProcs, disposeRegularHandleProc, 32, 64);
static_assert(sizeof(HandleProcs) == at(36, 72));

CORVANTHE_AT(PlatformData, hwnd, 0, 0);
static_assert(sizeof(PlatformData) == at(4, 8));

CORVANTHE_AT(AboutRecord, platformData, 0, 0);
CORVANTHE_AT(AboutRecord, sSPBasic, 4, 8);
CORVANTHE_AT(AboutRecord, plugInRef, 8, 16);
static_assert(sizeof(AboutRecord) == at(256, 272));

CORVANTHE_AT(PIDescriptorParameters, descriptorParametersVersion, 0, 0);
CORVANTHE_AT(PIDescriptorParameters, playInfo, 2, 2);
CORVANTHE_AT(PIDescriptorParameters, recordInfo, 4, 4);
CORVANTHE_AT(PIDescriptorParameters, descriptor, 8, 8);
CORVANTHE_AT(PIDescriptorParameters, writeDescriptorProcs, 12, 16);
CORVANTHE_AT(PIDescriptorParameters, readDescriptorProcs, 16, 24);
static_assert(sizeof(PIDescriptorParameters) == at(20, 32));

CORVANTHE_AT(ReadDescriptorProcs, numReadDescriptorProcs, 2, 2);
CORVANTHE_AT(ReadDescriptorProcs, openReadDescriptorProc, 4, 8);
CORVANTHE_AT(ReadDescriptorProcs, closeReadDescriptorProc, 8, 16);
CORVANTHE_AT(ReadDescriptorProcs, getKeyProc, 12, 24);
CORVANTHE_AT(ReadDescriptorProcs, getIntegerProc, 16, 32);
CORVANTHE_AT(ReadDescriptorProcs, getFloatProc, 20, 40);
CORVANTHE_AT(ReadDescriptorProcs, getUnitFloatProc, 24, 48);
CORVANTHE_AT(ReadDescriptorProcs, getBooleanProc, 28, 56);
CORVANTHE_AT(ReadDescriptorProcs, getTextProc, 32, 64);
CORVANTHE_AT(ReadDescriptorProcs, getAliasProc, 36, 72);
CORVANTHE_AT(ReadDescriptorProcs, getEnumeratedProc, 40, 80);
CORVANTHE_AT(ReadDescriptorProcs, getClassProc, 44, 88);
CORVANTHE_AT(ReadDescriptorProcs, getSimpleReferenceProc, 48, 96);
CORVANTHE_AT(ReadDescriptorProcs, getObjectProc, 52, 104);
CORVANTHE_AT(ReadDescriptorProcs, getCountProc, 56, 112);
CORVANTHE_AT(ReadDescriptorProcs, getStringProc, 60, 120);
CORVANTHE_AT(ReadDescriptorProcs, getPinnedIntegerProc, 64, 128);
CORVANTHE_AT(ReadDescriptorProcs, getPinnedFloatProc, 68, 136);
CORVANTHE_AT(ReadDescriptorProcs, getPinnedUnitFloatProc, 72, 144);
static_assert(sizeof(ReadDescriptorProcs) == at(76, 152));
static_assert(kCurrentReadDescCount == 18);

CORVANTHE_AT(WriteDescriptorProcs, numWriteDescriptorProcs, 2, 2);
CORVANTHE_AT(WriteDescriptorProcs, openWriteDescriptorProc, 4, 8);
CORVANTHE_AT(WriteDescriptorProcs, closeWriteDescriptorProc, 8, 16);
CORVANTHE_AT(WriteDescriptorProcs, putIntegerProc, 12, 24);
CORVANTHE_AT(WriteDescriptorProcs, putFloatProc, 16, 32);
CORVANTHE_AT(WriteDescriptorProcs, putUnitFloatProc, 20, 40);
CORVANTHE_AT(WriteDescriptorProcs, putBooleanProc, 24, 48);
CORVANTHE_AT(WriteDescriptorProcs, putTextProc, 28, 56);
CORVANTHE_AT(WriteDescriptorProcs, putAliasProc, 32, 64);
CORVANTHE_AT(WriteDescriptorProcs, putEnumeratedProc, 36, 72);
CORVANTHE_AT(WriteDescriptorProcs, putClassProc, 40, 80);
CORVANTHE_AT(WriteDescriptorProcs, putSimpleReferenceProc, 44, 88);
CORVANTHE_AT(WriteDescriptorProcs, putObjectProc, 48, 96);
CORVANTHE_AT(WriteDescriptorProcs, putCountProc, 52, 104);
CORVANTHE_AT(WriteDescriptorProcs, putStringProc, 56, 112);
CORVANTHE_AT(WriteDescriptorProcs, putScopedClassProc, 60, 120);
CORVANTHE_AT(WriteDescriptorProcs, putScopedObjectProc, 64, 128);
static_assert(sizeof(WriteDescriptorProcs) == at(68, 136));
static_assert(kCurrentWriteDescCount == 16);

CORVANTHE_AT(PSPixelMask, next, 0, 0);
CORVANTHE_AT(PSPixelMask, maskData, 4, 8);
CORVANTHE_AT(PSPixelMask, rowBytes, 8, 16);
CORVANTHE_AT(PSPixelMask, colBytes, 12, 20);
CORVANTHE_AT(PSPixelMask, maskDescription, 16, 24);
static_assert(sizeof(PSPixelMask) == at(20, 32));

CORVANTHE_AT(PSPixelMap, version, 0, 0);
CORVANTHE_AT(PSPixelMap, bounds, 4, 4);
CORVANTHE_AT(PSPixelMap, imageMode, 20, 20);
CORVANTHE_AT(PSPixelMap, rowBytes, 24, 24);
CORVANTHE_AT(PSPixelMap, colBytes, 28, 28);
CORVANTHE_AT(PSPixelMap, planeBytes, 32, 32);
CORVANTHE_AT(PSPixelMap, baseAddr, 36, 40);
CORVANTHE_AT(PSPixelMap, mat, 40, 48);
CORVANTHE_AT(PSPixelMap, masks, 44, 56);
CORVANTHE_AT(PSPixelMap, maskPhaseRow, 48, 64);
CORVANTHE_AT(PSPixelMap, maskPhaseCol, 52, 68);
static_assert(sizeof(PSPixelMap) == at(56, 72));

CORVANTHE_AT(ColorServicesInfo, infoSize, 0, 0);
CORVANTHE_AT(ColorServicesInfo, selector, 4, 4);
CORVANTHE_AT(ColorServicesInfo, sourceSpace, 6, 6);
CORVANTHE_AT(ColorServicesInfo, resultSpace, 8, 8);
CORVANTHE_AT(ColorServicesInfo, resultGamutInfoValid, 10, 10);
CORVANTHE_AT(ColorServicesInfo, resultInGamut, 11, 11);
CORVANTHE_AT(ColorServicesInfo, reservedSourceSpaceInfo, 12, 16);
CORVANTHE_AT(ColorServicesInfo, reservedResultSpaceInfo, 16, 24);
CORVANTHE_AT(ColorServicesInfo, colorComponents, 20, 32);
CORVANTHE_AT(ColorServicesInfo, reserved, 28, 40);
CORVANTHE_AT(ColorServicesInfo, selectorParameter, 32, 48);
static_assert(sizeof(ColorServicesInfo) == at(36, 56));

#undef CORVANTHE_AT

}  // namespace
}  // namespace corvanthe::sdk
