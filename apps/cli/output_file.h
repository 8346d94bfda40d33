#pragma once
// Output files of the command are written whole or not at all, the way the plug-in writes
// its own files: into a new file beside the target, which then takes the target's place.
// A symbolic link is written through to the file it leads to, the old file's permissions
// are kept, and a file with further hard links is rewritten where it is.
#include <functional>
#include <string>

namespace corvanthe::cli {

// Writes the output file `path` by write(temporary, reason), which fills the new file,
// named `temporary`, or says why it could not in `reason`. On failure the target is left
// as it was, no new file stays behind, and `error` says why, naming `path`.
bool write_output_file(const std::string& path,
                       const std::function<bool(const std::string& temporary, std::string& reason)>& write,
                       std::string& error);

}  // namespace corvanthe::cli
