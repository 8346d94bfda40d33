#include "settings/temporary_files.h"

#include <cstdio>

#include "platform/folders.h"
#include "platform/product.h"

namespace corvanthe {

std::string cached_settings_path() { return temporary_path(std::string(product::kName) + " cached settings D"); }

std::string memory_dot_path(int index) {
    char name[kPathLength];
    std::snprintf(name, sizeof name, "%s A memory dot %d%s", product::kName, index, ".q4q");
    return temporary_path(name);
}

std::string memory_dot_map_path() { return temporary_path(std::string(product::kName) + " memdot map 2"); }

std::string undo_path(int slot) { return temporary_path(std::string(product::kName) + " undo " + std::to_string(slot)); }

int16_t save_cached_settings(const SunSettings& settings, ThumbnailPort* thumbnails) {
    return write_settings_file(cached_settings_path(), settings, thumbnails);
}

SettingsReadResult load_cached_settings(SunSettings& settings, ThumbnailPort* thumbnails) {
    return read_settings_file(cached_settings_path(), SettingsReadMode::Load, settings, thumbnails);
}

}  // namespace corvanthe
