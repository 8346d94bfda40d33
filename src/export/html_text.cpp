#include "export/html_text.h"

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

}  // namespace

std::string escape_html_text(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "&quot;"; break;
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default:
                if (c >= 123 && c <= 159) {
                    out += "&#";
                    out += char('0' + c / 100);
                    out += char('0' + c / 10 % 10);
                    out += char('0' + c % 10);
                    out += ';';
                } else if (c >= 160) {
                    out += '&';
                    out += kLatin1Entities[c - 160];
                    out += ';';
                } else {
                    out += ch;
                }
        }
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

    std::string out;
    for (const char ch : source_name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        unsigned char safe = c;
        if (c < 32) {
            safe = ' ';
        } else if (c >= 128) {
            const unsigned char low = c & 0x7F;
            safe = low == 14 ? '_' : static_cast<unsigned char>(low + 32);
        }
        if (safe == '/' || safe == ':' || safe == '\\') safe = '_';
        out += static_cast<char>(safe);
    }
    return out;
}

}  // namespace corvanthe
