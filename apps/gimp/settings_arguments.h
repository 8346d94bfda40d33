#pragma once
// The settings of a scripted run, from the procedure's two text arguments: a settings
// file, then a recorded descriptor in its JSON form applied over it.
#include <string>
#include <string_view>

#include "hosting/descriptor.h"

namespace corvanthe::gimp {

// The file's 49 values (read over the defaults) when a path is given, then each key of
// the JSON object in its place; both empty: an empty descriptor, so the plug-in runs
// from its defaults. False with a message when the file cannot be read or the text is
// not a descriptor.
bool descriptor_from_arguments(const std::string& settings_path, std::string_view descriptor_json,
                               hosting::Descriptor& descriptor, std::string& error);

}  // namespace corvanthe::gimp
