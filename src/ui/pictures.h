#pragma once
// The dialog's pictures by resource number: every bitmap, icon and cursor the dialog shows,
// drawn at build time by the picture generator in resources/ and used by every toolkit port.
#include <cstdint>

#include "ui/canvas.h"

namespace corvanthe::ui {

namespace picture_id {
inline constexpr int32_t kBackground = 239;
inline constexpr int32_t kSliderTrack = 101;
inline constexpr int32_t kSliderTrackAlt = 102;
inline constexpr int32_t kSliderKnob = 120;
inline constexpr int32_t kPadFace = 156;
inline constexpr int32_t kPadMarker = 122;
inline constexpr int32_t kDotPanelFrame = 217;
inline constexpr int32_t kInfo = 145;
inline constexpr int32_t kCursorPanning = 107;
inline constexpr int32_t kCursorOverPreview = 109;
}  // namespace picture_id

struct Picture {
    int32_t id = 0;
    RgbaImage image;
    Point hot_spot;  // cursors only
};

// The picture with that resource number, or null when there is none (the caller then draws
// nothing for it).
const Picture* find_picture(int32_t id);

}  // namespace corvanthe::ui
