#pragma once
// The program's files in the temporary folder: their names, and the cached
// settings of the last run.
#include <string>

#include "settings/settings_file.h"

namespace corvanthe {

// Full paths in the temporary folder; empty when there is no usable folder.
std::string cached_settings_path();        // "Corvanthe cached settings D"
std::string memory_dot_path(int index);    // "Corvanthe A memory dot <index>.q4q"
std::string memory_dot_map_path();         // "Corvanthe memdot map 2"
std::string undo_path(int slot);           // "Corvanthe undo <slot>"

// Writes the record with the thumbnail after a successful run. The result is
// for tests; a run never fails on it.
int16_t save_cached_settings(const SunSettings& settings, ThumbnailPort* thumbnails);

// Reads the last run's settings over the record (mode 0); a missing file leaves it.
SettingsReadResult load_cached_settings(SunSettings& settings, ThumbnailPort* thumbnails);

}  // namespace corvanthe
