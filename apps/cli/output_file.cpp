#include "apps/cli/output_file.h"

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace corvanthe::cli {

bool write_output_file(const std::string& path,
                       const std::function<bool(const std::string& temporary, std::string& reason)>& write,
                       std::string& error) {
    ReplacementFile file;
    if (!start_replacement(path, file)) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    // The writer opens the new file by its name; the stream stays empty.
    std::string reason;
    if (!write(file.temporary, reason)) {
        abandon_replacement(file);
        error = "cannot write '" + path + "'" + (reason.empty() ? "" : ": " + reason);
        return false;
    }
    if (finish_replacement(file)) return true;
    error = "cannot write '" + path + "'";
    return false;
}

}  // namespace corvanthe::cli
