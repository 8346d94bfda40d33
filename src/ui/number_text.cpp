#include "ui/number_text.h"

#include <charconv>
#include <cmath>

namespace corvanthe::ui {

double parse_number(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    if (start < text.size() && text[start] == '+') ++start;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    (void)end;
    if (error != std::errc{} || !std::isfinite(value)) return 0.0;
    return value;
}

std::string format_number(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    if (error != std::errc{}) return "0";
    std::string text(buffer, end);
    // "%g" drops trailing zeros of the fraction, and the point when nothing is left.
    const size_t exponent = text.find('e');
    std::string mantissa = text.substr(0, exponent);
    const std::string tail = exponent == std::string::npos ? "" : text.substr(exponent);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
    }
    return mantissa + tail;
}

}  // namespace corvanthe::ui
