#include "hosting/pipl_reader.h"

#include <cstring>

#include "sdk/four_cc.h"

namespace corvanthe::hosting {
namespace {

constexpr std::size_t kPreludeBytes = 2;
constexpr std::size_t kHeaderBytes = 16;  // vendor, key, id, length

uint32_t u32_at(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::optional<std::string> pascal_string(const uint8_t* data, std::size_t length) {
    if (length < 1 || data[0] > length - 1) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(data + 1), data[0]);
}

std::optional<std::string> c_string(const uint8_t* data, std::size_t length) {
    const void* end = std::memchr(data, 0, length);
    if (!end) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(data), static_cast<const uint8_t*>(end) - data);
}

// Stores one property's value; false when its data is malformed.
bool take(PluginProperties& out, uint32_t key, const uint8_t* data, std::size_t length) {
    std::optional<std::string> text;
    switch (key) {
        case four_cc("kind"):
            if (length < 4) return false;
            out.kind = u32_at(data);
            return true;
        case four_cc("vers"):
            if (length < 4) return false;
            out.interface_version = u32_at(data);
            return true;
        case four_cc("name"):
            if (!(text = pascal_string(data, length))) return false;
            out.name = *text;
            return true;
        case four_cc("catg"):
            if (!(text = pascal_string(data, length))) return false;
            out.category = *text;
            return true;
        case four_cc("wx86"):
            if (!(text = c_string(data, length))) return false;
            out.entry_x86 = *text;
            return true;
        case four_cc("8664"):
            if (!(text = c_string(data, length))) return false;
            out.entry_x64 = *text;
            return true;
        case four_cc("hstm"): {
            constexpr std::size_t kFixed = 14;  // version, class, event, resource id
            if (length < kFixed || !(text = c_string(data + kFixed, length - kFixed))) return false;
            out.has_terminology = true;
            out.terminology = {u32_at(data), u32_at(data + 4), u32_at(data + 8),
                               int16_t(uint16_t(data[12] | data[13] << 8)), *text};
            return true;
        }
        case four_cc("mode"):
            if (length < 2) return false;
            out.supported_modes = uint16_t(data[0] << 8 | data[1]);  // a bit set, first byte first
            return true;
        case four_cc("enbl"):
            if (!(text = c_string(data, length))) return false;
            out.enable_conditions.push_back(*text);
            return true;
        case four_cc("fici"):
            out.filter_cases.clear();
            for (std::size_t at = 0; at + 4 <= length; at += 4)
                out.filter_cases.push_back({data[at], data[at + 1], data[at + 2], data[at + 3]});
            return true;
        default:
            return true;  // other properties are passed over
    }
}

}  // namespace

std::optional<PluginProperties> read_pipl(const uint8_t* bytes, std::size_t size) {
    if (!bytes || size < kPreludeBytes + 8) return std::nullopt;
    const uint8_t* p = bytes + kPreludeBytes;
    std::size_t left = size - kPreludeBytes;
    if (u32_at(p) != 0) return std::nullopt;  // list version
    const uint32_t count = u32_at(p + 4);
    p += 8;
    left -= 8;
    PluginProperties out;
    for (uint32_t i = 0; i < count; ++i) {
        if (left < kHeaderBytes) return std::nullopt;
        const uint32_t key = u32_at(p + 4);
        const uint32_t length = u32_at(p + 12);
        p += kHeaderBytes;
        left -= kHeaderBytes;
        if (length > left) return std::nullopt;
        // Data is padded to four bytes; a last property without its padding still ends the list.
        const std::size_t padded = (std::size_t(length) + 3) & ~std::size_t(3);
        if (!take(out, key, p, length)) return std::nullopt;
        const std::size_t step = padded <= left ? padded : length;
        p += step;
        left -= step;
        ++out.property_count;
    }
    return out;
}

const std::string& native_entry(const PluginProperties& properties) {
    return sizeof(void*) == 8 ? properties.entry_x64 : properties.entry_x86;
}

}  // namespace corvanthe::hosting
