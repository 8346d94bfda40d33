#pragma once
// The port of a build without a windowing toolkit: message boxes show nothing and the
// main dialog is confirmed at once, so a run goes ahead with the settings it has.
#include "ui/port.h"

namespace corvanthe::ui {

class SilentPort final : public Port {
public:
    void show_message(void*, const MessageDialog&) override {}
    int run_main_dialog(void*, DialogClient&) override { return kDialogOk; }
};

}  // namespace corvanthe::ui
