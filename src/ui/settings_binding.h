#pragma once
// Which setting each control holds, in the order the dialog reads them back: toggles,
// colours, direction pads, sliders, then the glue and style lists.
#include <cstdint>
#include <vector>

#include "settings/sun_settings.h"

namespace corvanthe::ui {

struct IntBinding {
    int32_t id;  // toggle, slider or drop-down
    int32_t SunSettings::*field;
};

struct ColourBinding {
    int32_t id;
    Colour16 SunSettings::*field;
};

struct PadBinding {
    int32_t id;
    float SunSettings::*x;
    float SunSettings::*y;
    float SunSettings::*z;
};

const std::vector<IntBinding>& toggle_bindings();
const std::vector<ColourBinding>& colour_bindings();
const std::vector<PadBinding>& pad_bindings();
const std::vector<IntBinding>& slider_bindings();
const std::vector<IntBinding>& list_bindings();

const ColourBinding* find_colour(int32_t id);
const PadBinding* find_pad(int32_t id);
const IntBinding* find_slider(int32_t id);

}  // namespace corvanthe::ui
