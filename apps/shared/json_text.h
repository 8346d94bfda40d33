#pragma once
// Pieces of the JSON that the host programs write.
#include <string>
#include <string_view>

namespace corvanthe::apps {

// A JSON string of single bytes: quotes and backslashes escaped, other bytes outside
// printable ASCII as \u00XX (read back as the same byte).
void put_json_string(std::string& out, std::string_view text);

// The shortest decimal that reads back as exactly this double; false for values JSON
// cannot carry (infinities, NaN). A float widened to double comes out exactly, so it
// reads back as the same float whether a reader parses it as a float or a double.
bool put_json_number(std::string& out, double value);

}  // namespace corvanthe::apps
