#pragma once
// Handing a file or a web address to the desktop: the browser opens a page.
#include <string>

namespace corvanthe {

// Opens the path or address with the program the desktop associates with it (the
// shell's "open" verb on Windows, xdg-open elsewhere); does not wait for it. False when
// it could not be started.
bool open_with_desktop(const std::string& target);

}  // namespace corvanthe
