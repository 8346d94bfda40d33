#include "ui/win32/system_scope.h"

#include <commctrl.h>

namespace corvanthe::ui {
namespace {

// The module's manifest resource (ISOLATIONAWARE_MANIFEST_RESOURCE_ID).
constexpr WORD kManifestId = 2;

// Made on first use and kept for the process, as the module's resources are.
HANDLE module_context() {
    static HANDLE context = [] {
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = this_module();
        request.lpResourceName = MAKEINTRESOURCEW(kManifestId);
        return CreateActCtxW(&request);
    }();
    return context;
}

using SetDpiContext = void*(WINAPI*)(void*);

// SetThreadDpiAwarenessContext where the system has it (Windows 10 1607 on).
SetDpiContext dpi_setter() {
    static const auto setter = reinterpret_cast<SetDpiContext>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    return setter;
}

}  // namespace

HINSTANCE this_module() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&this_module), &module);
    return module;
}

SystemScope::SystemScope() {
    HANDLE context = module_context();
    if (context != INVALID_HANDLE_VALUE) activated_ = ActivateActCtx(context, &cookie_) != FALSE;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // DPI_AWARENESS_CONTEXT_UNAWARE is the handle value -1.
    if (const SetDpiContext set = dpi_setter()) previous_dpi_ = set(reinterpret_cast<void*>(static_cast<intptr_t>(-1)));
}

SystemScope::~SystemScope() {
    if (previous_dpi_) dpi_setter()(previous_dpi_);
    if (activated_) DeactivateActCtx(0, cookie_);
}

}  // namespace corvanthe::ui
