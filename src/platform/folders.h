#pragma once
// Where the program keeps its own files between runs.
#include <string>

namespace corvanthe {

// The folder for the cached settings, memory dots and undo files, ending in the
// separator. On Linux a private per-user folder ($XDG_CACHE_HOME/corvanthe/, else
// ~/.cache/corvanthe/), created owner-only; a folder that belongs to another user is
// refused and an empty string comes back (callers then skip their file). On Windows
// the system's temporary path, which is already per user.
std::string temporary_folder();

// temporary_folder() + name, or empty when there is no usable folder.
std::string temporary_path(const std::string& name);

}  // namespace corvanthe
