#include "ui/win32/gdi_pictures.h"

#include <cstring>
#include <vector>

namespace corvanthe::ui {
namespace {

HICON icon_or_cursor(const Picture* picture, bool icon) {
    if (!picture || picture->image.width <= 0 || picture->image.height <= 0) return nullptr;
    const RgbaImage& image = picture->image;
    HBITMAP colour = dib_of(image, false);
    // The alpha of the colour bitmap decides where it is drawn; the mask (set bits transparent)
    // follows it too, for drawing that uses only the mask, such as a disabled button's icon.
    const size_t row_bytes = static_cast<size_t>((image.width + 15) / 16 * 2);
    std::vector<uint8_t> bits(row_bytes * static_cast<size_t>(image.height), 0);
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            if (image.pixels[(static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4 + 3] < 128)
                bits[static_cast<size_t>(y) * row_bytes + static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(image.width, image.height, 1, 1, bits.data());
    ICONINFO info{};
    info.fIcon = icon ? TRUE : FALSE;
    info.xHotspot = static_cast<DWORD>(picture->hot_spot.x);
    info.yHotspot = static_cast<DWORD>(picture->hot_spot.y);
    info.hbmMask = mask;
    info.hbmColor = colour;
    HICON made = colour && mask ? CreateIconIndirect(&info) : nullptr;
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return made;
}

}  // namespace

HBITMAP make_dib(int32_t width, int32_t height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP dib_of(const RgbaImage& picture, bool premultiplied) {
    void* bits = nullptr;
    HBITMAP bitmap = make_dib(picture.width, picture.height, &bits);
    if (!bitmap) return nullptr;
    auto* out = static_cast<uint8_t*>(bits);
    const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &picture.pixels[i * 4];
        const unsigned a = premultiplied ? p[3] : 255u;
        out[i * 4 + 0] = static_cast<uint8_t>((p[2] * a + 127) / 255);
        out[i * 4 + 1] = static_cast<uint8_t>((p[1] * a + 127) / 255);
        out[i * 4 + 2] = static_cast<uint8_t>((p[0] * a + 127) / 255);
        out[i * 4 + 3] = p[3];
    }
    GdiFlush();
    return bitmap;
}

HICON icon_of(const Picture* picture) { return icon_or_cursor(picture, true); }
HCURSOR cursor_of(const Picture* picture) { return icon_or_cursor(picture, false); }

void draw_picture(HDC dc, int x, int y, const RgbaImage& picture) {
    HBITMAP bitmap = dib_of(picture, true);
    if (!bitmap) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, picture.width, picture.height, source, 0, 0, picture.width, picture.height, blend);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

RgbaImage rgba_of_bgra(const void* bits, int32_t width, int32_t height) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    const auto* in = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i + 0] = in[i + 2];
        image.pixels[i + 1] = in[i + 1];
        image.pixels[i + 2] = in[i + 0];
        image.pixels[i + 3] = 255;
    }
    return image;
}

}  // namespace corvanthe::ui
