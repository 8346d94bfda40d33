// The dialog's services over plain memory, for driving the dialog logic without a host: the
// real settings, undo and memory-dot code, and a preview that paints flat grey pictures of the
// size the host would give and counts its renders.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "settings/undo_store.h"
#include "ui/dialog_services.h"

namespace corvanthe::testing {

class CountingPreview final : public ui::PreviewSource {
public:
    int16_t render(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) override;
    int16_t read_plain(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) override;
    void show(const ui::PreviewPicture& picture, ui::Point at, ui::Canvas& canvas) override;

    int renders = 0;
    int plain_reads = 0;
    int16_t fail_with = 0;  // the next render answers this error
};

class MemoryServices final : public ui::DialogServices {
public:
    MemoryServices(int32_t width, int32_t height);

    SunSettings& settings() override { return settings_; }
    ui::PreviewSource* preview() override { return &preview_; }
    int32_t area_width() override { return width_; }
    int32_t area_height() override { return height_; }
    bool floating_point_document() override { return floating_point; }
    bool pick_host_colour(const std::string&, ui::Colour&) override { return false; }
    void progress(int32_t done, int32_t total) override { progress_calls.push_back({done, total}); }
    int16_t result() override { return result_; }
    void set_result(int16_t code) override { result_ = code; }
    void record_undo(bool with_file) override;
    bool undo() override;
    MemoryDots& dots() override { return dots_; }
    DotAction click_dot(int index, DotClick click) override;
    DotAction recall_last_dot() override;
    bool file_thumbnail(const std::string&, ui::RgbaImage&) override { return false; }
    bool load_preset(const std::string& path) override;
    bool save_preset(const std::string& path) override;
    void capture_thumbnail(const ui::PreviewPicture&) override {}
    // Pages need a host image and its renderer: the host's services write them.
    bool write_presets_page(const std::string&, const std::string&) override { return false; }
    bool write_dots_page(const std::string&) override { return false; }

    bool floating_point = false;
    bool undo_throws = false;  // record_undo fails as an allocation would
    std::vector<std::pair<int32_t, int32_t>> progress_calls;
    CountingPreview& counting_preview() { return preview_; }

private:
    SunSettings settings_{};
    int32_t width_, height_;
    int16_t result_ = 0;
    UndoStore undo_{};
    MemoryDots dots_{};
    CountingPreview preview_;
};

}  // namespace corvanthe::testing
