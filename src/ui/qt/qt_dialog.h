#pragma once
// The main dialog as a Qt window: the toolkit's own controls placed from the logic's layout,
// everything else painted by the logic through the software canvas, every user action sent to
// the logic as one event and the logic's requests applied after it.
#include <QDialog>
#include <QTimer>

#include <map>

#include "ui/port.h"

namespace corvanthe::ui {

class QtDialog final : public QDialog, public DialogWindow {
public:
    QtDialog(DialogClient& client, QWidget* parent);
    // Opens the dialog and runs it modally; returns the logic's end code.
    int run();

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
    void show_wait(bool waiting) override;
    void* native_window() override { return static_cast<QWidget*>(this); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Esc

private:
    void create(const ControlSpec& spec);
    void send(const Event& event);
    void apply(const DialogRequests& requests);
    void send_mouse(EventKind kind, QMouseEvent* event);
    template <class W>
    W* control(int32_t id) const;

    DialogClient& client_;
    DialogLayout layout_;
    std::map<int32_t, QWidget*> widgets_;
    RgbaImage surface_;
    QTimer timer_;
    int depth_ = 0;
    int32_t end_code_ = 0;
    bool grabbed_ = false;
    bool waiting_ = false;
};

}  // namespace corvanthe::ui
