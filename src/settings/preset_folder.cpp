#include "settings/preset_folder.h"

#include <algorithm>
#include <filesystem>

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

bool name_contains(std::string name, const char* part) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return name.find(part) != std::string::npos;
}

}  // namespace

std::vector<std::string> presets_to_refresh(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    fs::directory_iterator entry(fs::path(folder), error);
    for (const fs::directory_iterator end; !error && entry != end; entry.increment(error)) {
        std::error_code status_error;
        const fs::file_status status = entry->status(status_error);
        if (status_error || !fs::is_regular_file(status)) continue;
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) continue;
        const std::string name = entry->path().filename().string();
        if (name_contains(name, "q9q") || name_contains(name, "q5q")) paths.push_back(entry->path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool rename_refreshed_preset(const std::string& path) {
    const fs::path from(path);
    if (!name_contains(from.filename().string(), "q9q")) return false;
    fs::path to = from;
    to.replace_extension(".q5q");
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

}  // namespace corvanthe
