#include "ui/recording_port.h"

#include <algorithm>

#include "ui/pictures.h"

namespace corvanthe::ui {
namespace {

Event event_of(EventKind kind, int32_t id = 0, Notification notification = Notification::Clicked) {
    Event e;
    e.kind = kind;
    e.id = id;
    e.notification = notification;
    return e;
}

}  // namespace

// ---- the session ----

DialogSession::DialogSession(DialogClient& client)
    : client_(client), layout_(client.layout()) {
    for (const ControlSpec& spec : layout_.controls) controls_[spec.id].text = spec.caption;
}

void DialogSession::send(const Event& event) {
    if (end_code_ != 0) return;
    ++depth_;
    client_.handle(*this, event);
    --depth_;
    if (depth_ > 0) return;  // the outer event takes the requests
    const DialogRequests r = client_.take_requests();
    cursor_ = r.cursor;
    capture_ = r.capture;
    if (r.timer == TimerRequest::Start) timer_running_ = true;
    if (r.timer == TimerRequest::Stop) timer_running_ = false;
    if (r.end_code != 0) end_code_ = r.end_code;
    if (r.repaint.width() > 0 && r.repaint.height() > 0) {
        pending_ = pending_.width() > 0 ? Rect{std::min(pending_.left, r.repaint.left), std::min(pending_.top, r.repaint.top),
                                              std::max(pending_.right, r.repaint.right),
                                              std::max(pending_.bottom, r.repaint.bottom)}
                                        : r.repaint;
    }
}

void DialogSession::click(int32_t id) {
    if (!enabled(id) || !visible(id)) return;
    send(event_of(EventKind::Command, id, Notification::Clicked));
}

void DialogSession::type(int32_t id, const std::string& text) { set_text(id, text); }

void DialogSession::choose(int32_t id, int32_t index) {
    controls_[id].selection = index;
    send(event_of(EventKind::Command, id, Notification::SelectionChanged));
}

void DialogSession::press(Point at, MouseButton button, bool ctrl) {
    Event e = event_of(EventKind::Press);
    e.position = at;
    e.button = button;
    e.ctrl = ctrl;
    send(e);
}

void DialogSession::move(Point at) {
    Event e = event_of(EventKind::Move);
    e.position = at;
    send(e);
}

void DialogSession::release(Point at, MouseButton button) {
    Event e = event_of(EventKind::Release);
    e.position = at;
    e.button = button;
    send(e);
}

void DialogSession::drag(Point from, Point to, bool ctrl) {
    press(from, MouseButton::Left, ctrl);
    move(to);
    release(to);
}

void DialogSession::fire_timer() {
    if (!timer_running_) return;
    timer_running_ = false;  // one-shot
    send(event_of(EventKind::Timer));
}

void DialogSession::close() { send(event_of(EventKind::Close)); }

void DialogSession::paint(Canvas& canvas) { paint_area(canvas, {0, 0, layout_.width, layout_.height}); }

void DialogSession::paint_requested(Canvas& canvas) {
    const Rect area = pending_;
    if (area.width() > 0 && area.height() > 0) paint_area(canvas, area);
}

void DialogSession::paint_area(Canvas& canvas, const Rect& area) {
    pending_ = {};
    Event e = event_of(EventKind::Paint);
    e.area = area;
    e.canvas = &canvas;
    send(e);
    canvas.clip(area);
    for (const ControlSpec& spec : layout_.controls)
        if (visible(spec.id)) paint_widget(canvas, spec);
    canvas.unclip();
}

// The toolkit's own controls, drawn plainly so that a picture of the dialog shows them.
void DialogSession::paint_widget(Canvas& canvas, const ControlSpec& spec) {
    const Rect& r = spec.place;
    const Colour ink = enabled(spec.id) ? 0x000000 : 0x8C8C8C;
    const auto frame = [&](Colour face) {
        canvas.fill(r, face);
        canvas.line({r.left, r.top}, {r.right, r.top}, 0x808080);
        canvas.line({r.left, r.top}, {r.left, r.bottom}, 0x808080);
        canvas.line({r.right - 1, r.top}, {r.right - 1, r.bottom}, 0x404040);
        canvas.line({r.left, r.bottom - 1}, {r.right, r.bottom - 1}, 0x404040);
    };
    const auto centred = [&](const std::string& text, int32_t left, int32_t right) {
        canvas.text({left + (right - left - canvas.text_width(text)) / 2, r.top + (r.height() - 11) / 2}, text, ink);
    };
    const Control& c = controls_[spec.id];
    switch (spec.widget) {
        case Widget::NumberField:
            frame(0xFFFFFF);
            canvas.clip(r);
            canvas.text({r.left + 3, r.top + (r.height() - 11) / 2}, c.text, ink);
            canvas.unclip();
            break;
        case Widget::Check:
            frame(0xFFFFFF);
            if (c.checked) {
                canvas.line({r.left + 3, r.top + 8}, {r.left + 6, r.top + 11}, ink);
                canvas.line({r.left + 6, r.top + 11}, {r.left + 13, r.top + 3}, ink);
            }
            break;
        case Widget::PushButton: {
            frame(0xF0F0F0);
            std::string caption = c.text;  // the mnemonic's ampersand is not shown
            caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
            centred(caption, r.left, r.right);
            break;
        }
        case Widget::IconButton:
            frame(0xF0F0F0);
            if (const Picture* icon = find_picture(PictureKind::Icon, spec.icon))
                canvas.image({r.left + (r.width() - icon->image.width) / 2, r.top + (r.height() - icon->image.height) / 2},
                             icon->image);
            break;
        case Widget::DropDown:
            frame(0xFFFFFF);
            canvas.clip(r);
            if (c.selection >= 0 && c.selection < static_cast<int32_t>(c.items.size()))
                canvas.text({r.left + 3, r.top + (r.height() - 11) / 2}, c.items[c.selection], ink);
            canvas.fill({r.right - 16, r.top + 1, r.right - 1, r.bottom - 1}, 0xE0E0E0);
            centred("v", r.right - 16, r.right - 1);
            canvas.unclip();
            break;
        case Widget::DrawnButton:
        case Widget::Drawn:
            break;
    }
}

bool DialogSession::enabled(int32_t id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() || found->second.enabled;
}

bool DialogSession::visible(int32_t id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() || found->second.visible;
}

const std::vector<std::string>& DialogSession::items(int32_t id) { return controls_[id].items; }

Rect DialogSession::place(int32_t id) const {
    const auto found = std::find_if(layout_.controls.begin(), layout_.controls.end(),
                                    [id](const ControlSpec& s) { return s.id == id; });
    return found == layout_.controls.end() ? Rect{} : found->place;
}

void DialogSession::set_text(int32_t id, std::string_view text) {
    controls_[id].text = std::string(text);
    // An edit control tells its dialog of every change, the program's own writes included.
    const auto spec = std::find_if(layout_.controls.begin(), layout_.controls.end(),
                                   [id](const ControlSpec& s) { return s.id == id; });
    if (spec != layout_.controls.end() && spec->widget == Widget::NumberField)
        send(event_of(EventKind::Command, id, Notification::EditChanged));
}

std::string DialogSession::text(int32_t id) { return controls_[id].text; }
void DialogSession::set_check(int32_t id, bool checked) { controls_[id].checked = checked; }
bool DialogSession::checked(int32_t id) { return controls_[id].checked; }

void DialogSession::set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>&) {
    controls_[id].items = items;
    controls_[id].selection = -1;
}

void DialogSession::select(int32_t id, int32_t index) {
    Control& c = controls_[id];
    c.selection = index >= 0 && index < static_cast<int32_t>(c.items.size()) ? index : -1;
}

int32_t DialogSession::selection(int32_t id) { return controls_[id].selection; }
void DialogSession::enable(int32_t id, bool enabled) { controls_[id].enabled = enabled; }
void DialogSession::show(int32_t id, bool shown) { controls_[id].visible = shown; }

// ---- the port ----

void RecordingPort::show_message(void* owner, const MessageDialog& dialog) {
    messages_.push_back({dialog.resource ? dialog.resource : "", dialog.title ? dialog.title : "",
                         dialog.text ? dialog.text : "", owner});
}

int RecordingPort::run_main_dialog(void*, DialogClient& dialog) {
    main_dialogs_.emplace_back(dialog.layout().resource);
    if (!script_) return answer_;
    DialogSession session(dialog);
    session.send(event_of(EventKind::Open));
    script_(session);
    if (session.end_code() == 0) session.close();
    return session.end_code();
}

bool RecordingPort::choose_colour(void*, const std::string& prompt, Colour& rgb) {
    colour_requests_.push_back({prompt, rgb});
    if (colour_answers.empty()) return false;
    const std::optional<Colour> answer = colour_answers.front();
    colour_answers.pop_front();
    if (!answer) return false;
    rgb = *answer;
    return true;
}

bool RecordingPort::answer_file(const FileChoice& choice, std::string& path) {
    file_choosers_.push_back(choice);
    if (on_file_chooser) on_file_chooser();
    if (file_answers.empty()) return false;
    path = file_answers.front();
    file_answers.pop_front();
    // The user selects the file before accepting it: its thumbnail shows.
    RgbaImage picture;
    if (choice.thumbnail && choice.thumbnail(path, picture)) chooser_thumbnails_.push_back(std::move(picture));
    return !path.empty();
}

bool RecordingPort::open_file(void*, const FileChoice& choice, std::string& path) { return answer_file(choice, path); }
bool RecordingPort::save_file(void*, const FileChoice& choice, std::string& path) { return answer_file(choice, path); }

}  // namespace corvanthe::ui
