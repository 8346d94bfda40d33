// The catalogue page's encodings and picture names over arbitrary bytes.
#include <string>
#include <string_view>

#include "export/html_text.h"
#include "fuzz/fuzz_support.h"

using namespace corvanthe;

namespace {

bool is_letter_or_digit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Text escaping: no raw markup character survives, every "&" opens a reference
// (a name or three decimal digits) closed by ";", and all of it reads back.
void check_text(std::string_view in) {
    const std::string out = escape_html_text(in);
    std::string decoded;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        FUZZ_CHECK(c != '<' && c != '>' && c != '"');
        FUZZ_CHECK(static_cast<unsigned char>(c) < 123 || static_cast<unsigned char>(c) > 255);
        if (c != '&') {
            decoded += c;
            continue;
        }
        const std::size_t end = out.find(';', i);
        FUZZ_CHECK(end != std::string::npos && end - i >= 3 && end - i <= 8);
        const std::string name = out.substr(i + 1, end - i - 1);
        if (name[0] == '#') {
            FUZZ_CHECK(name.size() == 4);
            int value = 0;
            for (std::size_t k = 1; k < 4; ++k) {
                FUZZ_CHECK(name[k] >= '0' && name[k] <= '9');
                value = value * 10 + (name[k] - '0');
            }
            FUZZ_CHECK(value >= 123 && value <= 159);
            decoded += static_cast<char>(value);
        } else {
            for (char n : name) FUZZ_CHECK(is_letter_or_digit(n));
            // A markup character by its name, or one of the Latin-1 characters 160..255.
            const std::size_t at = decoded.size();
            FUZZ_CHECK(at < in.size());
            const char markup = name == "quot" ? '"' : name == "amp" ? '&' : name == "lt" ? '<' : name == "gt" ? '>' : 0;
            FUZZ_CHECK(markup ? in[at] == markup : static_cast<unsigned char>(in[at]) >= 160);
            decoded += in[at];
        }
        i = end;
    }
    FUZZ_CHECK(decoded == in);
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
