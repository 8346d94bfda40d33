#include "ui/win32/choosers.h"

#include <commdlg.h>

#include <vector>

#include "resource_ids.h"
#include "ui/win32/gdi_pictures.h"
#include "ui/win32/placement.h"
#include "ui/win32/system_scope.h"
#include "platform/win32/wide_text.h"

namespace corvanthe::ui {
namespace {

struct FileFilter {
    FileUse use;
    const wchar_t* description;
    const wchar_t* pattern;
    const wchar_t* extension;  // the default one; null for none
};

constexpr FileFilter kFilters[] = {
    {FileUse::Bitmap, L"Bitmap files (*.bmp)", L"*.bmp", L"bmp"},
    {FileUse::Presets, L"Corvanthe presets (*.q4q)", L"*.q4q", L"q4q"},
    {FileUse::HtmlPage, L"HTML files (*.html)", L"*.html", L"html"},
    {FileUse::AllFiles, L"All files (*.*)", L"*.*", nullptr},
    {FileUse::AllImages, L"All Image Files", L"*.bmp;*.dib;*.wdp;*.mdp;*.hdp;*.gif;*.png;*.jpg;*.jpeg;*.tif;*.ico", nullptr},
};

const FileFilter& filter_of(FileUse use) {
    for (const FileFilter& f : kFilters)
        if (f.use == use) return f;
    return kFilters[3];
}

// The open dialog's hook: places the dialog, and shows the selected preset's thumbnail.
struct ThumbnailArea {
    const FileChoice* choice = nullptr;
    RgbaImage picture;
};

UINT_PTR CALLBACK file_hook(HWND hook, UINT message, WPARAM, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<const OPENFILENAMEW*>(lparam)->lCustData);
            return TRUE;
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const OFNOTIFYW*>(lparam);
            auto* area = reinterpret_cast<ThumbnailArea*>(GetWindowLongPtrW(hook, DWLP_USER));
            if (note->hdr.code == CDN_INITDONE) place_over_owner(GetParent(hook), GetWindow(GetParent(hook), GW_OWNER));
            if (note->hdr.code == CDN_SELCHANGE && area && area->choice->thumbnail) {
                wchar_t path[MAX_PATH] = {};
                area->picture = {};
                if (SendMessageW(GetParent(hook), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path)) > 0)
                    area->choice->thumbnail(utf8_from_wide(path), area->picture);
                InvalidateRect(GetDlgItem(hook, CORVANTHE_IDC_THUMBNAIL), nullptr, TRUE);
            }
            return 0;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            auto* area = reinterpret_cast<ThumbnailArea*>(GetWindowLongPtrW(hook, DWLP_USER));
            if (item->CtlID != CORVANTHE_IDC_THUMBNAIL || !area) return FALSE;
            FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
            const RgbaImage& p = area->picture;
            if (p.width > 0 && p.height > 0)
                draw_picture(item->hDC, (item->rcItem.right - p.width) / 2, (item->rcItem.bottom - p.height) / 2, p);
            return TRUE;
        }
        default: return 0;
    }
}

}  // namespace

bool choose_system_colour(HWND owner, Colour& rgb) {
    static COLORREF custom[16] = {};
    SystemScope scope;
    CHOOSECOLORW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.rgbResult = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&request)) return false;
    rgb = (Colour(GetRValue(request.rgbResult)) << 16) | (Colour(GetGValue(request.rgbResult)) << 8) |
          GetBValue(request.rgbResult);
    return true;
}

bool choose_file(HWND owner, const FileChoice& choice, bool save, std::string& path) {
    SystemScope scope;
    const FileFilter& filter = filter_of(choice.use);
    // Description, pattern, and the list's end: each ends with a zero.
    std::wstring filters = std::wstring(filter.description) + L'\0' + filter.pattern + L'\0' + L'\0';
    std::vector<wchar_t> name(MAX_PATH, L'\0');
    const std::wstring suggested = wide_from_utf8(choice.suggested_name).substr(0, MAX_PATH - 1);
    std::copy(suggested.begin(), suggested.end(), name.begin());
    const std::wstring title = wide_from_utf8(choice.title), folder = wide_from_utf8(choice.folder);
    ThumbnailArea area{&choice, {}};

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = this_module();
    request.lpstrFilter = filters.c_str();
    request.lpstrFile = name.data();
    request.nMaxFile = MAX_PATH;
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.lpstrDefExt = filter.extension;
    request.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY |
                    (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    request.lpfnHook = file_hook;
    request.lCustData = reinterpret_cast<LPARAM>(&area);
    if (!save && choice.thumbnail) {
        request.Flags |= OFN_ENABLETEMPLATE;
        request.lpTemplateName = L"FANCY_OPEN4";
    }
    if (!(save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request))) return false;
    path = utf8_from_wide(name.data());
    return !path.empty();
}

}  // namespace corvanthe::ui
