#include "settings/memory_dots.h"

#include <cstdio>

#include "settings/big_endian_file.h"
#include "settings/temporary_files.h"

namespace corvanthe {
namespace {

bool valid_dot(int index) { return index >= 0 && index < kDotCount; }

void make_current(MemoryDots& dots, int index) {
    settle_current_dot(dots);
    dots.display[index] = kDotCurrent;
    dots.last_dot = index;
}

void store(MemoryDots& dots, int index, const SunSettings& settings, ThumbnailPort* dot_thumbnail) {
    write_dot_file(index, settings, dot_thumbnail);
    make_current(dots, index);
    SunSettings ignored{};
    read_settings_file(memory_dot_path(index), SettingsReadMode::ThumbnailOnly, ignored, dot_thumbnail);
}

void recall(MemoryDots& dots, int index, SunSettings& settings, ThumbnailPort* file_preview) {
    char name[kPathLength];
    std::snprintf(name, sizeof name, "dot %d", index + 1);
    set_text(settings.settings_name, name);
    read_dot_file(index, settings, file_preview);
    make_current(dots, index);
}

}  // namespace

void load_dot_map(MemoryDots& dots) {
    for (int i = 0; i < kDotCount; ++i) {
        dots.map[i] = 0;
        dots.display[i] = kDotEmpty;
    }
    dots.last_dot = -1;
    BigEndianReader in;
    if (in.open(memory_dot_map_path()) != kFileOk) return;
    int32_t version;
    if (!in.read_int(version)) return;
    for (int i = 0; i < kDotCount; ++i)
        if (!in.read_int(dots.map[i])) return;
}

int16_t save_dot_map(const MemoryDots& dots) {
    BigEndianWriter out;
    if (const int16_t error = out.open(memory_dot_map_path()); error != kFileOk) return error;
    out.write_int(kSettingsFileVersion);
    for (int i = 0; i < kDotCount; ++i) out.write_int(dots.map[i]);
    return out.commit();
}

void show_kept_dots(MemoryDots& dots) {
    for (int i = 0; i < kDotCount; ++i)
        if (dots.map[i] == 1) dots.display[i] = kDotFilled;
}

void settle_current_dot(MemoryDots& dots) {
    for (uint8_t& d : dots.display)
        if (d == kDotCurrent) d = kDotFilled;
}

int16_t write_dot_file(int index, const SunSettings& settings, ThumbnailPort* thumbnails) {
    if (index < 0 || index > kSpareDot) return kFileCannotOpen;
    return write_settings_file(memory_dot_path(index), settings, thumbnails);
}

SettingsReadResult read_dot_file(int index, SunSettings& settings, ThumbnailPort* thumbnails) {
    if (index < 0 || index > kSpareDot) return {kFileCannotOpen, false};
    return read_settings_file(memory_dot_path(index), SettingsReadMode::Load, settings, thumbnails);
}

DotAction click_dot(MemoryDots& dots, int index, DotClick click, SunSettings& settings, ThumbnailPort* dot_thumbnail,
                    ThumbnailPort* file_preview) {
    if (!valid_dot(index)) return DotAction::None;
    const bool filled = dots.display[index] != kDotEmpty;
    if (!filled) {
        if (click == DotClick::Right) return DotAction::None;
        dots.map[index] = click == DotClick::CtrlLeft ? 0 : 1;
        store(dots, index, settings, dot_thumbnail);
        return DotAction::Stored;
    }
    switch (click) {
    case DotClick::Left:
        recall(dots, index, settings, file_preview);
        return DotAction::Recalled;
    case DotClick::CtrlLeft:
        dots.map[index] = 0;
        return DotAction::Unkept;
    case DotClick::Right:
        dots.display[index] = kDotEmpty;
        dots.map[index] = 0;
        dots.last_dot = -1;
        return DotAction::Erased;
    }
    return DotAction::None;
}

DotAction recall_last_dot(MemoryDots& dots, SunSettings& settings, ThumbnailPort* file_preview) {
    if (!valid_dot(dots.last_dot)) return DotAction::None;
    recall(dots, dots.last_dot, settings, file_preview);
    return DotAction::Recalled;
}

}  // namespace corvanthe
