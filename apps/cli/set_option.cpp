#include "apps/cli/set_option.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace corvanthe::cli {
namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool same_name(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The whole text as a decimal integer (an optional minus sign, then digits).
bool parse_integer(std::string_view text, int32_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parse_decimal(std::string_view text, double& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value) &&
           std::fabs(value) <= double(std::numeric_limits<float>::max());
}

std::string valid_names() {
    std::string names;
    for (const ParameterInfo& p : kParameters) {
        if (!names.empty()) names += ", ";
        names += "\"" + std::string(trim(p.name)) + "\" (" + four_cc_text(p.key) + ")";
    }
    return names;
}

std::string enumerator_names(uint32_t enum_type) {
    std::string names;
    for (int v = 1; v <= enumerator_count(enum_type); ++v) {
        if (!names.empty()) names += ", ";
        names += std::to_string(v) + " \"" + enumerator_name(enum_type, v) + "\"";
    }
    return names;
}

const ParameterInfo* find_named(std::string_view name) {
    if (const ParameterInfo* p = find_parameter_by_name(name)) return p;
    if (name.size() == 4) return find_parameter(four_cc_code(std::string(name).c_str()));
    return nullptr;
}

bool parse_value(const ParameterInfo& p, std::string_view text, SetOption& option, std::string& error) {
    const std::string name = std::string(trim(p.name));
    const std::string quoted = "\"" + std::string(text) + "\"";
    switch (p.type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer:
            if (!parse_integer(text, option.integer)) {
                error = name + " takes an integer, not " + quoted;
                return false;
            }
            if (option.integer < p.min || option.integer > p.max) {
                error = name + " takes " + std::to_string(p.min) + ".." + std::to_string(p.max) + ", not " +
                        quoted;
                return false;
            }
            return true;
        case ParameterType::Switch:
            if (text == "0" || same_name(text, "false")) option.integer = 0;
            else if (text == "1" || same_name(text, "true")) option.integer = 1;
            else {
                error = name + " takes 0, 1, true or false, not " + quoted;
                return false;
            }
            return true;
        case ParameterType::Float:
            if (!parse_decimal(text, option.number)) {
                error = name + " takes a decimal number, not " + quoted;
                return false;
            }
            return true;
        case ParameterType::Enumeration: {
            const int count = enumerator_count(p.enum_type);
            if (parse_integer(text, option.integer)) {
                if (option.integer >= 1 && option.integer <= count) return true;
            } else {
                for (int v = 1; v <= count; ++v) {
                    if (same_name(text, enumerator_name(p.enum_type, v))) {
                        option.integer = v;
                        return true;
                    }
                }
            }
            error = name + " takes one of " + enumerator_names(p.enum_type) + "; not " + quoted;
            return false;
        }
    }
    return false;
}

}  // namespace

bool parse_set_option(std::string_view text, SetOption& option, std::string& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error = "--set takes NAME=VALUE, not \"" + std::string(text) + "\"";
        return false;
    }
    const std::string_view name = text.substr(0, equals);
    option = SetOption{};
    option.parameter = find_named(name);
    if (option.parameter == nullptr) {
        error = "unknown parameter \"" + std::string(name) + "\"; the parameters are " + valid_names();
        return false;
    }
    return parse_value(*option.parameter, trim(text.substr(equals + 1)), option, error);
}

hosting::DescriptorItem descriptor_item(const SetOption& option) {
    const ParameterInfo& p = *option.parameter;
    hosting::DescriptorItem item;
    item.key = p.key;
    switch (p.type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer: item.kind = hosting::ItemKind::Integer; item.integer = option.integer; break;
        case ParameterType::Switch: item.kind = hosting::ItemKind::Boolean; item.integer = option.integer; break;
        case ParameterType::Float: item.kind = hosting::ItemKind::Float; item.number = option.number; break;
        case ParameterType::Enumeration:
            item.kind = hosting::ItemKind::Enumerated;
            item.type = p.enum_type;
            item.value = enumerator_key(p.enum_type, option.integer);
            break;
    }
    return item;
}

void apply_set_option(SunSettings& settings, const SetOption& option) {
    if (option.parameter->type == ParameterType::Float) {
        set_float(settings, *option.parameter, float(option.number));
    } else {
        set_integer(settings, *option.parameter, option.integer);
    }
}

}  // namespace corvanthe::cli
