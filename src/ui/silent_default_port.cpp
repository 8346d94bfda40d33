#include "ui/default_port.h"
#include "ui/silent_port.h"

namespace corvanthe::ui {

Port& default_port() {
    static SilentPort port;
    return port;
}

}  // namespace corvanthe::ui
