#include "ui/main_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "platform/c_random.h"
#include "settings/parameter_table.h"
#include "settings/random_settings.h"
#include "settings/temporary_files.h"
#include "ui/control_table.h"
#include "ui/custom_controls.h"
#include "ui/layout.h"
#include "ui/main_dialog_parts.h"
#include "ui/number_text.h"
#include "ui/pictures.h"
#include "ui/settings_binding.h"

namespace corvanthe::ui {
namespace {

constexpr int16_t kMemoryFull = -108;
constexpr int16_t kUserCancelled = -128;
constexpr int32_t kStyleIcons[] = {151, 152, 153};
constexpr const char* kPlainSettings = "plain settings";
constexpr const char* kRandomSettings = "random settings";

Colour to_rgb(const Colour16& c) {
    return static_cast<Colour>((c.red >> 8) << 16 | (c.green >> 8) << 8 | (c.blue >> 8));
}

Colour16 from_rgb(Colour rgb) {
    return {static_cast<uint16_t>(((rgb >> 16) & 0xFF) << 8), static_cast<uint16_t>(((rgb >> 8) & 0xFF) << 8),
            static_cast<uint16_t>((rgb & 0xFF) << 8)};
}

Widget widget_of(ControlKind kind) {
    switch (kind) {
        case ControlKind::NumberField: return Widget::NumberField;
        case ControlKind::Toggle: return Widget::Check;
        case ControlKind::DialogButton: return Widget::PushButton;
        case ControlKind::IconButton: return Widget::IconButton;
        case ControlKind::ColourButton: return Widget::DrawnButton;
        case ControlKind::DropDown: return Widget::DropDown;
        default: return Widget::Drawn;
    }
}

// Only these kinds take the mouse themselves.
bool takes_mouse(ControlKind kind) {
    return kind == ControlKind::Slider || kind == ControlKind::DirectionPad || kind == ControlKind::AboutIcon ||
           kind == ControlKind::MemoryDot || kind == ControlKind::DotPanel;
}

Rect inner_frame() {
    const Rect frame = layout_rect(id::kPreview);
    return {frame.left + 2, frame.top + 2, frame.right - 2, frame.bottom - 2};
}

}  // namespace

MainDialog::MainDialog(DialogServices& services, Port& port)
    : services_(services), port_(port), opened_with_(services.settings()) {}

DialogLayout MainDialog::layout() const {
    DialogLayout layout;
    layout.resource = "DISSOLVESANSPARAM";
    layout.title = "Corvanthe";
    layout.width = kDialogWidth;
    layout.height = kDialogHeight;
    for (const Placement& p : layout_table()) {
        ControlSpec spec;
        spec.id = p.id;
        spec.place = p.place;
        const ControlKind kind = kind_of(p.id);
        spec.widget = widget_of(kind);
        if (const ControlRow* row = find_row(p.id)) {
            if (row->caption && kind == ControlKind::DialogButton) spec.caption = row->caption;
            if (kind == ControlKind::IconButton) spec.icon = row->image;
        }
        spec.default_button = p.id == id::kOk;
        spec.tooltip = std::string(tooltip_text(p.id));
        // Buttons sit 2 pixels up and left of their client rectangle; "%" 2 more up.
        if (spec.widget == Widget::PushButton || spec.widget == Widget::IconButton) {
            spec.place.left -= 2;
            spec.place.top -= p.id == id::kZoom100 ? 4 : 2;
        }
        layout.controls.push_back(spec);
    }
    return layout;
}

DialogRequests MainDialog::take_requests() {
    DialogRequests taken = requests_;
    requests_.timer = TimerRequest::Keep;
    requests_.repaint = {};
    return taken;
}

void MainDialog::handle(DialogWindow& window, const Event& event) {
    if (ended_) return;
    DialogWindow* outer = window_;
    window_ = &window;
    try {
        dispatch(event);
    } catch (...) {
        // Nothing escapes into the toolkit: the dialog ends as cancelled, out of memory.
        services_.settings() = opened_with_;
        services_.set_result(kMemoryFull);
        requests_.capture = false;
        requests_.timer = TimerRequest::Stop;
        requests_.end_code = kDialogCancel;
        ended_ = true;
    }
    window_ = outer;
}

void MainDialog::dispatch(const Event& event) {
    switch (event.kind) {
        case EventKind::Open: open(); break;
        case EventKind::Command: command(event.id, event.notification); break;
        case EventKind::Press: press(event); break;
        case EventKind::Move: move(event.position); break;
        case EventKind::Release: release(event.position); break;
        case EventKind::Timer: timer(); break;
        case EventKind::Paint:
            if (event.canvas) paint(*event.canvas, event.area);
            break;
        case EventKind::Close: command(id::kCancel, Notification::Clicked); break;
    }
}

// ---- opening ----

void MainDialog::open() {
    shown_.fill(true);
    captured_ = -1;
    opened_with_ = services_.settings();

    std::vector<std::string> glue_names;
    for (int32_t mode = 1; mode <= 19; ++mode) glue_names.emplace_back(enumerator_name(kGlueEnum, mode));
    window_->set_items(id::kGlue, glue_names, {});
    std::vector<std::string> styles;
    for (int32_t type = 1; type <= 3; ++type) styles.emplace_back(enumerator_name(kSunTypeEnum, type));
    window_->set_items(id::kStyle, styles, {std::begin(kStyleIcons), std::end(kStyleIcons)});

    write_controls();
    read_controls();

    if (services_.floating_point_document()) {
        for (const int32_t hidden : {id::kGlue, id::kGlueLabel, id::kGlueStep}) {
            shown_[hidden] = false;
            window_->show(hidden, false);
            repaint(hidden);
        }
    }

    MemoryDots& dots = services_.dots();
    show_kept_dots(dots);
    panel_shows_ = dots.last_dot >= 0 && services_.file_thumbnail(memory_dot_path(dots.last_dot), panel_thumbnail_);

    open_preview();
    update_zoom_buttons();
    repaint_area({0, 0, kDialogWidth, kDialogHeight});
}

// ---- settings and controls ----

void MainDialog::write_controls() {
    const SunSettings& s = services_.settings();
    for (const IntBinding& b : toggle_bindings()) {
        values_[b.id] = s.*b.field ? 1 : 0;
        window_->set_check(b.id, values_[b.id] != 0);
    }
    for (const ColourBinding& b : colour_bindings()) repaint(b.id);
    for (const PadBinding& b : pad_bindings()) repaint(b.id);
    for (const IntBinding& b : slider_bindings()) write_field(b.id, s.*b.field);
    for (const IntBinding& b : list_bindings()) {
        values_[b.id] = s.*b.field;
        window_->select(b.id, s.*b.field - 1);
    }
    repaint(id::kStatus);
}

void MainDialog::read_controls() {
    SunSettings& s = services_.settings();
    for (const IntBinding& b : toggle_bindings()) {
        values_[b.id] = window_->checked(b.id) ? 1 : 0;
        s.*b.field = values_[b.id];
    }
    for (const IntBinding& b : slider_bindings()) {
        const ControlRow* row = find_row(b.id);
        const double typed = parse_number(window_->text(row->field));
        const double clamped = std::clamp(typed, double(row->minimum), double(row->maximum));
        if (clamped != typed) write_field(b.id, clamped);
        values_[b.id] = static_cast<int32_t>(std::trunc(clamped));
        s.*b.field = values_[b.id];
    }
    for (const IntBinding& b : list_bindings()) {
        const int32_t selected = window_->selection(b.id);
        if (selected >= 0) s.*b.field = values_[b.id] = selected + 1;
    }
}

void MainDialog::write_field(int32_t slider, double value) {
    const ControlRow* row = find_row(slider);
    values_[slider] = static_cast<int32_t>(std::trunc(std::clamp(value, double(row->minimum), double(row->maximum))));
    writing_ = true;
    window_->set_text(row->field, format_number(value));
    writing_ = false;
    stop_timer();
    repaint(slider);
}

void MainDialog::field_changed(int32_t field) {
    if (writing_) return;  // the logic's own write: the value is already in place
    const int32_t slider = slider_of_field(field);
    const ControlRow* row = find_row(slider);
    const double clamped = std::clamp(parse_number(window_->text(field)), double(row->minimum), double(row->maximum));
    values_[slider] = static_cast<int32_t>(std::trunc(clamped));
    repaint(slider);
    start_timer();
}

void MainDialog::set_status(const char* name) {
    set_text(services_.settings().settings_name, name);
    repaint(id::kStatus);
}

MainDialog::UndoClass MainDialog::undo_class(int32_t id) const {
    switch (id) {
        case id::kCancel: case id::kOk: case id::kSave: case id::kUndo: case id::kZoomIn: case id::kZoomOut:
        case id::kZoom100: case id::kPresetsPage: case id::kPreview:
            return UndoClass::None;
        case id::kLoad: return UndoClass::WithFile;
        case id::kDotPanel: return services_.dots().last_dot >= 0 ? UndoClass::WithFile : UndoClass::None;
        case id::kDragOrTimer: return UndoClass::Memory;
        default: break;
    }
    if (is_dot(id)) {
        const bool filled = services_.dots().display[id - id::kFirstDot] != kDotEmpty;
        return filled && !ctrl_ ? UndoClass::WithFile : UndoClass::None;
    }
    switch (kind_of(id)) {
        case ControlKind::Slider: case ControlKind::NumberField: case ControlKind::Toggle:
        case ControlKind::DialogButton: case ControlKind::IconButton: case ControlKind::ColourButton:
        case ControlKind::DirectionPad: case ControlKind::DropDown:
            return UndoClass::Memory;
        default: return UndoClass::None;
    }
}

void MainDialog::record_undo(int32_t id) {
    const UndoClass kind = undo_class(id);
    if (kind == UndoClass::None) return;
    services_.record_undo(kind == UndoClass::WithFile);
    if (!is_dot(id)) {
        settle_current_dot(services_.dots());
        repaint_dots();
    }
}

void MainDialog::apply_change(int32_t id) {
    read_controls();
    record_undo(id);
    stop_timer();
    render_preview();
}

// ---- commands ----

void MainDialog::command(int32_t id, Notification notification) {
    const ControlKind kind = kind_of(id);
    if (kind == ControlKind::Toggle) {
        apply_change(id);
    } else if (kind == ControlKind::DropDown) {
        if (notification != Notification::SelectionChanged) return;
        values_[id] = window_->selection(id) + 1;
        apply_change(id);
    } else if (notification == Notification::EditChanged) {
        if (kind == ControlKind::NumberField) field_changed(id);
    } else {
        click(id);
    }
}

void MainDialog::click(int32_t id) {
    if ((id == id::kOk || id == id::kCancel) && busy_) return;
    preview_needed_ = false;
    colour_click(id);
    zoom_click(id);
    update_zoom_buttons();
    file_and_dot_click(id);
    box_click(id);
    random_click(id);
    if (id != id::kOk && id != id::kCancel) {
        read_controls();
        record_undo(id);
    }
    stop_timer();
    if (preview_needed_) render_preview();
    if (id == id::kOk) {
        read_controls();
        services_.set_result(0);
        end(kDialogOk);
    } else if (id == id::kCancel) {
        services_.settings() = opened_with_;
        services_.set_result(kUserCancelled);
        end(kDialogCancel);
    }
}

void MainDialog::end(int32_t code) {
    stop_timer();
    requests_.capture = false;
    requests_.end_code = code;
    ended_ = true;
}

void MainDialog::colour_click(int32_t id) {
    const ColourBinding* binding = find_colour(id);
    if (!binding) return;
    SunSettings& s = services_.settings();
    const std::string prompt(label_text(find_row(id)->label));
    Colour rgb = to_rgb(s.*binding->field);
    const bool chosen = services_.pick_host_colour(prompt, rgb) || port_.choose_colour(window_->native_window(), prompt, rgb);
    if (!chosen) return;
    s.*binding->field = from_rgb(rgb);
    repaint(id);
    preview_needed_ = true;
}

void MainDialog::zoom_click(int32_t id) {
    if (!preview_on_) return;
    bool changed = false;
    if (id == id::kZoomIn) changed = view_.zoom_in(picture_.width, picture_.height);
    if (id == id::kZoomOut) changed = view_.zoom_out(picture_.width, picture_.height);
    if (id == id::kZoom100) changed = view_.zoom_100(picture_.width, picture_.height);
    if (changed) preview_needed_ = true;
}

void MainDialog::box_click(int32_t id) {
    if ((id != id::kAbout && id != id::kInfo) || box_open_) return;
    box_open_ = true;
    if (id == id::kAbout)
        port_.show_message(window_->native_window(), {"ABOUTBOX", "About", ""});
    else
        port_.show_message(window_->native_window(), {"INFOBOX", "Info", ""});
    box_open_ = false;
}

void MainDialog::random_click(int32_t id) {
    SunSettings& s = services_.settings();
    if (id == id::kUndo) {
        read_controls();
        if (services_.undo()) {
            settle_current_dot(services_.dots());
            repaint_dots();
            write_controls();
            preview_needed_ = true;
        }
        return;
    }
    if (id == id::kGlueStep) {
        read_controls();
        s.glue = s.glue >= 19 ? 1 : s.glue + 1;
    } else if (id == id::kDice) {
        read_controls();
        dice(s, process_random());
    } else if (id == id::kEcce) {
        read_controls();
        ecce(s, process_random());
    } else if (id == id::kReset) {
        reset_to_defaults(s);
        set_text(s.settings_name, kPlainSettings);
    } else {
        return;
    }
    if (id == id::kDice || id == id::kEcce) set_text(s.settings_name, kRandomSettings);
    write_controls();
    preview_needed_ = true;
}

// ---- mouse ----

int32_t MainDialog::control_at(Point at) const {
    for (const Placement& p : layout_table()) {
        if (p.id <= 0 || p.id >= id::kCount || !shown_[p.id] || !p.place.contains(at.x, at.y)) continue;
        if (p.id == id::kPreview || takes_mouse(kind_of(p.id))) return p.id;
    }
    return -1;
}

void MainDialog::press(const Event& event) {
    ctrl_ = event.button == MouseButton::Left && event.ctrl;
    right_ = event.button == MouseButton::Right;
    const int32_t id = control_at(event.position);
    if (id < 0) return;
    if (id == id::kPreview) {
        if (!preview_on_ || !view_.frame().contains(event.position.x, event.position.y)) return;
        if (view_.divisor() == view_.fit()) {
            place_centre(event.position);
            stop_timer();
            render_preview();
            return;
        }
        captured_ = id;
        requests_.capture = true;
        last_ = event.position;
        moved_ = false;
        requests_.cursor = Cursor::OverPreview;
        return;
    }
    captured_ = id;
    requests_.capture = true;
    last_ = {event.position.x, event.position.y - 1};  // so that the first move counts
    moved_ = false;
    move(event.position);
}

void MainDialog::move(Point at) {
    if (captured_ < 0) {
        const bool over_preview = preview_on_ && view_.frame().contains(at.x, at.y);
        requests_.cursor = over_preview ? Cursor::OverPreview : Cursor::Arrow;
        const int32_t id = control_at(at);
        if (is_dot(id)) hover_dot(id);
        return;
    }
    const Rect place = layout_rect(captured_);
    const ControlKind kind = kind_of(captured_);
    if (captured_ == id::kPreview) {
        requests_.cursor = Cursor::Panning;
        const int32_t dx = at.x - last_.x, dy = at.y - last_.y;
        last_ = at;
        if (dx || dy) {
            moved_ = true;
            view_.pan(dx, dy);
            plain_preview();
        }
    } else if (kind == ControlKind::Slider) {
        if (at.x - 4 == last_.x - 4 && at.y == last_.y) return;
        last_ = at;
        const ControlRow* row = find_row(captured_);
        write_field(captured_, slider_value_at(place, at.x, row->minimum, row->maximum));
    } else if (kind == ControlKind::DirectionPad) {
        last_ = at;
        const Direction d = pad_direction(place, at, ctrl_);
        const PadBinding* pad = find_pad(captured_);
        SunSettings& s = services_.settings();
        s.*pad->x = d.x;
        s.*pad->y = d.y;
        s.*pad->z = d.z;
        repaint(captured_);
    } else if (kind == ControlKind::MemoryDot) {
        const bool inside = place.contains(at.x, at.y);
        if (inside != dot_pressed_) {
            dot_pressed_ = inside;
            repaint(captured_);
        }
    }
}

void MainDialog::hover_dot(int32_t id) {
    MemoryDots& dots = services_.dots();
    const int32_t index = id - id::kFirstDot;
    if (dots.display[index] == kDotEmpty) {
        if (dots.last_dot < 0 && !panel_shows_) return;
        dots.last_dot = -1;
        panel_shows_ = false;
    } else {
        if (dots.last_dot == index) return;
        dots.last_dot = index;
        panel_shows_ = services_.file_thumbnail(memory_dot_path(index), panel_thumbnail_);
    }
    repaint(id::kDotPanel);
}

void MainDialog::release(Point at) {
    const int32_t id = captured_;
    requests_.capture = false;
    captured_ = -1;
    if (id < 0) return;
    if (id == id::kPreview) {
        requests_.cursor = Cursor::OverPreview;
        if (!moved_) {
            place_centre(at);
            record_undo(id::kDragOrTimer);
        }
        stop_timer();
        render_preview();
        return;
    }
    if (is_dot(id)) {
        dot_pressed_ = false;
        repaint(id);
    }
    read_controls();
    record_undo(id);
    stop_timer();
    if (!is_dot(id)) render_preview();
    const ControlKind kind = kind_of(id);
    if (kind == ControlKind::AboutIcon || kind == ControlKind::MemoryDot || kind == ControlKind::DotPanel)
        command(id, Notification::Clicked);
}

void MainDialog::timer() {
    if (!timer_running_) return;
    read_controls();
    record_undo(id::kDragOrTimer);
    stop_timer();
    render_preview();
}

void MainDialog::start_timer() {
    timer_running_ = true;
    requests_.timer = TimerRequest::Start;
    requests_.timer_milliseconds = kPreviewDelay;
}

void MainDialog::stop_timer() {
    if (!timer_running_ && requests_.timer != TimerRequest::Start) return;
    timer_running_ = false;
    requests_.timer = TimerRequest::Stop;
}

// ---- preview ----

void MainDialog::open_preview() {
    preview_on_ = services_.preview() != nullptr;
    if (!preview_on_) return;
    view_.open(services_.area_width(), services_.area_height(), inner_frame());
    render_preview();
    if (services_.result() != 0) {
        // A first render that fails or is cancelled leaves the dialog without a preview.
        services_.set_result(0);
        preview_on_ = false;
        picture_ = {};
    }
}

void MainDialog::render_preview() {
    stop_timer();
    if (!preview_on_) return;
    read_controls();
    picture_ = {};
    window_->show_wait(true);
    const int16_t error = services_.preview()->render(view_.visible(), view_.divisor(), picture_);
    window_->show_wait(false);
    if (error) {
        services_.set_result(error);
        picture_ = {};
    }
    repaint(id::kPreview);
}

void MainDialog::plain_preview() {
    picture_ = {};
    if (const int16_t error = services_.preview()->read_plain(view_.visible(), view_.divisor(), picture_)) {
        services_.set_result(error);
        picture_ = {};
    }
    repaint(id::kPreview);
}

void MainDialog::update_zoom_buttons() {
    window_->enable(id::kZoomIn, preview_on_ && view_.divisor() > 1);
    window_->enable(id::kZoomOut, preview_on_ && view_.divisor() < view_.fit());
    window_->set_text(id::kZoom100, std::to_string(view_.percent()) + "%");
}

void MainDialog::place_centre(Point at) {
    SunSettings& s = services_.settings();
    view_.centre_at(at, view_.picture_origin(picture_.width, picture_.height), s.x_center, s.y_center);
}

// ---- painting ----

void MainDialog::repaint(int32_t id) { repaint_area(layout_rect(id)); }

void MainDialog::repaint_dots() {
    for (int32_t dot = id::kFirstDot; dot <= id::kLastDot; ++dot) repaint(dot);
}

void MainDialog::repaint_area(const Rect& area) {
    if (area.width() <= 0 || area.height() <= 0) return;
    Rect& r = requests_.repaint;
    if (r.width() <= 0 || r.height() <= 0) {
        r = area;
        return;
    }
    r = {std::min(r.left, area.left), std::min(r.top, area.top), std::max(r.right, area.right),
         std::max(r.bottom, area.bottom)};
}

void MainDialog::paint(Canvas& canvas, const Rect& area) {
    paint_background(canvas, area);
    canvas.clip(area);
    const SunSettings& s = services_.settings();
    if (preview_on_) {
        const Rect frame = view_.frame();
        canvas.line({frame.left - 1, frame.top - 1}, {frame.right, frame.top - 1}, 0x000000);
        canvas.line({frame.left - 1, frame.top - 1}, {frame.left - 1, frame.bottom}, 0x000000);
        canvas.fill(frame, kWhite);
        if (picture_.width > 0 && picture_.height > 0)
            services_.preview()->show(picture_, view_.picture_origin(picture_.width, picture_.height), canvas);
    }
    const MemoryDots& dots = services_.dots();
    for (const Placement& p : layout_table()) {
        const ControlRow* row = find_row(p.id);
        if (!row) continue;
        const bool shown = shown_[p.id];
        switch (row->kind) {
            case ControlKind::Label:
                if (p.id == id::kStatus) {
                    canvas.clip(p.place);
                    paint_label_text(canvas, {p.place.left + 1, p.place.top, p.place.right, p.place.bottom},
                                     Align::Centre, s.settings_name, -2, kLabelColour);
                    canvas.clip(area);
                } else {
                    const bool beside_check = p.id == 49 || p.id == 53 || p.id == 30;
                    paint_label_text(canvas, p.place, beside_check ? Align::Left : Align::Right,
                                     label_text(row->label), -2, shown ? kLabelColour : kDimmedColour);
                }
                break;
            case ControlKind::Slider:
                paint_slider(canvas, p.place, row->image, values_[p.id], row->minimum, row->maximum, shown);
                break;
            case ControlKind::DirectionPad: {
                const PadBinding* pad = find_pad(p.id);
                paint_pad(canvas, p.place, {s.*pad->x, s.*pad->y, s.*pad->z}, shown);
                break;
            }
            case ControlKind::ColourButton:
                paint_colour_button(canvas, p.place, to_rgb(s.*find_colour(p.id)->field), shown);
                break;
            case ControlKind::MemoryDot: {
                const int32_t index = p.id - id::kFirstDot;
                const bool pressed = captured_ == p.id && dot_pressed_;
                paint_dot(canvas, p.place,
                          dot_face(static_cast<DotDisplay>(dots.display[index]), dots.map[index], pressed));
                break;
            }
            case ControlKind::DotPanel:
                paint_dot_panel(canvas, p.place, panel_shows_ ? &panel_thumbnail_ : nullptr);
                break;
            case ControlKind::AboutIcon:
                if (const Picture* icon = find_picture(PictureKind::Bitmap, row->image))
                    canvas.image({p.place.left, p.place.top}, icon->image);
                break;
            default: break;
        }
    }
    canvas.unclip();
}

}  // namespace corvanthe::ui
