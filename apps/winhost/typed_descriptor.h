#pragma once
// Descriptors written from the command line: KEY=VALUE with the parameter's own key
// ("0014=80", "sgky=5", "0042=1.5", "0021=1"), typed as the plug-in's parameter table
// types it (enumerations by their number, 1 upward).
#include <string>

#include "hosting/descriptor.h"

namespace corvanthe::winhost {

// Adds the setting; false with the reason when the key is unknown or the value is not
// a number of the parameter's type.
bool put_setting(hosting::Descriptor& descriptor, const std::string& setting, std::string& error);

}  // namespace corvanthe::winhost
