#pragma once
// Every picture of the dialog, each drawn at a whole-number scale (1 for 96 dpi).
#include <cstdint>

#include "ui/canvas.h"

namespace corvanthe::pictures {

// background.cpp
ui::RgbaImage dialog_background(int32_t scale);  // bitmap 239

// controls.cpp
ui::RgbaImage slider_track_warm(int32_t scale);   // bitmap 101
ui::RgbaImage slider_track_light(int32_t scale);  // bitmap 102
ui::RgbaImage slider_knob(int32_t scale);         // bitmap 120
ui::RgbaImage pad_face(int32_t scale);            // bitmap 156
ui::RgbaImage pad_marker(int32_t scale);          // icon 122

// dots.cpp: the memory dot faces by state, and the dot panel's frame.
ui::RgbaImage dot_empty(int32_t scale);                  // bitmap 203
ui::RgbaImage dot_empty_pressed(int32_t scale);          // bitmap 210
ui::RgbaImage dot_kept(int32_t scale);                   // bitmap 215
ui::RgbaImage dot_kept_pressed(int32_t scale);           // bitmap 216
ui::RgbaImage dot_unkept(int32_t scale);                 // bitmap 213
ui::RgbaImage dot_unkept_pressed(int32_t scale);         // bitmap 214
ui::RgbaImage dot_current_kept(int32_t scale);           // bitmap 208
ui::RgbaImage dot_current_kept_pressed(int32_t scale);   // bitmap 212
ui::RgbaImage dot_current_unkept(int32_t scale);         // bitmap 202
ui::RgbaImage dot_current_unkept_pressed(int32_t scale); // bitmap 211
ui::RgbaImage dot_panel_frame(int32_t scale);            // bitmap 217

// icons.cpp: the icon buttons' faces and the style list's icons.
ui::RgbaImage icon_glue_step(int32_t scale);     // icon 231
ui::RgbaImage icon_load(int32_t scale);          // icon 240
ui::RgbaImage icon_save(int32_t scale);          // icon 241
ui::RgbaImage icon_dice(int32_t scale);          // icon 237
ui::RgbaImage icon_new_seed(int32_t scale);      // icon 186
ui::RgbaImage icon_undo(int32_t scale);          // icon 242
ui::RgbaImage icon_reset(int32_t scale);         // icon 225
ui::RgbaImage icon_zoom_in(int32_t scale);       // icon 5
ui::RgbaImage icon_zoom_out(int32_t scale);      // icon 169
ui::RgbaImage icon_info(int32_t scale);          // icon 235
ui::RgbaImage icon_presets_page(int32_t scale);  // icon 236
ui::RgbaImage icon_style_normal(int32_t scale);  // icon 151
ui::RgbaImage icon_style_flat(int32_t scale);    // icon 152
ui::RgbaImage icon_style_eclipse(int32_t scale); // icon 153

// cursors.cpp
ui::RgbaImage cursor_hand(int32_t scale);    // cursor 107, hot spot in the palm
ui::RgbaImage cursor_target(int32_t scale);  // cursor 109, hot spot in the middle

// about.cpp
ui::RgbaImage about_icon(int32_t scale);     // bitmap 241
ui::RgbaImage about_banner(int32_t scale);   // bitmap 127: the name and the version
ui::RgbaImage about_suns(int32_t scale);     // bitmap 136: the three sun types
ui::RgbaImage about_maker(int32_t scale);    // bitmap 131: who makes it
ui::RgbaImage info_card(int32_t scale);      // bitmap 145: what the mouse does where

}  // namespace corvanthe::pictures
