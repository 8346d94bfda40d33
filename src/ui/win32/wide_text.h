#pragma once
// UTF-8 texts of the dialog logic as the wide-character texts of the Windows API, and back.
#include <string>
#include <string_view>

namespace corvanthe::ui {

std::wstring wide(std::string_view utf8);
std::string utf8(const wchar_t* text);

}  // namespace corvanthe::ui
