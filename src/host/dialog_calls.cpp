#include "host/dialog_calls.h"

#include <algorithm>
#include <memory>

#include "export/dots_page.h"
#include "export/presets_page.h"
#include "export/store_dot_renderer.h"
#include "host/host_colour_pick.h"
#include "host/host_rects.h"
#include "host/memory_dot_calls.h"
#include "host/plugin_state.h"
#include "host/preview_source_host.h"
#include "host/run_thumbnails.h"
#include "host/store_from_host.h"
#include "layers/jpeg_thumbnail.h"
#include "layers/thumbnail.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"
#include "settings/undo_store.h"
#include "ui/main_dialog.h"
#include "ui/port.h"

namespace corvanthe {

SunSettings& HostDialogServices::settings() { return *context_.settings; }

int32_t HostDialogServices::area_width() { return width_of(context_.state->filter_rect); }
int32_t HostDialogServices::area_height() { return height_of(context_.state->filter_rect); }

bool HostDialogServices::floating_point_document() {
    const sdk::FilterRecord& r = *context_.record;
    return r.imageMode == sdk::kModeRGB96 || r.imageMode == sdk::kModeGray32 || r.depth == 32;
}

bool HostDialogServices::pick_host_colour(const std::string& prompt, ui::Colour& rgb) {
    const uint8_t in[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
    uint8_t out[3];
    if (!pick_colour_from_host(context_, prompt.c_str(), in, out)) return false;
    rgb = ui::Colour(out[0]) << 16 | ui::Colour(out[1]) << 8 | out[2];
    return true;
}

void HostDialogServices::progress(int32_t done, int32_t total) {
    if (context_.record && context_.record->progressProc) context_.record->progressProc(done, total);
}

int16_t HostDialogServices::result() { return result_of(context_); }
void HostDialogServices::set_result(int16_t code) { corvanthe::set_result(context_, code); }

void HostDialogServices::record_undo(bool with_file) {
    WorkBlock& block = *context_.state->work_block;
    RunThumbnails thumbnails(block);
    save_undo(block.undo, settings(), with_file, &thumbnails.port());
}

bool HostDialogServices::undo() {
    WorkBlock& block = *context_.state->work_block;
    RunThumbnails thumbnails(block);
    return corvanthe::undo(block.undo, settings(), &thumbnails.port());
}

MemoryDots& HostDialogServices::dots() { return memory_dots(); }

DotAction HostDialogServices::click_dot(int index, DotClick click) {
    WorkBlock& block = *context_.state->work_block;
    StoreThumbnails dot_port(block.thumbnail, block.dot_thumbnail, pool_, StoreThumbnails::Show::CopyInto);
    RunThumbnails file_preview(block);
    return corvanthe::click_dot(memory_dots(), index, click, settings(), &dot_port, &file_preview.port());
}

DotAction HostDialogServices::recall_last_dot() {
    WorkBlock& block = *context_.state->work_block;
    RunThumbnails file_preview(block);
    return corvanthe::recall_last_dot(memory_dots(), settings(), &file_preview.port());
}

bool HostDialogServices::file_thumbnail(const std::string& path, ui::RgbaImage& picture) {
    WorkBlock& block = *context_.state->work_block;
    if (!block.dot_thumbnail) return false;
    StoreThumbnails dot_port(block.thumbnail, block.dot_thumbnail, pool_, StoreThumbnails::Show::CopyInto);
    SunSettings ignored{};
    const SettingsReadResult read =
        read_settings_file(path, SettingsReadMode::ThumbnailOnly, ignored, &dot_port);
    if (!read.thumbnail_shown) return false;
    const LayerStore& store = *block.dot_thumbnail;
    const int32_t w = store.levels[0].width, h = store.levels[0].height;
    picture = {w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    uint8_t* out = picture.pixels.data();
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x, out += 4) {
            const PixelValue p = read_texel(store, x, y, 0);
            out[0] = static_cast<uint8_t>(std::clamp(p.red, 0.0f, 1.0f) * 255.0f);
            out[1] = static_cast<uint8_t>(std::clamp(p.green, 0.0f, 1.0f) * 255.0f);
            out[2] = static_cast<uint8_t>(std::clamp(p.blue, 0.0f, 1.0f) * 255.0f);
            out[3] = 255;
        }
    return true;
}

bool HostDialogServices::load_preset(const std::string& path) {
    RunThumbnails thumbnails(*context_.state->work_block);
    return load_settings_file(path, settings(), &thumbnails.port()).error == kFileOk;
}

bool HostDialogServices::save_preset(const std::string& path) {
    RunThumbnails thumbnails(*context_.state->work_block);
    return write_settings_file(path, settings(), &thumbnails.port()) == kFileOk;
}

void HostDialogServices::capture_thumbnail(const ui::PreviewPicture& preview) {
    WorkBlock& block = *context_.state->work_block;
    if (!block.thumbnail || preview.width <= 0 || preview.height <= 0) return;
    const PreviewBitmap bitmap = {preview.planar.data(), preview.width, preview.height, preview.width,
                                  preview.width * preview.height, preview.planes};
    corvanthe::capture_thumbnail(*block.thumbnail, bitmap, pool_);
}

bool HostDialogServices::write_presets_page(const std::string& folder, const std::string& page_path) {
    const PageProgress report = [this](int32_t done, int32_t total) { progress(done, total); };
    const PageStatus status = corvanthe::write_presets_page(folder, page_path, {}, report).status;
    return status == PageStatus::Finished || status == PageStatus::WriteFailed;
}

bool HostDialogServices::write_dots_page(const std::string& page_path) {
    const sdk::FilterRecord& record = *context_.record;
    const PixelKind kind = record.depth == 16 ? PixelKind::rgba16 : record.depth == 32 ? PixelKind::rgba_float
                                                                                        : PixelKind::rgba8;
    std::unique_ptr<LayerStore, void (*)(LayerStore*)> image(
        create_store(context_.state->work_block, area_width(), area_height(), kind), free_store);
    if (!image || !copy_host_into_store(context_, *image)) return false;
    StoreDotRenderer renderer;
    DotsPageInput input;
    input.host_image = image.get();
    input.dot_map = memory_dots().map;
    input.renderer = &renderer;
    input.runner = &pool_;
    input.progress = [this](int32_t done, int32_t total) { progress(done, total); };
    return corvanthe::write_dots_page(input, settings(), page_path).status != PageStatus::PageNotCreated;
}

bool run_main_dialog(HostContext& context) {
    HostPreviewSource preview(context);
    HostDialogServices services(context, context.settings->host_preview ? &preview : nullptr);
    ui::MainDialog dialog(services, ui::port());
    const bool confirmed = ui::port().run_main_dialog(context.owner_window, dialog) == ui::kDialogOk;
    if (!confirmed && result_of(context) == 0) set_result(context, sdk::kUserCanceledErr);
    return confirmed;
}

}  // namespace corvanthe
