// The catalogue page's encodings and picture names over arbitrary bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/html_text.h"
#include "fuzz/fuzz_support.h"

using namespace corvanthe;

namespace {

bool is_letter_or_digit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The characters a caption stands for: those of the text when it is UTF-8 (checked
// against the well-formed byte sequences of the Unicode standard, table 3-7), else
// its bytes one by one.
std::vector<uint32_t> caption_characters(std::string_view in) {
    std::vector<uint32_t> characters;
    for (std::size_t i = 0; i < in.size();) {
        const auto byte = [&](std::size_t k) { return i + k < in.size() ? static_cast<unsigned char>(in[i + k]) : 0u; };
        const unsigned b0 = byte(0);
        const auto in_range = [&](std::size_t k, unsigned low, unsigned high) { return byte(k) >= low && byte(k) <= high; };
        std::size_t length = 0;
        if (b0 < 0x80) length = 1;
        else if (b0 >= 0xC2 && b0 <= 0xDF && in_range(1, 0x80, 0xBF)) length = 2;
        else if (b0 == 0xE0 && in_range(1, 0xA0, 0xBF) && in_range(2, 0x80, 0xBF)) length = 3;
        else if (((b0 >= 0xE1 && b0 <= 0xEC) || b0 == 0xEE || b0 == 0xEF) && in_range(1, 0x80, 0xBF) &&
                 in_range(2, 0x80, 0xBF)) length = 3;
        else if (b0 == 0xED && in_range(1, 0x80, 0x9F) && in_range(2, 0x80, 0xBF)) length = 3;
        else if (b0 == 0xF0 && in_range(1, 0x90, 0xBF) && in_range(2, 0x80, 0xBF) && in_range(3, 0x80, 0xBF)) length = 4;
        else if (b0 >= 0xF1 && b0 <= 0xF3 && in_range(1, 0x80, 0xBF) && in_range(2, 0x80, 0xBF) &&
                 in_range(3, 0x80, 0xBF)) length = 4;
        else if (b0 == 0xF4 && in_range(1, 0x80, 0x8F) && in_range(2, 0x80, 0xBF) && in_range(3, 0x80, 0xBF)) length = 4;
        if (length == 0) {
            characters.assign(in.begin(), in.end());
            for (uint32_t& c : characters) c &= 0xFF;
            return characters;
        }
        uint32_t c = length == 1 ? b0 : b0 & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) c = c << 6 | (byte(k) & 0x3F);
        characters.push_back(c);
        i += length;
    }
    return characters;
}

// Text escaping: the page stays ASCII, no raw markup character survives, every "&"
// opens a reference (a name, three decimal digits for 123..159, or the decimal value
// of a character beyond 255) closed by ";", and all of it reads back.
void check_text(std::string_view in) {
    const std::string out = escape_html_text(in);
    const std::vector<uint32_t> expected = caption_characters(in);
    std::size_t at = 0;
    for (std::size_t i = 0; i < out.size(); ++i, ++at) {
        const char c = out[i];
        FUZZ_CHECK(c != '<' && c != '>' && c != '"');
        FUZZ_CHECK(static_cast<unsigned char>(c) < 123);
        FUZZ_CHECK(at < expected.size());
        if (c != '&') {
            FUZZ_CHECK(expected[at] == static_cast<unsigned char>(c));
            continue;
        }
        const std::size_t end = out.find(';', i);
        FUZZ_CHECK(end != std::string::npos && end - i >= 3 && end - i <= 9);
        const std::string name = out.substr(i + 1, end - i - 1);
        if (name[0] == '#') {
            uint32_t value = 0;
            for (std::size_t k = 1; k < name.size(); ++k) {
                FUZZ_CHECK(name[k] >= '0' && name[k] <= '9');
                value = value * 10 + uint32_t(name[k] - '0');
            }
            FUZZ_CHECK(value <= 159 ? name.size() == 4 && value >= 123 : value >= 256 && name[1] != '0');
            FUZZ_CHECK(expected[at] == value);
        } else {
            for (char n : name) FUZZ_CHECK(is_letter_or_digit(n));
            // A markup character by its name, or one of the Latin-1 characters 160..255.
            const uint32_t markup = name == "quot" ? '"' : name == "amp" ? '&' : name == "lt" ? '<' : name == "gt" ? '>' : 0;
            FUZZ_CHECK(markup ? expected[at] == markup : expected[at] >= 160 && expected[at] <= 255);
        }
        i = end;
    }
    FUZZ_CHECK(at == expected.size());
}

// Source escaping: only letters, digits and "%", each "%" with two lower-case hex
// digits, and it reads back.
void check_src(std::string_view in) {
    const std::string out = escape_html_src(in);
    std::string decoded;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (is_letter_or_digit(c)) {
            decoded += c;
            continue;
        }
        FUZZ_CHECK(c == '%' && i + 2 < out.size());
        int value = 0;
        for (std::size_t k = 1; k <= 2; ++k) {
            const char h = out[i + k];
            FUZZ_CHECK((h >= '0' && h <= '9') || (h >= 'a' && h <= 'f'));
            value = value * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
        }
        FUZZ_CHECK(!is_letter_or_digit(static_cast<char>(value)));
        decoded += static_cast<char>(value);
        i += 2;
    }
    FUZZ_CHECK(decoded == in);
}

// Picture names stay in the picture folder: no separator, no drive colon, no control
// byte, nothing of the source's folder or extension.
void check_picture_name(std::string_view in) {
    const std::string name = picture_base_name(in);
    for (char c : name) {
        FUZZ_CHECK(c != '/' && c != '\\' && c != ':');
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32);
    }
    FUZZ_CHECK(name.size() <= in.size());
    // The name is a function of the last path component's stem only.
    const std::size_t slash = in.find_last_of("/\\");
    if (slash != std::string_view::npos) FUZZ_CHECK(picture_base_name(in.substr(slash + 1)) == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    check_text(in);
    check_src(in);
    check_picture_name(in);
    return 0;
}
