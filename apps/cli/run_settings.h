#pragma once
// The descriptor a render run hands over, from --preset, --play and --set.
#include <string>
#include <vector>

#include "hosting/descriptor.h"
#include "settings/settings_file.h"
#include "settings/sun_settings.h"

namespace corvanthe::cli {

// Recorded descriptors larger than this are refused unread.
constexpr std::size_t kDescriptorFileMaxBytes = 1 << 20;

// The defaults, or the settings file `from` over them (its thumbnail to `thumbnails`),
// then each NAME=VALUE. False with a message for an unreadable file or a bad --set text.
bool settings_from(const std::string& from, const std::vector<std::string>& sets, SunSettings& settings,
                   ThumbnailPort* thumbnails, std::string& error);

// The settings file's 49 values (over the defaults), or the recorded descriptor, or
// none; then each NAME=VALUE replaces its key. False with a message for unreadable files
// and bad --set texts.
bool run_descriptor(const std::string& preset, const std::string& play, const std::vector<std::string>& sets,
                    hosting::Descriptor& descriptor, std::string& error);

}  // namespace corvanthe::cli
