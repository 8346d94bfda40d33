#include "ui/default_port.h"
#include "ui/win32/win32_port.h"

namespace corvanthe::ui {

Port& default_port() {
    static Win32Port port;
    return port;
}

}  // namespace corvanthe::ui
