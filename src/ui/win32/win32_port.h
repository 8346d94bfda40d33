#pragma once
// The Win32 port: the plug-in's dialogs as real windows from the module's own
// dialog resources, owned by the host's window.
#include "ui/port.h"

namespace corvanthe::ui {

class Win32Port final : public Port {
public:
    // The dialog resource with the given name, its title and text set from `dialog`,
    // placed over its owner. The About and Info boxes are white and show their pictures.
    // Its commands close it; command 5 (the About box's button) first opens the maker's
    // web page. A request while the same box is open is ignored.
    void show_message(void* owner, const MessageDialog& dialog) override;
    int run_main_dialog(void* owner, DialogClient& dialog) override;
    bool choose_colour(void* owner, const std::string& prompt, Colour& rgb) override;
    bool open_file(void* owner, const FileChoice& choice, std::string& path) override;
    bool save_file(void* owner, const FileChoice& choice, std::string& path) override;
};

}  // namespace corvanthe::ui
