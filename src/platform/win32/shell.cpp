#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace corvanthe {

bool open_with_desktop(const std::string& target) {
    // ShellExecute reports success with a value above 32.
    const HINSTANCE started =
        ShellExecuteW(nullptr, L"open", wide_from_utf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

}  // namespace corvanthe
