#include "apps/shared/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvanthe::apps {

void put_json_string(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

bool put_json_number(std::string& out, double value) {
    if (!std::isfinite(value)) return false;
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
    return true;
}

}  // namespace corvanthe::apps
