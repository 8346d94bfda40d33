#pragma once
// Where the program keeps its own files between runs.
#include <cstdint>
#include <string>

namespace corvanthe {

// The folder for the cached settings, memory dots and undo files, ending in the
// separator. On Linux a private per-user folder ($XDG_CACHE_HOME/corvanthe/, else
// ~/.cache/corvanthe/), created owner-only with any missing cache folder above it; a
// folder that belongs to another user is refused and an empty string comes back
// (callers then skip their file). On Windows the system's temporary path, which is
// already per user.
std::string temporary_folder();

// temporary_folder() + name, or empty when there is no usable folder.
std::string temporary_path(const std::string& name);

// The user's desktop folder, ending in the separator, created if missing. On Linux
// the XDG desktop folder (XDG_DESKTOP_DIR, else the user-dirs.dirs entry), else
// ~/Desktop; empty when there is no home. On Windows the shell's desktop folder,
// else "C:\\".
std::string desktop_folder();

// desktop_folder() + name, or empty when there is no desktop folder.
std::string desktop_path(const std::string& name);

// folder + name when no such file exists; otherwise the first free name with " 2",
// " 3", ... " 999" inserted before the extension. kFileNoUniqueName (48) when all
// are taken, kFileOk otherwise.
int16_t unique_path(const std::string& folder, const std::string& name, std::string& path);

}  // namespace corvanthe
