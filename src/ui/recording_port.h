#pragma once
// A port for tests: remembers every message box, chooser and page it was asked to show.
// By default it answers the main dialog with a chosen end code at once, as the silent
// suites and the fuzz targets need; with a script it opens the real dialog logic and lets
// the script drive it like a user, reading back what a toolkit would show.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/port.h"

namespace corvanthe::ui {

class RecordingPort;

// The main dialog while a script drives it: the controls' state as a toolkit keeps it,
// and the user's actions, each delivered as one event followed by the requests.
class DialogSession final : public DialogWindow {
public:
    explicit DialogSession(DialogClient& client);

    // What the user does.
    void click(int32_t id);
    void type(int32_t id, const std::string& text);  // raises EditChanged like typing
    void choose(int32_t id, int32_t index);          // a list selection
    void press(Point at, MouseButton button = MouseButton::Left, bool ctrl = false);
    void move(Point at);
    void release(Point at, MouseButton button = MouseButton::Left);
    // Press, one move to the end point, release.
    void drag(Point from, Point to, bool ctrl = false);
    void fire_timer();  // only when the logic started it
    void close();
    // Paints the whole dialog onto the canvas: the logic's drawing, then the toolkit's
    // controls drawn plainly in their places.
    void paint(Canvas& canvas);
    // Paints only what the logic asked to repaint since the last paint, as a toolkit does.
    void paint_requested(Canvas& canvas);

    // What a toolkit would show.
    bool enabled(int32_t id) const;
    bool visible(int32_t id) const;
    const std::vector<std::string>& items(int32_t id);
    bool timer_running() const { return timer_running_; }
    bool captured() const { return capture_; }
    Cursor cursor() const { return cursor_; }
    int waits() const { return waits_; }  // times the wait cursor was shown
    int32_t end_code() const { return end_code_; }
    const DialogLayout& layout() const { return layout_; }
    Rect place(int32_t id) const;

    // DialogWindow.
    void set_text(int32_t id, std::string_view text) override;
    std::string text(int32_t id) override;
    void set_check(int32_t id, bool checked) override;
    bool checked(int32_t id) override;
    void set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>& icons) override;
    void select(int32_t id, int32_t index) override;
    int32_t selection(int32_t id) override;
    void enable(int32_t id, bool enabled) override;
    void show(int32_t id, bool shown) override;
    void show_wait(bool waiting) override { waits_ += waiting ? 1 : 0; }
    void* native_window() override { return nullptr; }

private:
    friend class RecordingPort;
    void send(const Event& event);
    void paint_area(Canvas& canvas, const Rect& area);
    void paint_widget(Canvas& canvas, const ControlSpec& spec);

    struct Control {
        std::string text;
        bool checked = false;
        std::vector<std::string> items;
        int32_t selection = -1;
        bool enabled = true;
        bool visible = true;
    };

    DialogClient& client_;
    DialogLayout layout_;
    std::map<int32_t, Control> controls_;
    int depth_ = 0;
    int waits_ = 0;
    Rect pending_;  // repaints asked for and not yet painted
    bool timer_running_ = false;
    bool capture_ = false;
    Cursor cursor_ = Cursor::Arrow;
    int32_t end_code_ = 0;
};

class RecordingPort final : public Port {
public:
    struct Message {
        std::string resource;
        std::string title;
        std::string text;
        void* owner;
    };
    struct ColourRequest {
        std::string prompt;
        Colour offered;
    };
    using Script = std::function<void(DialogSession&)>;

    explicit RecordingPort(int main_dialog_answer = kDialogOk) : answer_(main_dialog_answer) { set_port(this); }
    ~RecordingPort() override { set_port(nullptr); }
    RecordingPort(const RecordingPort&) = delete;
    RecordingPort& operator=(const RecordingPort&) = delete;

    void show_message(void* owner, const MessageDialog& dialog) override;
    int run_main_dialog(void* owner, DialogClient& dialog) override;
    bool choose_colour(void* owner, const std::string& prompt, Colour& rgb) override;
    bool open_file(void* owner, const FileChoice& choice, std::string& path) override;
    bool save_file(void* owner, const FileChoice& choice, std::string& path) override;
    void open_with_desktop(const std::string& target) override { opened_.push_back(target); }

    void answer_main_dialog_with(int code) { answer_ = code; }
    // From now on the main dialog opens and runs the script; a script that returns with the
    // dialog still open cancels it.
    void script_main_dialog(Script script) { script_ = std::move(script); }
    // Answers of the choosers, taken in order; none left: the user cancels. `on_file_chooser`
    // runs while a file chooser is up.
    std::deque<std::optional<Colour>> colour_answers;
    std::deque<std::string> file_answers;
    std::function<void()> on_file_chooser;

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<std::string>& main_dialogs() const { return main_dialogs_; }
    const std::vector<ColourRequest>& colour_requests() const { return colour_requests_; }
    const std::vector<FileChoice>& file_choosers() const { return file_choosers_; }
    const std::vector<std::string>& opened_with_desktop() const { return opened_; }
    // The thumbnails the open chooser for presets showed.
    const std::vector<RgbaImage>& chooser_thumbnails() const { return chooser_thumbnails_; }

private:
    bool answer_file(const FileChoice& choice, std::string& path);

    int answer_;
    Script script_;
    std::vector<Message> messages_;
    std::vector<std::string> main_dialogs_;
    std::vector<ColourRequest> colour_requests_;
    std::vector<FileChoice> file_choosers_;
    std::vector<std::string> opened_;
    std::vector<RgbaImage> chooser_thumbnails_;
};

}  // namespace corvanthe::ui
