#pragma once
// Text is UTF-8 inside the program; the Windows layer speaks to the system in UTF-16
// through the wide-character functions, so that every character of a user's paths
// survives, whatever the system's ANSI code page.
#include <string>
#include <string_view>

namespace corvanthe {

// Bytes that are not UTF-8 become U+FFFD.
std::wstring wide_from_utf8(std::string_view text);
std::string utf8_from_wide(std::wstring_view text);

}  // namespace corvanthe
