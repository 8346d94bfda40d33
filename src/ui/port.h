#pragma once
// The toolkit behind the dialogs. The plug-in's dialog logic is free of any toolkit; it
// shows its windows through the port in use: the Win32 port inside the Windows module, a
// silent port elsewhere, a recording port in the tests.
//
// A toolkit port does three things for the main dialog: it creates the controls the logic
// lists (one record each, with its place, in tab order), it sends every user action as one
// plain `Event` into the logic's one entry `DialogClient::handle`, and after each event it
// applies the `DialogRequests` the logic hands back (cursor, capture, timer, repaint, end).
// While an event is handled the logic works the controls through `DialogWindow`.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace corvanthe::ui {

// A modal message box built from a dialog resource: its title, its one text and an
// icon and button that the resource fixes.
struct MessageDialog {
    const char* resource;
    const char* title;
    const char* text;
};

// End codes of the main dialog.
constexpr int kDialogOk = 3;
constexpr int kDialogCancel = 2;

// How the toolkit realises a control; everything the logic paints itself is `Drawn`.
enum class Widget : uint8_t {
    NumberField,   // single-line edit
    Check,         // check box without text (its label is drawn)
    PushButton,    // caption with mnemonic; the default button answers Enter, id 2 answers Esc
    IconButton,    // push button showing `icon` (an icon picture), no caption
    DrawnButton,   // push button the logic paints (colour swatches); takes focus and clicks
    DropDown,      // drop-down list; items set by the logic, optional 16 × 16 icons
    Drawn,         // no window of its own: painted by the logic, mouse goes to the dialog
};

struct ControlSpec {
    int32_t id = 0;
    Widget widget = Widget::Drawn;
    Rect place;                // client area in dialog coordinates
    std::string caption;       // push buttons
    int32_t icon = 0;          // icon picture of icon buttons
    bool default_button = false;
    std::string tooltip;       // one line; empty for none
};

// The dialog as the toolkit builds it: client size, title, controls in tab order.
struct DialogLayout {
    std::string resource;  // the dialog resource a toolkit may build the window from
    std::string title;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<ControlSpec> controls;
};

enum class EventKind : uint8_t {
    Open,      // controls exist; nothing shown yet
    Command,   // a click, an edit change or a list selection of control `id`
    Press,     // mouse button down at `position` (dialog client coordinates)
    Move,
    Release,
    Timer,     // the one-shot timer fired
    Paint,     // paint `area` on `canvas`
    Close,     // the window's close control or Esc: as Cancel
};

enum class Notification : uint8_t { Clicked, EditChanged, SelectionChanged };
enum class MouseButton : uint8_t { Left, Right };

struct Event {
    EventKind kind = EventKind::Command;
    int32_t id = 0;
    Notification notification = Notification::Clicked;
    Point position;
    MouseButton button = MouseButton::Left;
    bool ctrl = false;
    Rect area;
    Canvas* canvas = nullptr;
};

enum class Cursor : uint8_t { Arrow, OverPreview, Panning };  // pictures 109, 107

// The dialog's one timer, one-shot (number 8064 where a toolkit numbers its timers).
enum class TimerRequest : uint8_t { Keep, Start, Stop };

// What the toolkit applies after each event. Repaint and timer are taken once; cursor and
// capture are the state to be in.
struct DialogRequests {
    Cursor cursor = Cursor::Arrow;
    bool capture = false;
    TimerRequest timer = TimerRequest::Keep;
    int32_t timer_milliseconds = 0;
    Rect repaint;       // empty: nothing
    int32_t end_code = 0;  // 0 while the dialog runs
};

// The controls of the running dialog, as the logic works them during an event.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    // A program write into a number field raises the same EditChanged command as typing.
    virtual void set_text(int32_t id, std::string_view text) = 0;
    virtual std::string text(int32_t id) = 0;
    virtual void set_check(int32_t id, bool checked) = 0;
    virtual bool checked(int32_t id) = 0;
    // Replaces the items; `icons` is empty or holds one icon picture per item.
    virtual void set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>& icons) = 0;
    virtual void select(int32_t id, int32_t index) = 0;  // -1: none
    virtual int32_t selection(int32_t id) = 0;
    virtual void enable(int32_t id, bool enabled) = 0;
    virtual void show(int32_t id, bool shown) = 0;
    // The wait cursor at once, for work inside one event (a render, a page); false goes back.
    virtual void show_wait(bool waiting) = 0;
    // The owner of boxes and choosers opened from the dialog.
    virtual void* native_window() = 0;

protected:
    DialogWindow() = default;
};

// The dialog logic as a toolkit sees it.
class DialogClient {
public:
    virtual ~DialogClient() = default;
    virtual DialogLayout layout() const = 0;
    // The one entry of every event. Never throws.
    virtual void handle(DialogWindow& window, const Event& event) = 0;
    // The requests gathered since the last call.
    virtual DialogRequests take_requests() = 0;
};

// Which kind of file a chooser offers.
enum class FileUse : uint8_t { Bitmap, Presets, HtmlPage, AllFiles, AllImages };

struct FileChoice {
    FileUse use = FileUse::Presets;
    std::string title;
    std::string folder;          // where it starts
    std::string suggested_name;  // save only
    // The open chooser for presets shows the selected file's thumbnail in a picture area
    // beside its own controls; empty for the other choosers.
    std::function<bool(const std::string& path, RgbaImage& picture)> thumbnail;
};

class Port {
public:
    virtual ~Port() = default;
    // Shows the message box over the owner window until the user closes it.
    virtual void show_message(void* owner, const MessageDialog& dialog) = 0;
    // Runs the main dialog modally and returns its end code.
    virtual int run_main_dialog(void* owner, DialogClient& dialog) = 0;

    // Choosers; a port without a toolkit answers them as cancelled. `rgb` is 0xRRGGBB.
    virtual bool choose_colour(void* owner, const std::string& prompt, Colour& rgb);
    // The full path chosen, when the user accepted.
    virtual bool open_file(void* owner, const FileChoice& choice, std::string& path);
    virtual bool save_file(void* owner, const FileChoice& choice, std::string& path);
    // Opens a path or web address with the program the desktop associates with it.
    virtual void open_with_desktop(const std::string& target);
};

// The port in use, and a way to replace it (nullptr restores the default one).
Port& port();
void set_port(Port* replacement);

}  // namespace corvanthe::ui
