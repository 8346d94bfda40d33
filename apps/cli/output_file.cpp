#include "apps/cli/output_file.h"

#include <unistd.h>

namespace corvanthe::cli {

namespace fs = std::filesystem;

fs::path temporary_beside(const fs::path& target) {
    static int counter = 0;
    fs::path name = target;
    name.replace_filename("." + target.filename().string() + "." + std::to_string(getpid()) + "." +
                          std::to_string(counter++) + ".part" + target.extension().string());
    return name;
}

bool replace_with_temporary(const fs::path& temporary, const fs::path& target, const std::string& path,
                            std::string& error) {
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (!ec) return true;
    error = "cannot write '" + path + "': " + ec.message();
    fs::remove(temporary, ec);
    return false;
}

}  // namespace corvanthe::cli
