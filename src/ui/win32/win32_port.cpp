#include "ui/win32/win32_port.h"

#include <windows.h>

#include <cstring>

#include "platform/product.h"
#include "platform/shell.h"
#include "platform/win32/wide_text.h"
#include "resource_ids.h"

namespace corvanthe::ui {
namespace {

constexpr WORD kVisitWebsite = 5;

// The module that holds the resources: the plug-in itself, not the host's program.
HINSTANCE this_module() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&this_module), &module);
    return module;
}

INT_PTR CALLBACK message_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* dialog = reinterpret_cast<const MessageDialog*>(lparam);
            if (dialog->title && *dialog->title) SetWindowTextW(window, wide_from_utf8(dialog->title).c_str());
            if (dialog->text && *dialog->text)
                SetDlgItemTextW(window, CORVANTHE_IDC_MESSAGE_TEXT, wide_from_utf8(dialog->text).c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wparam) == kVisitWebsite) open_with_desktop(product::kWebAddress);
            EndDialog(window, LOWORD(wparam));
            return TRUE;
        case WM_CLOSE:
            EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

// The resource of the message box that is up, or null.
const char* open_message = nullptr;

}  // namespace

void Win32Port::show_message(void* owner, const MessageDialog& dialog) {
    if (open_message && std::strcmp(open_message, dialog.resource) == 0) return;
    open_message = dialog.resource;
    DialogBoxParamA(this_module(), dialog.resource, static_cast<HWND>(owner), message_procedure,
                    reinterpret_cast<LPARAM>(&dialog));
    open_message = nullptr;
}

// The main dialog comes with the Win32 dialog; until then a run goes ahead with the
// settings it has, as under the silent port.
int Win32Port::run_main_dialog(void*, DialogClient&) { return kDialogOk; }

}  // namespace corvanthe::ui
