#include "settings/undo_store.h"

#include "settings/settings_file.h"
#include "settings/temporary_files.h"

namespace corvanthe {

void reset_undo(UndoStore& store) {
    store.current = 0;
    store.slots[0].valid = false;
    store.slots[1].valid = false;
}

void save_undo(UndoStore& store, const SunSettings& settings, bool with_file, ThumbnailPort* thumbnails) {
    const int slot = store.current ^ 1;
    store.current = slot;
    UndoSlot& s = store.slots[slot];
    take_snapshot(settings, s.snapshot);
    // A slot whose file cannot be written still restores from its snapshot.
    s.has_file = with_file && write_settings_file(undo_path(slot), settings, thumbnails) == kFileOk;
    s.valid = true;
}

bool undo(UndoStore& store, SunSettings& settings, ThumbnailPort* thumbnails) {
    const int other = store.current ^ 1;
    const UndoSlot& s = store.slots[other];
    if (!s.valid) return false;
    restore_snapshot(s.snapshot, settings);
    if (s.has_file) read_settings_file(undo_path(other), SettingsReadMode::Load, settings, thumbnails);
    store.current = other;
    return true;
}

}  // namespace corvanthe
