#include "platform/folders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/win32/wide_text.h"

namespace corvanthe {

std::string temporary_folder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, path);
    if (n == 0 || n > MAX_PATH) return "C:\\Windows\\Temp\\";
    return utf8_from_wide(std::wstring_view(path, n));
}

std::string temporary_path(const std::string& name) { return temporary_folder() + name; }

std::string desktop_folder() {
    wchar_t path[MAX_PATH + 1];
    if (SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return "C:\\";
    std::string folder = utf8_from_wide(path);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string desktop_path(const std::string& name) { return desktop_folder() + name; }

}  // namespace corvanthe
