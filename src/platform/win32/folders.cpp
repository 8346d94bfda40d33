#include "platform/folders.h"

#include <windows.h>

namespace corvanthe {

std::string temporary_folder() {
    char path[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof path, path);
    if (n == 0 || n > MAX_PATH) return "C:\\Windows\\Temp\\";
    return std::string(path, n);
}

std::string temporary_path(const std::string& name) { return temporary_folder() + name; }

}  // namespace corvanthe
