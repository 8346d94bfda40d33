#include "ui/memory_services.h"

#include <new>

#include "settings/settings_file.h"

namespace corvanthe::testing {
namespace {

int16_t grey_picture(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) {
    picture.width = (visible.width() + divisor - 1) / divisor;
    picture.height = (visible.height() + divisor - 1) / divisor;
    picture.planes = 3;
    picture.planar.assign(static_cast<size_t>(picture.width) * picture.height * 3, 128);
    return 0;
}

}  // namespace

int16_t CountingPreview::render(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) {
    ++renders;
    if (const int16_t error = fail_with) {
        fail_with = 0;
        return error;
    }
    return grey_picture(visible, divisor, picture);
}

int16_t CountingPreview::read_plain(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) {
    ++plain_reads;
    return grey_picture(visible, divisor, picture);
}

void CountingPreview::show(const ui::PreviewPicture& picture, ui::Point at, ui::Canvas& canvas) {
    canvas.fill({at.x, at.y, at.x + picture.width, at.y + picture.height}, 0x808080);
}

MemoryServices::MemoryServices(int32_t width, int32_t height) : width_(width), height_(height) {
    initialise(settings_);
    reset_undo(undo_);
    load_dot_map(dots_);
}

void MemoryServices::record_undo(bool with_file) {
    if (undo_throws) throw std::bad_alloc();
    save_undo(undo_, settings_, with_file, nullptr);
}
bool MemoryServices::undo() { return corvanthe::undo(undo_, settings_, nullptr); }

DotAction MemoryServices::click_dot(int index, DotClick click) {
    return corvanthe::click_dot(dots_, index, click, settings_, nullptr, nullptr);
}

bool MemoryServices::load_preset(const std::string& path) {
    return load_settings_file(path, settings_, nullptr).error == kFileOk;
}

bool MemoryServices::save_preset(const std::string& path) {
    return write_settings_file(path, settings_, nullptr) == kFileOk;
}

DotAction MemoryServices::recall_last_dot() { return corvanthe::recall_last_dot(dots_, settings_, nullptr); }

}  // namespace corvanthe::testing
