#pragma once
// The Linux plug-in's dialogs come from the Qt port in libcorvanthe_qt.so, a module of its own
// beside the module that holds this code (the plug-in, or the program it is linked into). It
// is loaded on the first dialog only, so runs without a dialog never load Qt.
#include <string>

#include "ui/port.h"

namespace corvanthe::ui {

// The Qt port, loaded on the first call; null when the module is missing or Qt cannot open
// windows here, and then `why` says why.
Port* toolkit_port(std::string& why);

}  // namespace corvanthe::ui
