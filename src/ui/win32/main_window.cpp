#include "ui/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "ui/pictures.h"
#include "ui/win32/dib_canvas.h"
#include "ui/win32/gdi_pictures.h"
#include "ui/win32/placement.h"
#include "ui/win32/system_scope.h"
#include "platform/win32/wide_text.h"

namespace corvanthe::ui {
namespace {

constexpr UINT_PTR kTimerId = 8064;
constexpr int kIconSize = 16;  // the drop-down lists' item icons

struct WidgetClass {
    Widget widget;
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

// How each kind of control is made; Drawn has no window.
constexpr WidgetClass kWidgetClasses[] = {
    {Widget::NumberField, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {Widget::Check, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {Widget::PushButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {Widget::IconButton, L"BUTTON", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 0},
    {Widget::DrawnButton, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0},
    {Widget::DropDown, WC_COMBOBOXEXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
};

const WidgetClass* class_of(Widget widget) {
    for (const WidgetClass& c : kWidgetClasses)
        if (c.widget == widget) return &c;
    return nullptr;
}

RECT rect_of(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

class MainWindow final : public DialogWindow {
public:
    explicit MainWindow(DialogClient& client) : client_(client), layout_(client.layout()) {}
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    void set_text(int32_t id, std::string_view text) override;
    std::string text(int32_t id) override;
    void set_check(int32_t id, bool checked) override;
    bool checked(int32_t id) override;
    void set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>& icons) override;
    void select(int32_t id, int32_t index) override;
    int32_t selection(int32_t id) override;
    void enable(int32_t id, bool enabled) override;
    void show(int32_t id, bool shown) override;
    void show_wait(bool waiting) override;
    void* native_window() override { return window_; }

private:
    INT_PTR message(UINT message, WPARAM wparam, LPARAM lparam);
    void open(HWND window);
    void create_control(const ControlSpec& spec);
    void add_tooltip(const ControlSpec& spec);
    void send(const Event& event);
    void apply(const DialogRequests& requests);
    void command(int32_t id, UINT code);
    void mouse(EventKind kind, MouseButton button, WPARAM keys, LPARAM position);
    void paint();
    void draw_item(const DRAWITEMSTRUCT& item);
    HCURSOR cursor_handle() const;
    const ControlSpec* spec(int32_t id) const;
    HWND item(int32_t id) const { return GetDlgItem(window_, id); }

    DialogClient& client_;
    DialogLayout layout_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;
    std::unique_ptr<DibCanvas> canvas_;
    std::vector<HICON> icons_;
    std::map<int32_t, HIMAGELIST> image_lists_;
    std::map<int32_t, std::string> texts_;  // of controls without a window
    HCURSOR cursors_[3] = {};
    Cursor cursor_ = Cursor::Arrow;
    bool waiting_ = false;
    int depth_ = 0;
};

MainWindow::~MainWindow() {
    for (HICON icon : icons_) DestroyIcon(icon);
    for (auto& [id, list] : image_lists_) ImageList_Destroy(list);
    for (HCURSOR cursor : {cursors_[1], cursors_[2]})
        if (cursor) DestroyCursor(cursor);
    if (font_) DeleteObject(font_);
}

const ControlSpec* MainWindow::spec(int32_t id) const {
    const auto found = std::find_if(layout_.controls.begin(), layout_.controls.end(),
                                    [id](const ControlSpec& s) { return s.id == id; });
    return found == layout_.controls.end() ? nullptr : &*found;
}

INT_PTR CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainWindow*>(lparam);
        SetWindowLongPtrW(window, DWLP_USER, lparam);
        self->open(window);
        return TRUE;  // the focus goes to the first control in tab order
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->message(message, wparam, lparam) : FALSE;
}

void MainWindow::open(HWND window) {
    window_ = window;
    SetWindowTextW(window_, wide_from_utf8(layout_.title).c_str());
    RECT frame{0, 0, layout_.width, layout_.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The label font: Arial 8 points at 96 dpi.
    font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    canvas_ = std::make_unique<DibCanvas>(layout_.width, layout_.height);
    cursors_[0] = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    cursors_[1] = cursor_of(find_picture(PictureKind::Cursor, 109));
    cursors_[2] = cursor_of(find_picture(PictureKind::Cursor, 107));
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, this_module(), nullptr);
    for (const ControlSpec& s : layout_.controls) {
        create_control(s);
        add_tooltip(s);
    }
    for (const ControlSpec& s : layout_.controls)
        if (s.default_button) SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(s.id), 0);
    place_over_owner(window_, GetWindow(window_, GW_OWNER));
    Event opened;
    opened.kind = EventKind::Open;
    send(opened);
}

void MainWindow::create_control(const ControlSpec& s) {
    const WidgetClass* c = class_of(s.widget);
    if (!c) return;
    const DWORD style = WS_CHILD | WS_VISIBLE | c->style | (s.default_button ? BS_DEFPUSHBUTTON : 0);
    RECT r = rect_of(s.place);
    AdjustWindowRectEx(&r, style, FALSE, c->ex_style);  // the place is the client area
    // An opened list may be as long as the dialog is high.
    const int height = s.widget == Widget::DropDown ? layout_.height : r.bottom - r.top;
    const std::wstring caption = s.widget == Widget::PushButton ? wide_from_utf8(s.caption) : std::wstring();
    HWND control = CreateWindowExW(c->ex_style, c->window_class, caption.c_str(), style, r.left, r.top,
                                   r.right - r.left, height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                                   this_module(), nullptr);
    if (!control) return;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (s.widget == Widget::IconButton) {
        if (HICON icon = icon_of(find_picture(PictureKind::Icon, s.icon))) {
            icons_.push_back(icon);
            SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    }
}

void MainWindow::add_tooltip(const ControlSpec& s) {
    if (!tooltip_ || s.tooltip.empty()) return;
    std::wstring text = wide_from_utf8(s.tooltip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.lpszText = text.data();
    if (HWND control = class_of(s.widget) ? item(s.id) : nullptr) {
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
    } else {
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = static_cast<UINT_PTR>(s.id);
        tool.rect = rect_of(s.place);
    }
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::send(const Event& event) {
    ++depth_;
    client_.handle(*this, event);
    --depth_;
    if (depth_ == 0) apply(client_.take_requests());  // an event inside another: the outer applies
}

void MainWindow::apply(const DialogRequests& r) {
    if (r.cursor != cursor_) {
        cursor_ = r.cursor;
        if (!waiting_) SetCursor(cursor_handle());
    }
    if (r.capture && GetCapture() != window_) SetCapture(window_);
    if (!r.capture && GetCapture() == window_) ReleaseCapture();
    if (r.timer == TimerRequest::Start) SetTimer(window_, kTimerId, static_cast<UINT>(r.timer_milliseconds), nullptr);
    if (r.timer == TimerRequest::Stop) KillTimer(window_, kTimerId);
    if (r.repaint.width() > 0 && r.repaint.height() > 0) {
        const RECT area = rect_of(r.repaint);
        InvalidateRect(window_, &area, FALSE);
        // The dialog clips its children: the logic's buttons inside repaint themselves.
        for (const ControlSpec& s : layout_.controls) {
            RECT place = rect_of(s.place), common{};
            if (s.widget == Widget::DrawnButton && IntersectRect(&common, &place, &area))
                InvalidateRect(item(s.id), nullptr, FALSE);
        }
    }
    if (r.end_code != 0) {
        KillTimer(window_, kTimerId);
        if (GetCapture() == window_) ReleaseCapture();
        EndDialog(window_, r.end_code);
    }
}

HCURSOR MainWindow::cursor_handle() const {
    const HCURSOR chosen = cursors_[static_cast<int>(cursor_)];
    return chosen ? chosen : cursors_[0];
}

void MainWindow::command(int32_t id, UINT code) {
    const ControlSpec* s = spec(id);
    if (!s) return;
    Event e;
    e.kind = EventKind::Command;
    e.id = id;
    if (s->widget == Widget::NumberField) {
        if (code != EN_CHANGE) return;
        e.notification = Notification::EditChanged;
    } else if (s->widget == Widget::DropDown) {
        if (code != CBN_SELCHANGE) return;
        e.notification = Notification::SelectionChanged;
    } else if (code != BN_CLICKED) {
        return;
    }
    send(e);
}

void MainWindow::mouse(EventKind kind, MouseButton button, WPARAM keys, LPARAM position) {
    Event e;
    e.kind = kind;
    e.button = button;
    e.ctrl = (keys & MK_CONTROL) != 0;
    e.position = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    send(e);
}

void MainWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    Event e;
    e.kind = EventKind::Paint;
    e.area = {std::max(0L, ps.rcPaint.left), std::max(0L, ps.rcPaint.top),
              std::min<LONG>(layout_.width, ps.rcPaint.right), std::min<LONG>(layout_.height, ps.rcPaint.bottom)};
    e.canvas = canvas_.get();
    if (e.area.width() > 0 && e.area.height() > 0) {
        send(e);
        canvas_->copy_to(dc, e.area.left, e.area.top, e.area);
    }
    EndPaint(window_, &ps);
}

// The colour buttons: the logic paints their place, the button shows that part.
void MainWindow::draw_item(const DRAWITEMSTRUCT& d) {
    const ControlSpec* s = spec(static_cast<int32_t>(d.CtlID));
    if (!s) return;
    Event e;
    e.kind = EventKind::Paint;
    e.area = s->place;
    e.canvas = canvas_.get();
    send(e);
    canvas_->copy_to(d.hDC, 0, 0, s->place);
    if (d.itemState & ODS_FOCUS) {
        RECT inner = d.rcItem;
        InflateRect(&inner, -3, -3);
        DrawFocusRect(d.hDC, &inner);
    }
}

INT_PTR MainWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND: command(LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: mouse(EventKind::Press, MouseButton::Left, wparam, lparam); return TRUE;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: mouse(EventKind::Press, MouseButton::Right, wparam, lparam); return TRUE;
        case WM_MOUSEMOVE: mouse(EventKind::Move, MouseButton::Left, wparam, lparam); return TRUE;
        case WM_LBUTTONUP: mouse(EventKind::Release, MouseButton::Left, wparam, lparam); return TRUE;
        case WM_RBUTTONUP: mouse(EventKind::Release, MouseButton::Right, wparam, lparam); return TRUE;
        case WM_TIMER:
            if (wparam != kTimerId) return FALSE;
            KillTimer(window_, kTimerId);  // one-shot
            {
                Event e;
                e.kind = EventKind::Timer;
                send(e);
            }
            return TRUE;
        case WM_PAINT: paint(); return TRUE;
        case WM_ERASEBKGND: SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1); return TRUE;  // painting covers all
        case WM_DRAWITEM: draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) != window_ || LOWORD(lparam) != HTCLIENT) return FALSE;
            SetCursor(waiting_ ? LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)) : cursor_handle());
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CLOSE: {
            Event e;
            e.kind = EventKind::Close;
            send(e);
            return TRUE;
        }
        default: return FALSE;
    }
}

void MainWindow::set_text(int32_t id, std::string_view text) {
    // An edit control reports the write with EN_CHANGE, which reaches the logic as typing does.
    if (HWND control = item(id))
        SetWindowTextW(control, wide_from_utf8(text).c_str());
    else
        texts_[id] = std::string(text);
}

std::string MainWindow::text(int32_t id) {
    HWND control = item(id);
    if (!control) return texts_[id];
    std::wstring buffer(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
    return utf8_from_wide(buffer.c_str());
}

void MainWindow::set_check(int32_t id, bool checked) {
    SendDlgItemMessageW(window_, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::checked(int32_t id) { return SendDlgItemMessageW(window_, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void MainWindow::set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>& icons) {
    HWND list = item(id);
    if (!list) return;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const bool with_icons = !icons.empty() && icons.size() == items.size();
    if (with_icons) {
        HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32, static_cast<int>(icons.size()), 0);
        for (int32_t icon_id : icons) {
            HICON icon = icon_of(find_picture(PictureKind::Icon, icon_id));
            ImageList_AddIcon(images, icon);
            if (icon) DestroyIcon(icon);
        }
        SendMessageW(list, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        if (image_lists_.count(id)) ImageList_Destroy(image_lists_[id]);
        image_lists_[id] = images;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        std::wstring text = wide_from_utf8(items[i]);
        COMBOBOXEXITEMW entry{};
        entry.mask = CBEIF_TEXT | (with_icons ? CBEIF_IMAGE | CBEIF_SELECTEDIMAGE : 0);
        entry.iItem = static_cast<INT_PTR>(i);
        entry.pszText = text.data();
        entry.iImage = entry.iSelectedImage = static_cast<int>(i);
        SendMessageW(list, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    }
}

void MainWindow::select(int32_t id, int32_t index) { SendDlgItemMessageW(window_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int32_t MainWindow::selection(int32_t id) {
    return static_cast<int32_t>(SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0));
}

void MainWindow::enable(int32_t id, bool enabled) {
    if (HWND control = item(id)) EnableWindow(control, enabled);
}

void MainWindow::show(int32_t id, bool shown) {
    if (HWND control = item(id)) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::show_wait(bool waiting) {
    waiting_ = waiting;
    SetCursor(waiting ? LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)) : cursor_handle());
}

}  // namespace

int run_main_window(HWND owner, DialogClient& client) {
    SystemScope scope;
    MainWindow window(client);
    const INT_PTR code = DialogBoxParamW(this_module(), wide_from_utf8(client.layout().resource).c_str(), owner,
                                         MainWindow::procedure, reinterpret_cast<LPARAM>(&window));
    // A dialog that could not be made is cancelled.
    return code > 0 ? static_cast<int>(code) : kDialogCancel;
}

}  // namespace corvanthe::ui
