#pragma once
// Four-character codes of the host interface ('8BFM', '0014', 'suty'), first character
// in the high byte, as the interface stores them in 32-bit integers.
#include <cstdint>
#include <string>

namespace corvanthe {

constexpr uint32_t four_cc(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

inline std::string four_cc_text(uint32_t code) {
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

}  // namespace corvanthe

namespace corvanthe {

// The same from a run-time string of at least four characters.
inline uint32_t four_cc_code(const char* code) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

}  // namespace corvanthe
