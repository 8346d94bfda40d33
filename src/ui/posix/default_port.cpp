#include <dlfcn.h>

#include "ui/default_port.h"
#include "ui/posix/toolkit_port.h"
#include "ui/qt/qt_module.h"
#include "ui/silent_port.h"

namespace corvanthe::ui {
namespace {

std::string folder_of_this_module() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&toolkit_port), &info) == 0 || !info.dli_fname) return {};
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Every call goes to the Qt port once it loads; until a dialog is asked for nothing is
// loaded, and where the port cannot be had a run goes ahead as under the silent port.
class LoadingPort final : public Port {
public:
    void show_message(void* owner, const MessageDialog& dialog) override { target().show_message(owner, dialog); }
    int run_main_dialog(void* owner, DialogClient& dialog) override { return target().run_main_dialog(owner, dialog); }
    bool choose_colour(void* owner, const std::string& prompt, Colour& rgb) override {
        return target().choose_colour(owner, prompt, rgb);
    }
    bool open_file(void* owner, const FileChoice& choice, std::string& path) override {
        return target().open_file(owner, choice, path);
    }
    bool save_file(void* owner, const FileChoice& choice, std::string& path) override {
        return target().save_file(owner, choice, path);
    }
    void open_with_desktop(const std::string& target_path) override { target().open_with_desktop(target_path); }

private:
    Port& target() {
        std::string ignored;
        Port* loaded = toolkit_port(ignored);
        return loaded ? *loaded : silent_;
    }
    SilentPort silent_;
};

}  // namespace

Port* toolkit_port(std::string& why) {
    static bool tried = false;
    static Port* loaded = nullptr;
    static std::string reason;
    if (!tried) {
        tried = true;
        // Beside the plug-in module; for a program that links the plug-in and is installed in
        // bin/, in the installed modules' folder lib/corvanthe/.
        const std::string folder = folder_of_this_module();
        std::string path = folder + "/libcorvanthe_qt.so";
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const std::string installed = folder + "/../lib/corvanthe/libcorvanthe_qt.so";
            if ((module = dlopen(installed.c_str(), RTLD_NOW | RTLD_LOCAL))) path = installed;
        }
        using Entry = Port* (*)(const char**);
        const auto entry = module ? reinterpret_cast<Entry>(dlsym(module, CORVANTHE_QT_PORT_ENTRY)) : nullptr;
        if (!entry) {
            const char* error = dlerror();
            reason = "the dialog module cannot be loaded: " + std::string(error ? error : path);
        } else {
            const char* entry_why = nullptr;
            loaded = entry(&entry_why);
            if (!loaded) reason = entry_why ? entry_why : "Qt cannot open windows";
        }
    }
    why = reason;
    return loaded;
}

Port& default_port() {
    static LoadingPort port;
    return port;
}

}  // namespace corvanthe::ui
