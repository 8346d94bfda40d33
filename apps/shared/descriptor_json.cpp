#include "apps/shared/descriptor_json.h"

#include <charconv>
#include <cmath>

#include "apps/shared/json_text.h"
#include "sdk/four_cc.h"
#include "settings/parameter_table.h"

namespace corvanthe::apps {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool parse(hosting::Descriptor& descriptor, std::string& error) {
        skip_blanks();
        if (!take('{')) return fail("a descriptor file holds one JSON object", error);
        skip_blanks();
        if (!take('}')) {
            for (;;) {
                if (!item(descriptor, error)) return false;
                skip_blanks();
                if (take('}')) break;
                if (!take(',')) return fail("expected \",\" or \"}\"", error);
                skip_blanks();
            }
        }
        skip_blanks();
        if (pos_ != text_.size()) return fail("text after the object", error);
        return true;
    }

private:
    bool fail(const std::string& message, std::string& error) {
        error = message + " at offset " + std::to_string(pos_);
        return false;
    }
    void skip_blanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool take_word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    // A string of single bytes: plain printable characters and the escapes the writer uses.
    bool string(std::string& out, std::string& error) {
        if (!take('"')) return fail("expected a string", error);
        for (;;) {
            if (pos_ >= text_.size()) return fail("unterminated string", error);
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string", error);
            if (c != '\\') {
                out += c;
            } else if (take('"') || take('\\') || take('/')) {
                out += text_[pos_ - 1];
            } else if (take('u')) {
                unsigned value = 0;
                const std::string_view digits = text_.substr(pos_, 4);
                const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
                if (digits.size() != 4 || ec != std::errc() || end != digits.data() + 4 || value > 0xFF)
                    return fail("unsupported escape", error);
                pos_ += 4;
                out += char(value);
            } else {
                return fail("unsupported escape", error);
            }
            if (out.size() > 64) return fail("string too long", error);
        }
    }

    // A JSON number's text (strict grammar); `integral` tells whether it has no fraction or exponent.
    bool number(std::string_view& out, bool& integral, std::string& error) {
        const std::size_t start = pos_;
        const auto digits = [this] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            return pos_ - from;
        };
        take('-');
        const std::size_t first = pos_;
        const std::size_t whole = digits();
        if (whole == 0 || (whole > 1 && text_[first] == '0')) return fail("malformed number", error);
        integral = true;
        if (take('.')) {
            integral = false;
            if (digits() == 0) return fail("malformed number", error);
        }
        if (take('e') || take('E')) {
            integral = false;
            if (!take('+')) take('-');
            if (digits() == 0) return fail("malformed number", error);
        }
        out = text_.substr(start, pos_ - start);
        return true;
    }

    bool item(hosting::Descriptor& descriptor, std::string& error) {
        std::string key;
        if (!string(key, error)) return false;
        const ParameterInfo* p = key.size() == 4 ? find_parameter(four_cc_code(key.c_str())) : nullptr;
        if (p == nullptr) return fail("unknown key \"" + key + "\"", error);
        if (descriptor.find(p->key) != nullptr) return fail("key \"" + key + "\" given twice", error);
        skip_blanks();
        if (!take(':')) return fail("expected \":\"", error);
        skip_blanks();
        switch (p->type) {
            case ParameterType::ColourChannel:
            case ParameterType::Integer: {
                std::string_view text;
                bool integral = false;
                if (!number(text, integral, error)) return false;
                int32_t value = 0;
                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
                if (!integral || ec != std::errc() || end != text.data() + text.size())
                    return fail("\"" + key + "\" takes a 32-bit integer", error);
                descriptor.put_integer(p->key, value);
                return true;
            }
            case ParameterType::Switch:
                if (take_word("true")) descriptor.put_boolean(p->key, true);
                else if (take_word("false")) descriptor.put_boolean(p->key, false);
                else return fail("\"" + key + "\" takes true or false", error);
                return true;
            case ParameterType::Float: {
                std::string_view text;
                bool integral = false;
                if (!number(text, integral, error)) return false;
                double value = 0;
                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
                if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
                    return fail("\"" + key + "\" takes a finite number", error);
                descriptor.put_float(p->key, value);
                return true;
            }
            case ParameterType::Enumeration: {
                std::string enumerator;
                if (!string(enumerator, error)) return false;
                if (enumerator.size() != 4) return fail("\"" + key + "\" takes a four-character enumerator", error);
                descriptor.put_enumerated(p->key, p->enum_type, four_cc_code(enumerator.c_str()));
                return true;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

bool descriptor_to_json(const hosting::Descriptor& descriptor, std::string& json, std::string& error) {
    std::string out = "{";
    for (const hosting::DescriptorItem& item : descriptor.items) {
        out += out.size() == 1 ? "\n  " : ",\n  ";
        put_json_string(out, four_cc_text(item.key));
        out += ": ";
        switch (item.kind) {
            case hosting::ItemKind::Integer: out += std::to_string(item.integer); break;
            case hosting::ItemKind::Boolean: out += item.integer != 0 ? "true" : "false"; break;
            case hosting::ItemKind::Float: {
                if (!put_json_number(out, item.number)) {
                    error = "\"" + four_cc_text(item.key) + "\" is not a finite number";
                    return false;
                }
                break;
            }
            case hosting::ItemKind::Enumerated: put_json_string(out, four_cc_text(item.value)); break;
            default:
                error = "\"" + four_cc_text(item.key) + "\" has a kind of value the JSON form does not carry";
                return false;
        }
    }
    out += out.size() == 1 ? "}\n" : "\n}\n";
    json = std::move(out);
    return true;
}

bool descriptor_from_json(std::string_view json, hosting::Descriptor& descriptor, std::string& error) {
    hosting::Descriptor read;
    if (!Reader(json).parse(read, error)) return false;
    descriptor = std::move(read);
    return true;
}

}  // namespace corvanthe::apps
