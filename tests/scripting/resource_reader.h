#pragma once
// A reader of the Windows resource layout written for the tests, independent of
// the generator: little-endian integers, four-character codes stored as 32-bit
// integers, Pascal and C strings. Reading past the end throws, which fails the test.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvanthe::test {

class ResourceReader {
public:
    explicit ResourceReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    uint8_t u8() {
        need(1);
        return bytes_[at_++];
    }
    uint16_t u16() {
        const uint16_t low = u8();
        return uint16_t(low | (u8() << 8));
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | (uint32_t(u16()) << 16);
    }
    // A code such as '8BIM' read back as the text "8BIM".
    std::string code() {
        const uint32_t value = u32();
        return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    }
    std::string pascal_string() {
        const std::size_t length = u8();
        need(length);
        std::string text(bytes_.begin() + std::ptrdiff_t(at_), bytes_.begin() + std::ptrdiff_t(at_ + length));
        at_ += length;
        return text;
    }
    std::string c_string() {
        std::string text;
        for (char c = char(u8()); c != 0; c = char(u8())) text += c;
        return text;
    }
    std::vector<uint8_t> take(std::size_t count) {
        need(count);
        std::vector<uint8_t> part(bytes_.begin() + std::ptrdiff_t(at_), bytes_.begin() + std::ptrdiff_t(at_ + count));
        at_ += count;
        return part;
    }

    std::size_t offset() const { return at_; }
    bool at_end() const { return at_ == bytes_.size(); }

private:
    void need(std::size_t count) const {
        if (bytes_.size() - at_ < count) throw std::out_of_range("resource ends early");
    }

    const std::vector<uint8_t>& bytes_;
    std::size_t at_ = 0;
};

}  // namespace corvanthe::test
