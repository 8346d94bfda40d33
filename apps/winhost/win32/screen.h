#pragma once
// winhost's screen: its displayPixels, which draws the plug-in's 8-bit pixel map onto the
// drawing context the plug-in passes, and the pictures of the plug-in's windows taken once
// the first preview was shown.
#include <string>

#include "sdk/display.h"

namespace corvanthe::winhost {

// displayPixels onto a Windows HDC: grey or RGB planes of 8 bits; -30100 for anything else.
sdk::OSErr display_on_screen(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t row, int32_t col,
                             void* context);

// From the first display on, the client area of this thread's window titled "Corvanthe" is
// written as a PNG file to `path` (its size and place on the screen go to stderr), and that
// of an "About" box, once one opens, to the same path with "-about" before its extension.
// Empty: no pictures.
void take_screenshots_to(const std::string& path);

}  // namespace corvanthe::winhost
