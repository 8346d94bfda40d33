#include "platform/files.h"
#include "platform/folders.h"

namespace corvanthe {

int16_t unique_path(const std::string& folder, const std::string& name, std::string& path) {
    path = folder + name;
    if (!file_exists(path)) return kFileOk;
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 2; n <= 999; ++n) {
        path = folder + stem + " " + std::to_string(n) + extension;
        if (!file_exists(path)) return kFileOk;
    }
    path.clear();
    return kFileNoUniqueName;
}

}  // namespace corvanthe
