#pragma once
// What the host programs tell the user when a filter run ends with a non-zero result.
#include <cstdint>
#include <string>

#include "hosting/host.h"

namespace corvanthe::apps {

// "the filter failed with result code N: <meaning>", with the plug-in's error string
// in parentheses when it set one.
std::string filter_failure(const hosting::Host& host, int16_t result);

}  // namespace corvanthe::apps
