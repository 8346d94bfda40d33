#pragma once
// The main dialog's controls, one row each: what kind of control an id is, the number field
// paired with a slider, its pictures, its label text and its range. Painting, hit-testing,
// tooltips and value transfer are all driven from this table.
#include <cstdint>
#include <string_view>

namespace corvanthe::ui {

enum class ControlKind : uint8_t {
    Slider = 0,
    Label = 1,
    NumberField = 2,  // never a row of its own: the field of some slider row
    Toggle = 3,
    DialogButton = 4,
    IconButton = 7,
    ColourButton = 8,
    DirectionPad = 9,
    DropDown = 13,
    AboutIcon = 18,
    MemoryDot = 25,
    DotPanel = 26,
    Plain = 255,
};

struct ControlRow {
    int16_t id;
    ControlKind kind;
    int16_t field;   // number field of a slider, else 0
    int16_t image;   // track bitmap, icon of an icon button, bitmap of the About icon
    int16_t label;   // label-text number of labels and colour buttons, else 0
    int16_t minimum;
    int16_t maximum;
    const char* caption;  // dialog and icon buttons (the icon buttons' show in their tooltips)
};

// Ids of the controls the logic refers to by name.
namespace id {
constexpr int32_t kOk = 3, kCancel = 2, kPreview = 18, kStatus = 76, kAbout = 25;
constexpr int32_t kSunColour = 7, kFlareColour = 8, kHaloColour = 9, kSpikeColour = 14;
constexpr int32_t kFlarePad = 112, kSpikePad = 100, kStyle = 101, kGlue = 73, kGlueLabel = 146;
constexpr int32_t kGlueStep = 23, kLoad = 35, kSave = 26, kDice = 72, kEcce = 75, kUndo = 29, kReset = 17;
constexpr int32_t kZoomIn = 32, kZoomOut = 33, kZoom100 = 34, kInfo = 116, kPresetsPage = 150;
constexpr int32_t kDotPanel = 119, kFirstDot = 121, kLastDot = 145;
constexpr int32_t kDragOrTimer = 777;  // pseudo id of the undo point of a drag or the timer
constexpr int32_t kCount = 200;        // ids 0..199
}  // namespace id

// The row of `id`, or null (number fields and plain controls have none).
const ControlRow* find_row(int32_t id);
// Every row, in table order.
const ControlRow* rows_begin();
const ControlRow* rows_end();
// The kind of any id: a row's kind, NumberField for a slider's field, else Plain.
ControlKind kind_of(int32_t id);
// The slider whose field `field` is, or 0.
int32_t slider_of_field(int32_t field);

// Label text number n; "-undef string-" for numbers without a text.
std::string_view label_text(int32_t number);
// The tooltip of control `id` (string 700 + id); empty for ids without one.
std::string_view tooltip_text(int32_t id);

}  // namespace corvanthe::ui
