#pragma once
// The controls the dialog draws itself, and the mouse arithmetic of sliders and direction
// pads. Every drawing goes onto the canvas at the control's rectangle in dialog coordinates.
#include <cstdint>
#include <string_view>

#include "settings/memory_dots.h"
#include "ui/canvas.h"

namespace corvanthe::ui {

constexpr Colour kLabelColour = 0x000000;
constexpr Colour kDimmedColour = 0x8C8C8C;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBevelDark = 0x808080;
constexpr Colour kButtonFace = 0xF0F0F0;
constexpr Colour kSwatchSurround = 0xDEDEDE;

enum class Align { Left, Centre, Right };

// The left edge of the knob of a slider at `value`.
int32_t knob_left(const Rect& slider, int32_t value, int32_t minimum, int32_t maximum);
// The value of a slider dragged with the mouse at `mouse_x`.
int32_t slider_value_at(const Rect& slider, int32_t mouse_x, int32_t minimum, int32_t maximum);

struct Direction {
    float x = 0.0f;
    float y = 0.0f;
    float z = 1.0f;
};
// The unit vector of a direction pad dragged to `mouse`; with Ctrl it points at the viewer.
Direction pad_direction(const Rect& pad, Point mouse, bool ctrl);

// The background picture, clipped to `area`.
void paint_background(Canvas& canvas, const Rect& area);
// One line of label text in the rectangle, shifted down by `shift`.
void paint_label_text(Canvas& canvas, const Rect& area, Align align, std::string_view text, int32_t shift,
                      Colour colour);
void paint_bevel(Canvas& canvas, const Rect& area, Colour top_left, Colour bottom_right);
void paint_slider(Canvas& canvas, const Rect& place, int32_t track, int32_t value, int32_t minimum, int32_t maximum,
                  bool shown);
void paint_pad(Canvas& canvas, const Rect& place, const Direction& direction, bool shown);
// `rgb` is 0xRRGGBB.
void paint_colour_button(Canvas& canvas, const Rect& place, Colour rgb, bool enabled);
// A memory dot's face for its display state, map entry and pressed look.
int32_t dot_face(DotDisplay display, int32_t map_entry, bool pressed);
void paint_dot(Canvas& canvas, const Rect& place, int32_t face);
// The frame and, when there is one, the thumbnail fitted into the square 4..92 inside it.
void paint_dot_panel(Canvas& canvas, const Rect& place, const RgbaImage* thumbnail);

}  // namespace corvanthe::ui
