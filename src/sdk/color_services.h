#pragma once
// The host's colour services: the colour picker and colour conversions.
#include "sdk/types.h"

namespace corvanthe::sdk {

// selector values.
constexpr int16_t kColorServicesChooseColor = 0;
constexpr int16_t kColorServicesConvertColor = 1;
constexpr int16_t kColorServicesSamplePoint = 2;
constexpr int16_t kColorServicesGetSpecialColor = 3;

// sourceSpace / resultSpace values.
constexpr int16_t kColorServicesChosenSpace = -1;  // result only: the space the user chose
constexpr int16_t kColorServicesRGBSpace = 0;      // components 0..255
constexpr int16_t kColorServicesHSBSpace = 1;
constexpr int16_t kColorServicesCMYKSpace = 2;
constexpr int16_t kColorServicesLabSpace = 3;
constexpr int16_t kColorServicesGraySpace = 4;
constexpr int16_t kColorServicesHSLSpace = 5;
constexpr int16_t kColorServicesXYZSpace = 6;

// specialColorID values for kColorServicesGetSpecialColor.
constexpr int32_t kColorServicesForegroundColor = 0;
constexpr int32_t kColorServicesBackgroundColor = 1;

// Naturally aligned. infoSize must be sizeof(ColorServicesInfo); the three
// reserved pointers must be null or the host answers with a parameter error.
struct ColorServicesInfo {
    int32_t infoSize;
    int16_t selector;
    int16_t sourceSpace;
    int16_t resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16_t colorComponents[4];
    void* reserved;
    union {
        unsigned char* pickerPrompt;  // Pascal string, or null for no prompt
        Point* globalSamplePoint;
        int32_t specialColorID;
    } selectorParameter;
};

using ColorServicesProc = OSErr(CORVANTHE_HOST_API*)(ColorServicesInfo* info);

}  // namespace corvanthe::sdk
