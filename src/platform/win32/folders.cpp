#include "platform/folders.h"

#include <windows.h>
#include <shlobj.h>

namespace corvanthe {

std::string temporary_folder() {
    char path[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof path, path);
    if (n == 0 || n > MAX_PATH) return "C:\\Windows\\Temp\\";
    return std::string(path, n);
}

std::string temporary_path(const std::string& name) { return temporary_folder() + name; }

std::string desktop_folder() {
    char path[MAX_PATH + 1];
    if (SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return "C:\\";
    std::string folder(path);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string desktop_path(const std::string& name) { return desktop_folder() + name; }

}  // namespace corvanthe
