#include "ui/win32/placement.h"

#include <algorithm>

namespace corvanthe::ui {

void place_over_owner(HWND window, HWND owner) {
    RECT area{};
    if (owner && IsWindow(owner)) {
        GetClientRect(owner, &area);
        MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&area), 2);
    } else {
        GetClientRect(GetDesktopWindow(), &area);
    }
    RECT box{};
    GetWindowRect(window, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    const bool system_menu = (GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU) != 0;
    const int buttons = GetSystemMetrics(SM_CXSIZE) * (system_menu ? 3 : 2) / 3;
    int x = area.left + std::max(0L, (area.right - area.left - width) / 2) - buttons;
    int y = area.top + std::max(0L, (area.bottom - area.top - height) / 3);
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace corvanthe::ui
