// The entry of libcorvanthe_qt.so: the Qt port, once Qt can open windows in this process.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "ui/qt/qt_module.h"
#include "ui/qt/qt_port.h"

namespace corvanthe::ui {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether the X server of DISPLAY accepts a connection, asked through the library Qt's own
// X11 platform uses.
bool x_server_answers() {
    if (variable("DISPLAY").empty()) return false;
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    const auto has_error = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool answers = false;
    if (connect && has_error && disconnect) {
        void* connection = connect(nullptr, nullptr);
        answers = has_error(connection) == 0;
        disconnect(connection);
    }
    dlclose(xcb);
    return answers;
}

bool wayland_answers() {
    const std::string display = variable("WAYLAND_DISPLAY");
    if (display.empty()) return false;
    const QString socket = display.front() == '/' ? QString::fromStdString(display)
                                                  : QString::fromStdString(variable("XDG_RUNTIME_DIR") + "/" + display);
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";
    return QFileInfo::exists(socket) && !QDir(plugins).entryList({"libqwayland*"}).isEmpty();
}

// Qt ends the process when its platform cannot start, so the window system is asked first.
bool window_system_usable(std::string& why) {
    const std::string platform = variable("QT_QPA_PLATFORM");
    const std::string name = platform.substr(0, platform.find(':'));
    bool usable = false;
    if (name.empty()) usable = x_server_answers() || wayland_answers();
    else if (name == "xcb") usable = x_server_answers();
    else if (name.rfind("wayland", 0) == 0) usable = wayland_answers();
    else usable = true;  // offscreen, minimal, vnc and the like need no server
    if (!usable)
        why = name.empty() ? "no window system answers (neither DISPLAY nor WAYLAND_DISPLAY works)"
                           : "the Qt platform '" + platform + "' has no window system to open windows on";
    return usable;
}

// The running application of the host, or one of our own that lives as long as the process.
bool application_ready(std::string& why) {
    if (QCoreApplication* running = QCoreApplication::instance()) {
        if (qobject_cast<QApplication*>(running)) return true;
        why = "the host runs a Qt application without widgets";
        return false;
    }
    if (!window_system_usable(why)) return false;
    static int argc = 1;
    static char name[] = "corvanthe";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return true;
}

}  // namespace
}  // namespace corvanthe::ui

extern "C" corvanthe::ui::Port* corvanthe_qt_port(const char** why) {
    static std::string reason;
    static corvanthe::ui::QtPort* port = nullptr;
    if (!port && corvanthe::ui::application_ready(reason)) port = new corvanthe::ui::QtPort;
    if (why) *why = reason.c_str();
    return port;
}
