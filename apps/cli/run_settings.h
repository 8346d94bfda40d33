#pragma once
// The descriptor a render run hands over, from --preset, --play and --set.
#include <string>
#include <vector>

#include "hosting/descriptor.h"

namespace corvanthe::cli {

// Recorded descriptors larger than this are refused unread.
constexpr std::size_t kDescriptorFileMaxBytes = 1 << 20;

// The settings file's 49 values (over the defaults), or the recorded descriptor, or
// none; then each NAME=VALUE replaces its key. False with a message for unreadable files
// and bad --set texts.
bool run_descriptor(const std::string& preset, const std::string& play, const std::vector<std::string>& sets,
                    hosting::Descriptor& descriptor, std::string& error);

}  // namespace corvanthe::cli
