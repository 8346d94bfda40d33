#pragma once
// Settings files (.q4q) as the host programs read them: whole or not at all.
#include <string>

#include "settings/settings_file.h"
#include "settings/sun_settings.h"

namespace corvanthe::apps {

// A settings file read over the defaults, as the dialog's Load does; its thumbnail goes
// to `thumbnails` when given, its version and thumbnail block to `layout`. False with a
// message when it cannot be opened, ends early (also inside its thumbnail) or has a
// version other than 1..40.
bool read_preset_file(const std::string& path, SunSettings& settings, std::string& error,
                      ThumbnailPort* thumbnails = nullptr, SettingsFileLayout* layout = nullptr);

}  // namespace corvanthe::apps
