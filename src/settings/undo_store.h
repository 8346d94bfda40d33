#pragma once
// The dialog's Undo: two remembered states, switched between. Each slot keeps a
// snapshot of the record and, when asked, a settings file that also brings back
// the centre and the thumbnail.
#include "settings/sun_settings.h"
#include "settings/thumbnail_port.h"

namespace corvanthe {

struct UndoSlot {
    SunSettings snapshot;
    bool valid;
    bool has_file;
};

struct UndoStore {
    UndoSlot slots[2];
    int current;  // 0 or 1
};

// At every Start: slot 0 current, nothing remembered.
void reset_undo(UndoStore& store);

// Remembers the record in the other slot, which becomes current; with_file also
// writes it (with the thumbnail) to that slot's undo file.
void save_undo(UndoStore& store, const SunSettings& settings, bool with_file, ThumbnailPort* thumbnails);

// Switches the record to the other remembered state; false when there is none.
bool undo(UndoStore& store, SunSettings& settings, ThumbnailPort* thumbnails);

}  // namespace corvanthe
