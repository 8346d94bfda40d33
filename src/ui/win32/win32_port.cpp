#include "ui/win32/win32_port.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/product.h"
#include "platform/shell.h"
#include "platform/win32/wide_text.h"
#include "resource_ids.h"
#include "ui/pictures.h"
#include "ui/win32/choosers.h"
#include "ui/win32/gdi_pictures.h"
#include "ui/win32/main_window.h"
#include "ui/win32/placement.h"
#include "ui/win32/system_scope.h"

namespace corvanthe::ui {
namespace {

constexpr WORD kVisitWebsite = 5;
constexpr int kButtonBand = 40;  // below the pictures of a box, for its button

struct BoxPicture {
    const char* resource;
    int32_t bitmap;
    int x;
    int y;
};

// The pictures of the boxes that show pictures, stacked on their white background.
constexpr BoxPicture kBoxPictures[] = {
    {"ABOUTBOX", 127, 0, 0},
    {"ABOUTBOX", 136, 0, 110},
    {"ABOUTBOX", 131, 0, 186},
    {"INFOBOX", 145, 0, 0},
};

bool has_pictures(const char* resource) {
    return std::any_of(std::begin(kBoxPictures), std::end(kBoxPictures),
                       [resource](const BoxPicture& p) { return std::strcmp(p.resource, resource) == 0; });
}

void paint_pictures(HWND window, const char* resource) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    for (const BoxPicture& p : kBoxPictures)
        if (std::strcmp(p.resource, resource) == 0)
            if (const Picture* picture = find_picture(PictureKind::Bitmap, p.bitmap))
                draw_picture(dc, p.x, p.y, picture->image);
    EndPaint(window, &ps);
}

// The client area around a box's pictures, with its one button centred below them.
void fit_to_pictures(HWND window, const char* resource) {
    int width = 0, height = 0;
    for (const BoxPicture& p : kBoxPictures) {
        const Picture* picture = std::strcmp(p.resource, resource) == 0 ? find_picture(PictureKind::Bitmap, p.bitmap) : nullptr;
        if (!picture) continue;
        width = std::max(width, p.x + picture->image.width);
        height = std::max(height, p.y + picture->image.height);
    }
    RECT frame{0, 0, width, height + kButtonBand};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    if (HWND button = FindWindowExW(window, nullptr, L"BUTTON", nullptr)) {
        RECT r{};
        GetWindowRect(button, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        SetWindowPos(button, nullptr, (width - w) / 2, height + (kButtonBand - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

INT_PTR CALLBACK message_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto* dialog = reinterpret_cast<const MessageDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(window, DWLP_USER, lparam);
            dialog = reinterpret_cast<const MessageDialog*>(lparam);
            if (dialog->title && *dialog->title) SetWindowTextW(window, wide_from_utf8(dialog->title).c_str());
            if (dialog->text && *dialog->text)
                SetDlgItemTextW(window, CORVANTHE_IDC_MESSAGE_TEXT, wide_from_utf8(dialog->text).c_str());
            if (has_pictures(dialog->resource)) fit_to_pictures(window, dialog->resource);
            place_over_owner(window, GetWindow(window, GW_OWNER));
            return TRUE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            if (!dialog || !has_pictures(dialog->resource)) return FALSE;
            return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
        case WM_PAINT:
            if (!dialog || !has_pictures(dialog->resource)) return FALSE;
            paint_pictures(window, dialog->resource);
            return TRUE;
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
    SystemScope scope;
    DialogBoxParamW(this_module(), wide_from_utf8(dialog.resource).c_str(), static_cast<HWND>(owner), message_procedure,
                    reinterpret_cast<LPARAM>(&dialog));
    open_message = nullptr;
}

int Win32Port::run_main_dialog(void* owner, DialogClient& dialog) {
    return run_main_window(static_cast<HWND>(owner), dialog);
}

bool Win32Port::choose_colour(void* owner, const std::string&, Colour& rgb) {
    return choose_system_colour(static_cast<HWND>(owner), rgb);
}

// Only the presets' open dialog has an owner; the others stand on their own.
bool Win32Port::open_file(void* owner, const FileChoice& choice, std::string& path) {
    return choose_file(choice.use == FileUse::Presets ? static_cast<HWND>(owner) : nullptr, choice, false, path);
}

bool Win32Port::save_file(void* owner, const FileChoice& choice, std::string& path) {
    return choose_file(static_cast<HWND>(owner), choice, true, path);
}

}  // namespace corvanthe::ui
