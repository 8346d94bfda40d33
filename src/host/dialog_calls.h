#pragma once
// The main dialog's view of the plug-in during Start: the settings record, the preview, the
// host's colour picker and progress, undo, memory dots, presets and pages, all over the
// context of the call in progress.
#include "host/host_context.h"
#include "render/worker_pool.h"
#include "ui/dialog_services.h"

namespace corvanthe {

class HostDialogServices final : public ui::DialogServices {
public:
    // `preview` is null when the host cannot give one.
    HostDialogServices(HostContext& context, ui::PreviewSource* preview) : context_(context), preview_(preview) {}

    SunSettings& settings() override;
    ui::PreviewSource* preview() override { return preview_; }
    int32_t area_width() override;
    int32_t area_height() override;
    bool floating_point_document() override;
    bool pick_host_colour(const std::string& prompt, ui::Colour& rgb) override;
    void progress(int32_t done, int32_t total) override;
    int16_t result() override;
    void set_result(int16_t code) override;
    void record_undo(bool with_file) override;
    bool undo() override;
    MemoryDots& dots() override;
    DotAction click_dot(int index, DotClick click) override;
    DotAction recall_last_dot() override;
    bool file_thumbnail(const std::string& path, ui::RgbaImage& picture) override;
    bool load_preset(const std::string& path) override;
    bool save_preset(const std::string& path) override;
    void capture_thumbnail(const ui::PreviewPicture& preview) override;
    bool write_presets_page(const std::string& folder, const std::string& page_path) override;
    bool write_dots_page(const std::string& page_path) override;

private:
    HostContext& context_;
    ui::PreviewSource* preview_;
    WorkerPool pool_;
};

// Runs the main dialog through the port; true when the user confirmed it. On Cancel the
// settings are those the dialog opened with and the result is -128.
bool run_main_dialog(HostContext& context);

}  // namespace corvanthe
