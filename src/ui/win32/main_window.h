#pragma once
// The main dialog as a Win32 window: made from the module's dialog resource named by the
// logic's layout, its controls created from the layout, every user action sent to the logic
// as one event and the logic's requests applied after it.
#include <windows.h>

#include "ui/port.h"

namespace corvanthe::ui {

// Runs the dialog modally over `owner` (null: the desktop) and returns its end code.
int run_main_window(HWND owner, DialogClient& client);

}  // namespace corvanthe::ui
