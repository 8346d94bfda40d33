#include "apps/winhost/win32/screen.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "sdk/filter_record.h"
#include "ui/canvas/png_writer.h"

namespace corvanthe::winhost {
namespace {

constexpr sdk::OSErr kCannotDraw = -30100;
constexpr UINT kScreenshotDelay = 400;  // milliseconds after the first display

struct Screenshots {
    std::string path;
    bool armed = false;
    bool dialog_taken = false;
    bool about_seen = false;  // taken at the next tick, once it has painted
    bool about_taken = false;
};

Screenshots screenshots;

struct Found {
    const wchar_t* title;
    HWND window;
};

BOOL CALLBACK match_title(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<Found*>(data);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (IsWindowVisible(window) && lstrcmpW(text, found->title) == 0) found->window = window;
    return found->window ? FALSE : TRUE;
}

HWND thread_window(const wchar_t* title) {
    Found found{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), match_title, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// The window's client area as it is on the screen.
bool capture(HWND window, const std::string& path) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    ui::RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * size_t(height) * 4);
    const auto* in = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = in[i + 2];
        image.pixels[i + 1] = in[i + 1];
        image.pixels[i + 2] = in[i];
        image.pixels[i + 3] = 255;
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    DeleteObject(bitmap);
    return ui::write_png(image, path);
}

std::string about_path(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? path + "-about" : path.substr(0, dot) + "-about" + path.substr(dot);
}

void CALLBACK screenshot_tick(HWND, UINT, UINT_PTR, DWORD) {
    Screenshots& s = screenshots;
    if (!s.dialog_taken) {
        HWND dialog = thread_window(L"Corvanthe");
        if (!dialog) return;
        // Where a script that acts as the user finds the client area on the screen.
        RECT client{};
        GetClientRect(dialog, &client);
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        std::fprintf(stderr, "window Corvanthe: client %ld x %ld at %ld %ld\n", client.right, client.bottom, origin.x,
                     origin.y);
        std::fflush(stderr);
        s.dialog_taken = capture(dialog, s.path);
        return;
    }
    if (s.about_taken) return;
    HWND about = thread_window(L"About");
    if (about && s.about_seen) s.about_taken = capture(about, about_path(s.path));
    s.about_seen = about != nullptr;
}

}  // namespace

sdk::OSErr display_on_screen(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t row, int32_t col,
                             void* context) {
    const bool rgb = map.imageMode == sdk::kModeRGBColor;
    if (!context || !map.baseAddr || (!rgb && map.imageMode != sdk::kModeGrayScale)) return kCannotDraw;
    const int32_t width = source.right - source.left, height = source.bottom - source.top;
    if (width <= 0 || height <= 0 || source.left < map.bounds.left || source.top < map.bounds.top ||
        source.right > map.bounds.right || source.bottom > map.bounds.bottom)
        return kCannotDraw;
    std::vector<uint8_t> bgra(size_t(width) * size_t(height) * 4, 255);
    const auto* base = static_cast<const uint8_t*>(map.baseAddr);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = base + ptrdiff_t(source.top - map.bounds.top + y) * map.rowBytes +
                               ptrdiff_t(source.left - map.bounds.left + x) * map.colBytes;
            uint8_t* out = &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4];
            for (int c = 0; c < 3; ++c) out[2 - c] = rgb ? p[ptrdiff_t(c) * map.planeBytes] : p[0];
        }
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(static_cast<HDC>(context), col, row, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                      bgra.data(), &info, DIB_RGB_COLORS);
    if (!screenshots.path.empty() && !screenshots.armed) {
        screenshots.armed = true;
        SetTimer(nullptr, 0, kScreenshotDelay, screenshot_tick);
    }
    return 0;
}

void take_screenshots_to(const std::string& path) { screenshots.path = path; }

}  // namespace corvanthe::winhost
