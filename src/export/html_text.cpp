#include "export/html_text.h"

#include <cstdint>
#include <vector>

namespace corvanthe {
namespace {

// HTML 4 names of the ISO-8859-1 characters 160..255.
constexpr const char* kLatin1Entities[96] = {
    "nbsp",   "iexcl", "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",   "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil", "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc", "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc", "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",  "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc", "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc", "uuml",   "yacute", "thorn",  "yuml",
};

bool is_letter_or_digit(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The characters of a UTF-8 text; false when the bytes are not UTF-8 (overlong forms,
// surrogates and values beyond U+10FFFF are not).
bool decode_utf8(std::string_view bytes, std::vector<char32_t>& characters) {
    characters.clear();
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || bytes.size() - i < std::size_t(length)) return false;
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) return false;
            c = c << 6 | (next & 0x3Fu);
        }
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        characters.push_back(c);
        i += std::size_t(length);
    }
    return true;
}

// One character of a caption: markup characters by name, 123..159 as three-digit
// references, 160..255 by their HTML 4 names, beyond as decimal references.
void escape_character(char32_t c, std::string& out) {
    switch (c) {
        case '"': out += "&quot;"; return;
        case '&': out += "&amp;"; return;
        case '<': out += "&lt;"; return;
        case '>': out += "&gt;"; return;
        default: break;
    }
    if (c < 123) {
        out += static_cast<char>(c);
    } else if (c <= 159) {
        out += "&#";
        out += char('0' + c / 100);
        out += char('0' + c / 10 % 10);
        out += char('0' + c % 10);
        out += ';';
    } else if (c <= 255) {
        out += '&';
        out += kLatin1Entities[c - 160];
        out += ';';
    } else {
        out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
}

}  // namespace

std::string escape_html_text(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::vector<char32_t> characters;
    if (decode_utf8(bytes, characters)) {
        for (const char32_t c : characters) escape_character(c, out);
    } else {
        for (const char ch : bytes) escape_character(static_cast<unsigned char>(ch), out);
    }
    return out;
}

std::string escape_html_src(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (is_letter_or_digit(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string picture_base_name(std::string_view source_name) {
    const std::size_t slash = source_name.find_last_of("/\\");
    if (slash != std::string_view::npos) source_name.remove_prefix(slash + 1);
    const std::size_t dot = source_name.rfind('.');
    if (dot != std::string_view::npos) source_name = source_name.substr(0, dot);

    std::vector<char32_t> characters;
    const bool utf8 = decode_utf8(source_name, characters);
    std::string out;
    for (const char ch : source_name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        unsigned char safe = c;
        if (c < 32) {
            safe = ' ';
        } else if (c >= 128 && !utf8) {
            const unsigned char low = c & 0x7F;
            safe = low == 14 ? '_' : static_cast<unsigned char>(low + 32);
        }
        if (safe == '/' || safe == ':' || safe == '\\') safe = '_';
        out += static_cast<char>(safe);
    }
    return out;
}

}  // namespace corvanthe
