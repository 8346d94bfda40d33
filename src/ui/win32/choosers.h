#pragma once
// The system's colour and file choosers, through the wide-character common dialogs.
#include <windows.h>

#include <string>

#include "ui/port.h"

namespace corvanthe::ui {

// The colour dialog started on `rgb`; the 16 custom colours are kept for the process.
bool choose_system_colour(HWND owner, Colour& rgb);
// The open or save dialog of the choice's use; the presets open dialog shows the selected
// file's thumbnail in the picture area of the FANCY_OPEN4 template.
bool choose_file(HWND owner, const FileChoice& choice, bool save, std::string& path);

}  // namespace corvanthe::ui
