#pragma once
// The dialog's pictures by resource kind and number: every bitmap, icon and cursor the dialog
// shows, drawn by the picture generator in resources/ and used by every toolkit port. Bitmaps
// and icons have numbers of their own (bitmap 241 and icon 241 are different pictures).
//
// Sizes at 96 dpi, which the layout of the dialog relies on:
//   bitmap 239 background           957 × 656
//   bitmaps 101, 102 slider tracks   150 × 16   (the slider's client rectangle)
//   bitmap 120 slider knob            12 × 14
//   bitmap 156 direction pad face     85 × 83   (the pad's client rectangle)
//   icon 122 direction marker          5 × 5
//   bitmaps 202..216 memory dot faces 32 × 32   (drawn 2 pixels down in a 32 × 34 control)
//   bitmap 217 dot panel frame        96 × 96   (the thumbnail goes 4..92 inside it)
//   bitmap 241 About icon             48 × 48
//   bitmap 145 Info picture, bitmaps 127, 136, 131 About pictures: their own sizes
//   icons of icon buttons             24 × 24;  icons 151..153 of the style list 16 × 16
//   cursors 107, 109                  32 × 32 with their hot spots
#include <cstdint>

#include "ui/canvas.h"

namespace corvanthe::ui {

enum class PictureKind { Bitmap, Icon, Cursor };

struct Picture {
    PictureKind kind = PictureKind::Bitmap;
    int32_t id = 0;
    RgbaImage image;
    Point hot_spot;  // cursors only
};

// The picture of that kind and number, or null when there is none (the caller then draws
// nothing for it). Pictures are made once and live as long as the process.
const Picture* find_picture(PictureKind kind, int32_t id);
// The same picture drawn for a display of `scale` × 96 dpi (2 for 200 %): every size and the hot
// spot `scale` times as large. Scale 1 is the picture above; scales other than 1 and 2 have none.
const Picture* find_picture(PictureKind kind, int32_t id, int32_t scale);

}  // namespace corvanthe::ui
