#include "ui/control_table.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace corvanthe::ui {
namespace {

using K = ControlKind;

constexpr ControlRow S(int16_t slider, int16_t field, int16_t track = 101) {
    return {slider, K::Slider, field, track, 0, 0, 100, nullptr};
}
constexpr ControlRow L(int16_t label, int16_t text) { return {label, K::Label, 0, 0, text, 0, 0, nullptr}; }
constexpr ControlRow T(int16_t toggle) { return {toggle, K::Toggle, 0, 0, 0, 0, 1, nullptr}; }
constexpr ControlRow I(int16_t button, int16_t icon, const char* caption) {
    return {button, K::IconButton, 0, icon, 0, 0, 0, caption};
}
constexpr ControlRow C(int16_t button, int16_t prompt) { return {button, K::ColourButton, 0, 0, prompt, 0, 0, nullptr}; }
constexpr ControlRow D(int16_t dot) { return {dot, K::MemoryDot, 0, 0, 0, 0, 0, nullptr}; }

constexpr ControlRow kRows[] = {
    {3, K::DialogButton, 0, 0, 0, 0, 0, "&OK"},
    {2, K::DialogButton, 0, 0, 0, 0, 0, "&Cancel"},
    {76, K::Label, 0, 0, 0, 0, 0, nullptr},  // status line: the settings name
    {25, K::AboutIcon, 0, 241, 0, 0, 0, nullptr},
    // sun
    S(37, 86), L(36, 5), S(39, 85), L(38, 12), S(45, 88), L(44, 14), S(43, 87), L(42, 13),
    S(41, 84), L(40, 6), S(47, 89), L(46, 16),
    T(48), L(49, 3), T(52), L(53, 4),
    {101, K::DropDown, 0, 151, 0, 1, 3, nullptr}, L(31, 40), C(7, 35),
    // flares
    S(71, 96), L(70, 10), S(98, 99), L(97, 7), S(69, 95), L(68, 8), S(110, 111), L(109, 21),
    S(114, 115), L(113, 9), {112, K::DirectionPad, 0, 156, 0, 0, 0, nullptr}, C(8, 36),
    // spikes
    S(13, 80), L(4, 26), S(10, 77), L(24, 11), S(11, 78), L(15, 19), S(12, 79), L(22, 22),
    S(51, 83), L(50, 17), S(65, 81), L(64, 23), S(67, 82), L(66, 24),
    {100, K::DirectionPad, 0, 156, 0, 0, 0, nullptr}, C(14, 38),
    // halo
    S(55, 90), L(54, 18), S(57, 91), L(56, 28), C(9, 37),
    // bow
    S(59, 92), L(58, 27), S(61, 93), L(60, 25), S(63, 94), L(62, 34), S(103, 104), L(102, 15),
    T(105), L(30, 41),
    // glue
    S(107, 108, 102), {73, K::DropDown, 0, 0, 0, 1, 19, nullptr}, L(146, 39), I(23, 231, "N"),
    // files
    I(35, 240, "&Load"), I(26, 241, "&Save"), I(72, 237, "&Dice"), I(75, 186, "&Ecce"), I(29, 242, "&Undo"),
    I(17, 225, "Reset"), I(116, 235, "Info"), I(150, 236, "Presets page"),
    // preview
    I(32, 5, "+"), I(33, 169, "-"), {34, K::DialogButton, 0, 0, 0, 0, 0, "100%"},
    // dots
    {119, K::DotPanel, 0, 217, 0, 0, 0, nullptr},
    D(121), D(122), D(123), D(124), D(125), D(126), D(127), D(128), D(129), D(130), D(131), D(132), D(133),
    D(134), D(135), D(136), D(137), D(138), D(139), D(140), D(141), D(142), D(143), D(144), D(145),
};

struct Text {
    int16_t number;
    const char* text;
};

constexpr Text kLabels[] = {
    {3, "Vortices"}, {4, "Monopoles"}, {5, "Radius"}, {7, "Radius"}, {11, "Radius"}, {18, "Radius"},
    {27, "Radius"}, {6, "Smear"}, {15, "Smear"}, {8, "Width"}, {19, "Width"}, {25, "Width"},
    {9, "Brightness"}, {22, "Brightness"}, {28, "Brightness"}, {34, "Brightness"}, {10, "Count"},
    {26, "Count"}, {12, "Cold/hot"}, {13, "Swirl size"}, {14, "Swirl count"}, {16, "Detail"},
    {21, "Detail"}, {24, "Detail"}, {17, "Gamma"}, {23, "Diffraction"},
    {35, "Choose the sun color."}, {36, "Choose the flare color."}, {37, "Choose the halo color."},
    {38, "Choose the spike color."}, {39, "Glue"}, {40, "Style"}, {41, "Flip"},
};

// Strings 700 + id.
constexpr Text kTooltips[] = {
    {3, "OK: apply the sun to the image and close"},
    {2, "Cancel: close and leave the image and the settings as they were"},
    {18, "Preview: click to place the sun's centre; drag to pan when zoomed in"},
    {76, "The name of the current settings"},
    {25, "About Corvanthe"},
    {37, "Sun radius, 0..100"}, {86, "Sun radius, 0..100"},
    {39, "Sun colour from cold (0) to hot (100)"}, {85, "Sun colour from cold (0) to hot (100)"},
    {45, "Number of swirls on the disc, 0..100"}, {88, "Number of swirls on the disc, 0..100"},
    {43, "Size of the swirls on the disc, 0..100"}, {87, "Size of the swirls on the disc, 0..100"},
    {41, "Smear of the disc's surface, 0..100"}, {84, "Smear of the disc's surface, 0..100"},
    {47, "Fine detail of the disc's surface, 0..100"}, {89, "Fine detail of the disc's surface, 0..100"},
    {48, "Vortices twist the surface: on or off"},
    {52, "Monopoles push the surface apart: on or off"},
    {101, "Style of the sun: normal, flat or eclipse"},
    {7, "Sun colour: click to choose"},
    {71, "Number of lens flares, 0..100"}, {96, "Number of lens flares, 0..100"},
    {98, "Distance of the flares from the sun, 0..100"}, {99, "Distance of the flares from the sun, 0..100"},
    {69, "Width of the flares, 0..100"}, {95, "Width of the flares, 0..100"},
    {110, "Detail of the flares, 0..100"}, {111, "Detail of the flares, 0..100"},
    {114, "Brightness of the flares, 0..100"}, {115, "Brightness of the flares, 0..100"},
    {112, "Direction of the flares: drag; Ctrl points it at the viewer"},
    {8, "Flare colour: click to choose"},
    {13, "Number of diffraction spikes, 0..100"}, {80, "Number of diffraction spikes, 0..100"},
    {10, "Length of the spikes, 0..100"}, {77, "Length of the spikes, 0..100"},
    {11, "Width of the spikes, 0..100"}, {78, "Width of the spikes, 0..100"},
    {12, "Brightness of the spikes, 0..100"}, {79, "Brightness of the spikes, 0..100"},
    {51, "Gamma of the spikes' fall-off, 0..100"}, {83, "Gamma of the spikes' fall-off, 0..100"},
    {65, "Rainbow diffraction of the spikes, 0..100"}, {81, "Rainbow diffraction of the spikes, 0..100"},
    {67, "Detail of the spikes, 0..100"}, {82, "Detail of the spikes, 0..100"},
    {100, "Direction of the spikes: drag; Ctrl points it at the viewer"},
    {14, "Spike colour: click to choose"},
    {55, "Radius of the halo, 0..100"}, {90, "Radius of the halo, 0..100"},
    {57, "Brightness of the halo, 0..100"}, {91, "Brightness of the halo, 0..100"},
    {9, "Halo colour: click to choose"},
    {59, "Radius of the rainbow bow, 0..100"}, {92, "Radius of the rainbow bow, 0..100"},
    {61, "Width of the bow, 0..100"}, {93, "Width of the bow, 0..100"},
    {63, "Brightness of the bow, 0..100"}, {94, "Brightness of the bow, 0..100"},
    {103, "Smear of the bow, 0..100"}, {104, "Smear of the bow, 0..100"},
    {105, "Flip the bow's colours: on or off"},
    {107, "Master brightness of the whole sun, 0..100"}, {108, "Master brightness of the whole sun, 0..100"},
    {73, "Glue: how the sun is blended onto the image (19 modes)"},
    {23, "Next glue mode"},
    {35, "Load settings from a preset file"},
    {26, "Save the settings to a preset file"},
    {72, "Dice: draw a new random sun"},
    {75, "Ecce: a new random seed, the rest stays"},
    {29, "Undo: back to the settings before the last change"},
    {17, "Reset: every setting to its default"},
    {32, "Zoom in"},
    {33, "Zoom out"},
    {34, "Zoom to 100%"},
    {116, "Info"},
    {150, "Write an HTML page of a folder of presets"},
    {119, "Last memory dot: click recalls; right click writes the dots page; Ctrl-click updates a preset folder"},
};

constexpr const char* kDotTip =
    "Memory dot: click stores or recalls; Ctrl-click stores without keeping; right click clears";

const Text* find_text(const Text* begin, const Text* end, int32_t number) {
    const Text* found = std::find_if(begin, end, [number](const Text& t) { return t.number == number; });
    return found == end ? nullptr : found;
}

}  // namespace

const ControlRow* rows_begin() { return std::begin(kRows); }
const ControlRow* rows_end() { return std::end(kRows); }

const ControlRow* find_row(int32_t id) {
    const ControlRow* found = std::find_if(rows_begin(), rows_end(), [id](const ControlRow& r) { return r.id == id; });
    return found == rows_end() ? nullptr : found;
}

ControlKind kind_of(int32_t id) {
    if (const ControlRow* row = find_row(id)) return row->kind;
    return slider_of_field(id) ? ControlKind::NumberField : ControlKind::Plain;
}

int32_t slider_of_field(int32_t field) {
    if (field <= 0) return 0;
    const ControlRow* found = std::find_if(rows_begin(), rows_end(), [field](const ControlRow& r) {
        return r.kind == ControlKind::Slider && r.field == field;
    });
    return found == rows_end() ? 0 : found->id;
}

std::string_view label_text(int32_t number) {
    const Text* text = find_text(std::begin(kLabels), std::end(kLabels), number);
    return text ? text->text : "-undef string-";
}

std::string_view tooltip_text(int32_t id) {
    if (id >= id::kFirstDot && id <= id::kLastDot) return kDotTip;
    const Text* text = find_text(std::begin(kTooltips), std::end(kTooltips), id);
    return text ? text->text : "";
}

}  // namespace corvanthe::ui
