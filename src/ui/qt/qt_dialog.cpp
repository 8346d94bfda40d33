#include "ui/qt/qt_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolTip>

#include "ui/canvas/software_canvas.h"
#include "ui/qt/qt_pictures.h"

namespace corvanthe::ui {
namespace {

// A button the logic paints (the colour swatches): the dialog's own painting shows through
// it; it adds the focus mark and clicks like a push button.
class DrawnButton final : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus()) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

Event event_of(EventKind kind, int32_t id = 0, Notification notification = Notification::Clicked) {
    Event e;
    e.kind = kind;
    e.id = id;
    e.notification = notification;
    return e;
}

QRect qt_rect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace

QtDialog::QtDialog(DialogClient& client, QWidget* parent)
    : QDialog(parent), client_(client), layout_(client.layout()) {
    setWindowTitle(QString::fromStdString(layout_.title));
    setFixedSize(layout_.width, layout_.height);
    // The toolkit's controls in Liberation Sans at 11 pixels, metric-compatible with the
    // Windows dialog font, so that their texts fit the places the layout gives them.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    setFont(font);
    setMouseTracking(true);
    surface_.width = layout_.width;
    surface_.height = layout_.height;
    surface_.pixels.assign(size_t(layout_.width) * size_t(layout_.height) * 4, 0xFF);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        // A timer that fires while an event is handled (a chooser is up) waits for its end.
        if (depth_ > 0) timer_.start(50);
        else send(event_of(EventKind::Timer));
    });
    for (const ControlSpec& spec : layout_.controls) create(spec);
}

void QtDialog::create(const ControlSpec& spec) {
    const int32_t id = spec.id;
    const auto clicked = [this, id] { send(event_of(EventKind::Command, id)); };
    QWidget* widget = nullptr;
    switch (spec.widget) {
        case Widget::NumberField: {
            auto* edit = new QLineEdit(this);
            // Program writes are sent by set_text itself, so every change reaches the logic once.
            connect(edit, &QLineEdit::textChanged, this,
                    [this, id] { send(event_of(EventKind::Command, id, Notification::EditChanged)); });
            widget = edit;
            break;
        }
        case Widget::Check: {
            auto* check = new QCheckBox(this);
            connect(check, &QCheckBox::clicked, this, clicked);
            widget = check;
            break;
        }
        case Widget::PushButton:
        case Widget::IconButton: {
            auto* button = new QPushButton(QString::fromStdString(spec.caption), this);
            if (spec.widget == Widget::IconButton) {
                button->setIcon(qt_icon(spec.icon));
                button->setIconSize(QSize(24, 24));
            }
            button->setDefault(spec.default_button);
            connect(button, &QPushButton::clicked, this, clicked);
            widget = button;
            break;
        }
        case Widget::DrawnButton: {
            auto* button = new DrawnButton(this);
            button->setFocusPolicy(Qt::StrongFocus);
            connect(button, &QAbstractButton::clicked, this, clicked);
            widget = button;
            break;
        }
        case Widget::DropDown: {
            auto* list = new QComboBox(this);
            list->setIconSize(QSize(16, 16));
            connect(list, &QComboBox::activated, this,
                    [this, id] { send(event_of(EventKind::Command, id, Notification::SelectionChanged)); });
            widget = list;
            break;
        }
        case Widget::Drawn:
            return;
    }
    QRect place = qt_rect(spec.place);
    // A list's place covers its dropped-down items as well; the closed list is one line high.
    if (spec.widget == Widget::DropDown) place.setHeight(std::min(place.height(), widget->sizeHint().height()));
    widget->setGeometry(place);
    if (!spec.tooltip.empty()) widget->setToolTip(QString::fromStdString(spec.tooltip));
    widgets_[id] = widget;
}

int QtDialog::run() {
    send(event_of(EventKind::Open));
    if (end_code_ == 0) exec();
    if (waiting_) show_wait(false);
    return end_code_ != 0 ? end_code_ : kDialogCancel;
}

void QtDialog::send(const Event& event) {
    if (end_code_ != 0) return;
    ++depth_;
    client_.handle(*this, event);
    --depth_;
    if (depth_ == 0) apply(client_.take_requests());
}

void QtDialog::apply(const DialogRequests& r) {
    setCursor(qt_cursor(r.cursor));
    if (r.capture != grabbed_) {
        if (r.capture) grabMouse();
        else releaseMouse();
        grabbed_ = r.capture;
    }
    if (r.timer == TimerRequest::Start) timer_.start(r.timer_milliseconds);
    if (r.timer == TimerRequest::Stop) timer_.stop();
    if (r.repaint.width() > 0 && r.repaint.height() > 0) update(qt_rect(r.repaint));
    if (r.end_code != 0) {
        end_code_ = r.end_code;
        timer_.stop();
        if (grabbed_) releaseMouse();
        grabbed_ = false;
        done(r.end_code);
    }
}

void QtDialog::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect() & rect();
    SoftwareCanvas canvas(surface_);
    Event paint = event_of(EventKind::Paint);
    paint.area = {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    paint.canvas = &canvas;
    send(paint);
    const QImage picture(surface_.pixels.data(), surface_.width, surface_.height, surface_.width * 4,
                         QImage::Format_RGBA8888);
    QPainter(this).drawImage(area, picture, area);
}

void QtDialog::send_mouse(EventKind kind, QMouseEvent* event) {
    Event e = event_of(kind);
    const QPoint at = event->position().toPoint();
    e.position = {at.x(), at.y()};
    e.ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (kind != EventKind::Move) {
        if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
        e.button = event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
    }
    send(e);
}

void QtDialog::mousePressEvent(QMouseEvent* event) { send_mouse(EventKind::Press, event); }
void QtDialog::mouseMoveEvent(QMouseEvent* event) { send_mouse(EventKind::Move, event); }
void QtDialog::mouseReleaseEvent(QMouseEvent* event) { send_mouse(EventKind::Release, event); }

// Tooltips of the controls the logic paints.
bool QtDialog::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QDialog::event(event);
    const QPoint at = static_cast<QHelpEvent*>(event)->pos();
    for (const ControlSpec& spec : layout_.controls) {
        if (spec.widget == Widget::Drawn && !spec.tooltip.empty() && spec.place.contains(at.x(), at.y())) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(spec.tooltip),
                               this, qt_rect(spec.place));
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

// Esc and the window's close control go to the logic, which ends the dialog.
void QtDialog::reject() { send(event_of(EventKind::Close)); }

void QtDialog::closeEvent(QCloseEvent* event) {
    if (end_code_ == 0) {
        event->ignore();
        send(event_of(EventKind::Close));
    }
}

template <class W>
W* QtDialog::control(int32_t id) const {
    const auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : qobject_cast<W*>(found->second);
}

void QtDialog::set_text(int32_t id, std::string_view text) {
    const QString value = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (QPushButton* button = control<QPushButton>(id)) button->setText(value);  // a caption (the zoom percent)
    QLineEdit* edit = control<QLineEdit>(id);
    if (!edit) return;
    {
        const QSignalBlocker quiet(edit);
        edit->setText(value);
    }
    // As an edit control does: the program's own write is told like typing, once.
    send(event_of(EventKind::Command, id, Notification::EditChanged));
}

std::string QtDialog::text(int32_t id) {
    if (const QLineEdit* edit = control<QLineEdit>(id)) return edit->text().toStdString();
    if (const QPushButton* button = control<QPushButton>(id)) return button->text().toStdString();
    return std::string();
}

void QtDialog::set_check(int32_t id, bool checked) {
    if (QCheckBox* check = control<QCheckBox>(id)) check->setChecked(checked);
}

bool QtDialog::checked(int32_t id) {
    const QCheckBox* check = control<QCheckBox>(id);
    return check && check->isChecked();
}

void QtDialog::set_items(int32_t id, const std::vector<std::string>& items, const std::vector<int32_t>& icons) {
    QComboBox* list = control<QComboBox>(id);
    if (!list) return;
    list->clear();
    for (size_t i = 0; i < items.size(); ++i)
        list->addItem(i < icons.size() ? qt_icon(icons[i]) : QIcon(), QString::fromStdString(items[i]));
    list->setCurrentIndex(-1);
}

void QtDialog::select(int32_t id, int32_t index) {
    if (QComboBox* list = control<QComboBox>(id)) list->setCurrentIndex(index < list->count() ? index : -1);
}

int32_t QtDialog::selection(int32_t id) {
    const QComboBox* list = control<QComboBox>(id);
    return list ? list->currentIndex() : -1;
}

void QtDialog::enable(int32_t id, bool enabled) {
    if (QWidget* widget = control<QWidget>(id)) widget->setEnabled(enabled);
}

void QtDialog::show(int32_t id, bool shown) {
    if (QWidget* widget = control<QWidget>(id)) widget->setVisible(shown);
}

void QtDialog::show_wait(bool waiting) {
    if (waiting == waiting_) return;
    waiting_ = waiting;
    if (waiting) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

}  // namespace corvanthe::ui
