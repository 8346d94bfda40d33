#pragma once
// The scripting terminology resource ("AETE" 16000): one suite with one event whose
// parameters are the 49 scripted settings, plus the two enumerations. Hosts read it
// to record and replay the filter and to name its parameters in scripts.
#include <cstdint>
#include <vector>

#include "platform/product.h"
#include "sdk/four_cc.h"

namespace corvanthe {

// Who we are to the host: shared by the terminology and the property list.
constexpr int16_t kTerminologyResourceId = 16000;
constexpr const char* kVendorName = product::kMaker;
constexpr const char* kPluginName = product::kName;
constexpr const char* kPluginDescription = "Draws fantasy suns";
constexpr const char* kTerminologyScope = "Tallow Heron Corvanthe";
constexpr uint32_t kSuiteId = four_cc("Fcrv");
constexpr uint32_t kEventClass = four_cc("Fcrv");
constexpr uint32_t kEventId = four_cc("Fcrv");

// The resource bytes in the Windows layout: a two-byte prelude (1), then the
// terminology with Pascal strings and no alignment padding between fields.
std::vector<uint8_t> aete_resource();

}  // namespace corvanthe
