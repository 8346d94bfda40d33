#pragma once
// Where the plug-in's windows open: over the owner's client area (the desktop's when there is
// none), centred across and then moved left by the caption buttons' width (two thirds of it for a
// window without a system menu), a third of the free height down; moved back inside the screen's
// right and bottom edges, but never to a negative position.
#include <windows.h>

namespace corvanthe::ui {

void place_over_owner(HWND window, HWND owner);

}  // namespace corvanthe::ui
