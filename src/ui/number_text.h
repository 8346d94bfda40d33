#pragma once
// The text of a number field, in the C locale whatever the user's locale is: a point for
// the decimal separator, the shortest form "%g" gives.
#include <string>
#include <string_view>

namespace corvanthe::ui {

// Leading blanks and a plus sign are passed over; the number is read up to the first
// character that cannot continue it. Text that starts with no number reads as 0.
double parse_number(std::string_view text);

// The shortest text that reads back as the value, with at most 6 significant digits.
std::string format_number(double value);

}  // namespace corvanthe::ui
