#pragma once
// The port a build uses unless one is set: the Win32 port in the Windows module, the
// silent port elsewhere (the build picks the source that defines it).
#include "ui/port.h"

namespace corvanthe::ui {

Port& default_port();

}  // namespace corvanthe::ui
