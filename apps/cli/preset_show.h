#pragma once
// A settings record read from a file, as `corvanthe preset show` prints it: as text, or
// as JSON keyed by the four-character keys with every value as the record stores it
// (colour channels 16-bit, switches and enumerations as integers, floats exactly).
#include <string>

#include "settings/settings_file.h"
#include "settings/sun_settings.h"

namespace corvanthe::cli {

std::string settings_json(const SunSettings& settings, const SettingsFileLayout& layout);
std::string settings_text(const SunSettings& settings, const SettingsFileLayout& layout);

}  // namespace corvanthe::cli
