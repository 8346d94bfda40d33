#pragma once
// Output files of the command are written whole or not at all: into a temporary file
// beside the target, then renamed over it.
#include <filesystem>
#include <string>

namespace corvanthe::cli {

// A name beside the target that no other run picks: pid and a counter.
std::filesystem::path temporary_beside(const std::filesystem::path& target);

// Renames the finished temporary file over the target; on failure removes it and
// says why in `error` (naming `path`).
bool replace_with_temporary(const std::filesystem::path& temporary, const std::filesystem::path& target,
                            const std::string& path, std::string& error);

}  // namespace corvanthe::cli
