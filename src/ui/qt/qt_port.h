#pragma once
// The Qt 6 port: the plug-in's dialogs as Qt Widgets windows, for Linux hosts. It lives in a
// module of its own (libcorvanthe_qt.so) that the plug-in loads on the first dialog.
#include <QPointer>
#include <QWidget>

#include "ui/port.h"

namespace corvanthe::ui {

class QtPort final : public Port {
public:
    void show_message(void* owner, const MessageDialog& dialog) override;
    // `owner` is the host's X11 window (or null); the dialog is transient for it.
    int run_main_dialog(void* owner, DialogClient& dialog) override;
    bool choose_colour(void* owner, const std::string& prompt, Colour& rgb) override;
    bool open_file(void* owner, const FileChoice& choice, std::string& path) override;
    bool save_file(void* owner, const FileChoice& choice, std::string& path) override;
    void open_with_desktop(const std::string& target) override;

private:
    bool choose_file(bool save, const FileChoice& choice, std::string& path);

    // The main dialog while it is up: the owner of every box and chooser opened from it.
    QPointer<QWidget> dialog_;
    bool file_dialog_open_ = false;
};

}  // namespace corvanthe::ui
