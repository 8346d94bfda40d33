#pragma once
// Little-endian byte builder for the property and terminology resources. Windows
// hosts read both resources in their native byte order, four-character codes
// included (as 32-bit integers).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace corvanthe {

class ResourceBytes {
public:
    void u8(uint8_t value) { bytes_.push_back(value); }
    void u16(uint16_t value) {
        u8(uint8_t(value));
        u8(uint8_t(value >> 8));
    }
    void u32(uint32_t value) {
        u16(uint16_t(value));
        u16(uint16_t(value >> 16));
    }
    // Length byte, then the characters (at most 255).
    void pascal_string(std::string_view text) {
        const std::size_t length = text.size() < 255 ? text.size() : 255;
        u8(uint8_t(length));
        bytes_.insert(bytes_.end(), text.begin(), text.begin() + std::ptrdiff_t(length));
    }
    // The characters and a terminating zero.
    void c_string(std::string_view text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        u8(0);
    }
    // Zero bytes until the size counted from `start` is a multiple of `unit`.
    void pad(std::size_t start, std::size_t unit) {
        while ((bytes_.size() - start) % unit != 0) u8(0);
    }
    void patch_u32(std::size_t offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[offset + std::size_t(i)] = uint8_t(value >> (8 * i));
    }

    std::size_t size() const { return bytes_.size(); }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace corvanthe
