#pragma once
// The preset-folder refresh's files: old presets ("q9q") and refreshed ones ("q5q") that the
// dialog loads, renders and saves again in the current format.
#include <string>
#include <vector>

namespace corvanthe {

// Full paths, by name, of the folder's plain, writable files whose name contains "q9q" or
// "q5q" (any letter case); empty when the folder cannot be listed.
std::vector<std::string> presets_to_refresh(const std::string& folder);

// A refreshed file whose name contains "q9q" takes the extension ".q5q" in its folder. False
// when the name has no "q9q" or the rename failed.
bool rename_refreshed_preset(const std::string& path);

}  // namespace corvanthe
