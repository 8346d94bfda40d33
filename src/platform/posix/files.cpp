#include "platform/files.h"

#include <cstdio>
#include <sys/stat.h>

namespace corvanthe {

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool replace_file(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace corvanthe
