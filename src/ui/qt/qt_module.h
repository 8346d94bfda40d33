#pragma once
// The one function libcorvanthe_qt.so exports. The port crosses the module boundary as C++
// virtual calls: both modules come from the same build with the same compiler and library.
#include "ui/port.h"

// The Qt port, or null when Qt cannot open windows here; then `why` (when given) says why.
extern "C" __attribute__((visibility("default"))) corvanthe::ui::Port* corvanthe_qt_port(const char** why);

// Its name, for dlsym.
#define CORVANTHE_QT_PORT_ENTRY "corvanthe_qt_port"
