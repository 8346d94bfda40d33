#pragma once
// The blend of the sun onto the image, stored in the settings record's `glue` field.
// The display and scripting names live in settings/parameter_table.
#include <cstdint>

namespace corvanthe {

enum GlueMode : int32_t {
    kGlueNormal = 1,
    kGlueProceduralPlus = 2,
    kGlueProceduralMinus = 3,
    kGlueDifference = 4,
    kGlueLighten = 5,
    kGlueDarken = 6,
    kGlueAdd = 7,
    kGlueSubtract = 8,
    kGlueMultiply = 9,
    kGlueScreen = 10,
    kGlueComposite = 11,
    kGlueHardLight = 12,
    kGlueOverlay = 13,
    kGlueSuperlay = 14,
    kGlueExclusion = 15,
    kGlueColor = 16,
    kGlueLuminance = 17,
    kGlueLinearLight = 18,
    kGluePinLight = 19,
};

constexpr int32_t kGlueModeCount = 19;

}  // namespace corvanthe
