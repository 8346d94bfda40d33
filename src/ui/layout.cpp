#include "ui/layout.h"

#include <algorithm>

#include "ui/control_table.h"

namespace corvanthe::ui {
namespace {

constexpr int32_t kColumn = 12;      // left edge of the groups on the left
constexpr int32_t kSide = 292;       // left edge of the pads, swatches and toggles beside them
constexpr int32_t kRowPitch = 22;
constexpr int32_t kGroupGap = 12;

struct Builder {
    std::vector<Placement> table;
    int32_t y = 10;

    void put(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height) {
        table.push_back({id, {left, top, left + width, top + height}});
    }
    // Label, slider and its number field on one row.
    void slider_row(int32_t label, int32_t slider) {
        const ControlRow* row = find_row(slider);
        if (label) put(label, kColumn, y, 70, 20);
        put(slider, kColumn + 74, y + 2, 150, 16);
        put(row->field, kColumn + 230, y, 40, 20);
        y += kRowPitch;
    }
    void toggle(int32_t check, int32_t label, int32_t top) {
        put(check, kSide, top + 2, 16, 16);
        put(label, kSide + 20, top, 90, 20);
    }
    void gap() { y += kGroupGap; }
};

std::vector<Placement> build() {
    Builder b;
    // sun
    int32_t top = b.y;
    b.slider_row(36, 37);
    b.slider_row(38, 39);
    b.slider_row(44, 45);
    b.slider_row(42, 43);
    b.slider_row(40, 41);
    b.slider_row(46, 47);
    b.put(31, kSide, top, 36, 20);
    b.put(101, kSide + 40, top, 84, 22);
    b.put(id::kSunColour, kSide, top + 30, 40, 24);
    b.toggle(48, 49, top + 66);
    b.toggle(52, 53, top + 88);
    b.gap();
    // flares
    top = b.y;
    b.slider_row(70, 71);
    b.slider_row(97, 98);
    b.slider_row(68, 69);
    b.slider_row(109, 110);
    b.slider_row(113, 114);
    b.put(id::kFlarePad, kSide, top, 85, 83);
    b.put(id::kFlareColour, kSide + 90, top, 32, 24);
    b.gap();
    // spikes
    top = b.y;
    b.slider_row(4, 13);
    b.slider_row(24, 10);
    b.slider_row(15, 11);
    b.slider_row(22, 12);
    b.slider_row(50, 51);
    b.slider_row(64, 65);
    b.slider_row(66, 67);
    b.put(id::kSpikePad, kSide, top, 85, 83);
    b.put(id::kSpikeColour, kSide + 90, top, 32, 24);
    b.gap();
    // halo
    top = b.y;
    b.slider_row(54, 55);
    b.slider_row(56, 57);
    b.put(id::kHaloColour, kSide, top, 40, 24);
    b.gap();
    // bow
    top = b.y;
    b.slider_row(58, 59);
    b.slider_row(60, 61);
    b.slider_row(62, 63);
    b.slider_row(102, 103);
    b.toggle(105, 30, top);
    b.gap();
    // glue: master brightness, the glue list and its step
    top = b.y;
    b.slider_row(0, 107);
    b.put(id::kGlueLabel, kColumn, b.y, 70, 20);
    b.put(id::kGlue, kColumn + 74, b.y, 150, 22);
    b.put(id::kGlueStep, kColumn + 236, b.y - 4, 30, 30);

    // Below the preview: its buttons and the status line, the About icon.
    constexpr int32_t kUnder = 384;
    b.put(id::kZoomIn, 424, kUnder, 30, 30);
    b.put(id::kZoomOut, 458, kUnder, 30, 30);
    b.put(id::kZoom100, 492, kUnder + 2, 52, 26);
    b.put(id::kStatus, 552, kUnder + 6, 268, 20);
    b.put(id::kAbout, 886, kUnder, 48, 48);
    // files, in two rows of icon buttons
    constexpr int32_t kFiles = 440;
    const int32_t files[] = {id::kLoad, id::kSave, id::kDice, id::kEcce, id::kUndo, id::kReset,
                             id::kInfo, id::kPresetsPage};
    for (int i = 0; i < 8; ++i) b.put(files[i], 424 + (i % 4) * 36, kFiles + (i / 4) * 36, 30, 30);
    // dots: five rows of five, the dot panel beside them, OK and Cancel below the panel
    constexpr int32_t kDots = 588;
    constexpr int32_t kDotsTop = 440;
    for (int i = 0; i < 25; ++i)
        b.put(id::kFirstDot + i, kDots + (i % 5) * 36, kDotsTop + (i / 5) * 38, 32, 34);
    b.put(id::kDotPanel, 786, kDotsTop, 96, 96);
    b.put(id::kOk, 786, 560, 72, 26);
    b.put(id::kCancel, 862, 560, 72, 26);
    b.put(id::kPreview, 420, -1, 522, 377);
    return b.table;
}

}  // namespace

const std::vector<Placement>& layout_table() {
    static const std::vector<Placement> table = build();
    return table;
}

Rect layout_rect(int32_t id) {
    const auto& table = layout_table();
    const auto found = std::find_if(table.begin(), table.end(), [id](const Placement& p) { return p.id == id; });
    return found == table.end() ? Rect{} : found->place;
}

}  // namespace corvanthe::ui
