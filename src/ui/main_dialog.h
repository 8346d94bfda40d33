#pragma once
// The main dialog's logic: opening, command dispatch with its undo classes, number fields
// and the preview timer, mouse capture and drags, memory dots, choosers, painting. It acts
// only through the port's window and the plug-in's services.
#include <array>
#include <cstdint>
#include <string>

#include "settings/sun_settings.h"
#include "ui/control_table.h"
#include "ui/dialog_services.h"
#include "ui/port.h"
#include "ui/preview_view.h"

namespace corvanthe::ui {

constexpr int32_t kPreviewDelay = 1000;  // milliseconds

class MainDialog final : public DialogClient {
public:
    MainDialog(DialogServices& services, Port& port);

    DialogLayout layout() const override;
    void handle(DialogWindow& window, const Event& event) override;
    DialogRequests take_requests() override;

    // For tests: the preview's view and each control's value.
    const PreviewView& view() const { return view_; }
    bool preview_on() const { return preview_on_; }
    int32_t value(int32_t id) const { return id >= 0 && id < id::kCount ? values_[id] : 0; }

private:
    enum class UndoClass { None, Memory, WithFile };

    void dispatch(const Event& event);
    void open();
    void command(int32_t id, Notification notification);
    void click(int32_t id);
    void press(const Event& event);
    void move(Point at);
    void release(Point at);
    void timer();
    void paint(Canvas& canvas, const Rect& area);
    void end(int32_t code);

    // Controls and settings.
    void write_controls();
    void read_controls();
    void write_field(int32_t slider, double value);
    void field_changed(int32_t field);
    void apply_change(int32_t id);
    UndoClass undo_class(int32_t id) const;
    void record_undo(int32_t id);
    void set_status(const char* name);

    // Handlers of a click, in dispatch order; each acts only on its own ids.
    void colour_click(int32_t id);
    void zoom_click(int32_t id);
    void file_and_dot_click(int32_t id);
    void dot_click(int32_t index);
    void dot_panel_click();
    void box_click(int32_t id);
    void random_click(int32_t id);
    bool file_chooser(bool save, const FileChoice& choice, std::string& path);
    bool choose_folder(std::string& folder);
    bool choose_page(const char* suggested_name, std::string& page);
    void write_presets_page();
    void write_dots_page();
    void refresh_preset_folder();

    // Preview.
    void open_preview();
    void render_preview();
    void plain_preview();
    void update_zoom_buttons();
    void place_centre(Point at);
    int32_t control_at(Point at) const;
    void hover_dot(int32_t id);
    void start_timer();
    void stop_timer();
    void repaint(int32_t id);
    void repaint_dots();
    void repaint_area(const Rect& area);

    DialogServices& services_;
    Port& port_;
    DialogWindow* window_ = nullptr;
    DialogRequests requests_;
    SunSettings opened_with_{};
    std::array<int32_t, id::kCount> values_{};
    std::array<bool, id::kCount> shown_{};

    int32_t captured_ = -1;
    Point last_;
    bool moved_ = false;
    bool right_ = false;
    bool ctrl_ = false;
    bool dot_pressed_ = false;
    bool timer_running_ = false;
    bool writing_ = false;     // the logic's own write into a number field is under way
    bool busy_ = false;        // a preset-folder refresh or a page is being written
    bool file_dialog_open_ = false;
    bool box_open_ = false;
    bool preview_needed_ = false;
    bool ended_ = false;

    PreviewView view_;
    PreviewPicture picture_;
    bool preview_on_ = false;
    RgbaImage panel_thumbnail_;
    bool panel_shows_ = false;
};

}  // namespace corvanthe::ui
