#pragma once
// Memory dots: 25 quick slots that keep settings (with their thumbnail) in files
// of the temporary folder, with a map file of the dots kept between runs. The
// dialog draws them and reports clicks; this is what a click does.
#include <cstdint>

#include "settings/settings_file.h"

namespace corvanthe {

inline constexpr int kDotCount = 25;
inline constexpr int kSpareDot = 25;  // a dot file with no control, for saving the record around other work

enum DotDisplay : uint8_t {
    kDotEmpty = 0,
    kDotFilled = 1,
    kDotCurrent = 2,  // filled, and the dot last stored or recalled
};

struct MemoryDots {
    int32_t map[kDotCount];         // 1: kept for the next run
    uint8_t display[kDotCount];     // DotDisplay
    int32_t last_dot;               // last stored or recalled, or -1
};

enum class DotClick { Left, CtrlLeft, Right };

enum class DotAction {
    None,      // index out of range, or nothing to do for this click
    Stored,    // the record went into the dot
    Recalled,  // the dot's settings came into the record
    Unkept,    // the dot stays filled but is not kept for the next run
    Erased,    // the dot is empty; the dialog frees its preview
};

// At Start: all empty, then the map file (a missing one leaves all empty).
void load_dot_map(MemoryDots& dots);
// At the end of a run: int 40 and the 25 map entries.
int16_t save_dot_map(const MemoryDots& dots);
// When the dialog opens: kept dots show filled.
void show_kept_dots(MemoryDots& dots);
// A later change turns the current dot back to plain filled.
void settle_current_dot(MemoryDots& dots);

// The dot file alone (indexes 0..25, the spare one included).
int16_t write_dot_file(int index, const SunSettings& settings, ThumbnailPort* thumbnails);
SettingsReadResult read_dot_file(int index, SunSettings& settings, ThumbnailPort* thumbnails);

// A click on dot `index`. `dot_thumbnail` compresses the dialog's thumbnail into
// a stored dot and shows the stored file's thumbnail as the dot's preview;
// `file_preview` shows a recalled dot's thumbnail as the dialog's file preview.
DotAction click_dot(MemoryDots& dots, int index, DotClick click, SunSettings& settings, ThumbnailPort* dot_thumbnail,
                    ThumbnailPort* file_preview);

// The dot panel: recalls the last dot, if there is one.
DotAction recall_last_dot(MemoryDots& dots, SunSettings& settings, ThumbnailPort* file_preview);

}  // namespace corvanthe
