#pragma once
// The dialog's RGBA pictures as GDI objects: 32-bit top-down DIB sections, icons and cursors
// with their alpha (CreateIconIndirect), made when asked; the caller destroys them.
#include <windows.h>

#include "ui/pictures.h"

namespace corvanthe::ui {

// A 32-bit top-down DIB section of the picture's size, its pixels BGRA, premultiplied by their
// alpha when `premultiplied` (as AlphaBlend wants them); `bits` receives the pixels.
HBITMAP make_dib(int32_t width, int32_t height, void** bits);
HBITMAP dib_of(const RgbaImage& picture, bool premultiplied);
// Null when the picture is missing.
HICON icon_of(const Picture* picture);
HCURSOR cursor_of(const Picture* picture);
// Draws the picture blended by its alpha with its top-left corner at (x, y).
void draw_picture(HDC dc, int x, int y, const RgbaImage& picture);
// The pixels of a DIB section's BGRA rows as RGBA, alpha opaque.
RgbaImage rgba_of_bgra(const void* bits, int32_t width, int32_t height);

}  // namespace corvanthe::ui
