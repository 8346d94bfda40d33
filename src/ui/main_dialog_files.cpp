// The main dialog's commands on files: Load and Save, the memory dots and the dot panel, the
// two HTML pages and the preset-folder refresh.
#include <algorithm>

#include "settings/preset_folder.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"

namespace corvanthe::ui {

void MainDialog::file_and_dot_click(int32_t id) {
    SunSettings& s = services_.settings();
    if (id == id::kLoad) {
        FileChoice choice = file_choice(FileUse::Presets, "Open a settings file", s.settings_folder);
        choice.thumbnail = [this](const std::string& file, RgbaImage& picture) {
            return services_.file_thumbnail(file, picture);
        };
        std::string path;
        if (!file_chooser(false, choice, path)) return;
        set_text(s.settings_folder, folder_of(path).c_str());
        if (!services_.load_preset(path)) return;
        write_controls();
        set_status(file_name_of(path).c_str());
        preview_needed_ = true;
    } else if (id == id::kSave) {
        std::string name = save_name_of(s);
        if (name.empty()) name = "Corvanthe settings";
        const FileChoice choice = file_choice(FileUse::Presets, "Save a settings file", s.settings_folder, name + ".q4q");
        std::string path;
        if (!file_chooser(true, choice, path)) return;
        set_text(s.settings_folder, folder_of(path).c_str());
        read_controls();
        services_.capture_thumbnail(picture_);
        if (services_.save_preset(path)) set_status(file_name_of(path).c_str());
    } else if (is_dot(id)) {
        dot_click(id - id::kFirstDot);
    } else if (id == id::kDotPanel) {
        dot_panel_click();
    } else if (id == id::kPresetsPage) {
        write_presets_page();
    }
}

void MainDialog::dot_click(int32_t index) {
    MemoryDots& dots = services_.dots();
    const bool empty = dots.display[index] == kDotEmpty;
    // Only a filled dot can be cleared: a right click on an empty one stores like a click.
    DotClick kind = ctrl_ ? DotClick::CtrlLeft : right_ ? DotClick::Right : DotClick::Left;
    if (empty && kind == DotClick::Right) kind = DotClick::Left;
    read_controls();
    if (empty) services_.capture_thumbnail(picture_);
    const DotAction action = services_.click_dot(index, kind);
    if (action == DotAction::Recalled) {
        write_controls();
        preview_needed_ = true;
    }
    if (action == DotAction::Stored || action == DotAction::Recalled)
        panel_shows_ = services_.file_thumbnail(memory_dot_path(index), panel_thumbnail_);
    if (action == DotAction::Erased) panel_shows_ = false;
    repaint_dots();
    repaint(id::kDotPanel);
}

void MainDialog::dot_panel_click() {
    if (right_) {
        write_dots_page();
    } else if (ctrl_) {
        refresh_preset_folder();
    } else if (services_.recall_last_dot() == DotAction::Recalled) {
        write_controls();
        preview_needed_ = true;
        repaint_dots();
    }
}

bool MainDialog::file_chooser(bool save, const FileChoice& choice, std::string& path) {
    if (file_dialog_open_) return false;
    file_dialog_open_ = true;
    const bool chosen = save ? port_.save_file(window_->native_window(), choice, path)
                             : port_.open_file(window_->native_window(), choice, path);
    file_dialog_open_ = false;
    return chosen && !path.empty();
}

bool MainDialog::choose_folder(std::string& folder) {
    SunSettings& s = services_.settings();
    std::string any_file;
    if (!file_chooser(false, file_choice(FileUse::Presets, "Choose any file in the source folder", s.presets_folder),
                      any_file))
        return false;
    folder = folder_of(any_file);
    set_text(s.presets_folder, folder.c_str());
    return true;
}

bool MainDialog::choose_page(const char* suggested_name, std::string& page) {
    SunSettings& s = services_.settings();
    if (!file_chooser(true, file_choice(FileUse::HtmlPage, "Save an HTML page", s.pages_folder, suggested_name), page))
        return false;
    set_text(s.pages_folder, folder_of(page).c_str());
    return true;
}

void MainDialog::write_presets_page() {
    std::string folder, page;
    if (busy_ || !choose_folder(folder) || !choose_page("Corvanthe presets.html", page)) return;
    busy_ = true;
    window_->show_wait(true);
    const bool written = services_.write_presets_page(folder, page);
    window_->show_wait(false);
    busy_ = false;
    if (written) port_.open_with_desktop(page);
}

void MainDialog::write_dots_page() {
    std::string page;
    if (busy_ || !choose_page("Corvanthe memory dots.html", page)) return;
    read_controls();
    busy_ = true;
    window_->show_wait(true);
    const bool written = services_.write_dots_page(page);
    window_->show_wait(false);
    busy_ = false;
    if (written) port_.open_with_desktop(page);
}

void MainDialog::refresh_preset_folder() {
    std::string folder;
    if (busy_ || !choose_folder(folder)) return;
    busy_ = true;
    window_->show_wait(true);
    SunSettings& s = services_.settings();
    read_controls();
    const SunSettings kept = s;
    write_dot_file(kSpareDot, s, nullptr);
    const std::vector<std::string> files = presets_to_refresh(folder);
    const int32_t total = static_cast<int32_t>(files.size());
    for (int32_t done = 0; done < total; ++done) {
        services_.progress(done, total);
        const std::string& path = files[done];
        if (!services_.load_preset(path)) continue;
        set_status(file_name_of(path).c_str());
        write_controls();
        read_controls();
        render_preview();
        services_.capture_thumbnail(picture_);
        if (services_.save_preset(path)) rename_refreshed_preset(path);
    }
    services_.progress(total, total);
    s = kept;
    read_dot_file(kSpareDot, s, nullptr);
    write_controls();
    window_->show_wait(false);
    busy_ = false;
    preview_needed_ = true;
}

}  // namespace corvanthe::ui
