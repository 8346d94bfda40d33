#pragma once
// The Win32 port: the plug-in's dialogs as real windows from the module's own
// dialog resources, owned by the host's window.
#include "ui/port.h"

namespace corvanthe::ui {

class Win32Port final : public Port {
public:
    // The dialog resource with the given name, its title and text set from `dialog`.
    // Its commands close it; command 5 (the About box's button) first opens the maker's
    // web page. A request while the same box is open is ignored.
    void show_message(void* owner, const MessageDialog& dialog) override;
    // Not yet a window: confirms at once, so the run goes ahead with its settings.
    int run_main_dialog(void* owner, DialogClient& dialog) override;
};

}  // namespace corvanthe::ui
