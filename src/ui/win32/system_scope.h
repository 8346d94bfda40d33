#pragma once
// What every window of the plug-in is created inside: the module's own activation context
// (its manifest asks for common controls version 6, whatever the host's program asked for)
// and, where Windows has per-thread DPI awareness, a DPI-unaware thread, so that a DPI-aware
// host's system scales the dialog to its intended size. Both are put back on leaving.
#include <windows.h>

namespace corvanthe::ui {

// The module that holds the resources: the plug-in itself, not the host's program.
HINSTANCE this_module();

class SystemScope {
public:
    SystemScope();
    ~SystemScope();
    SystemScope(const SystemScope&) = delete;
    SystemScope& operator=(const SystemScope&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool activated_ = false;
    void* previous_dpi_ = nullptr;
};

}  // namespace corvanthe::ui
