#include "apps/cli/preset_show.h"

#include <cstdio>

#include "apps/shared/json_text.h"
#include "settings/parameter_table.h"

namespace corvanthe::cli {
namespace {

// A float as the shortest decimal of its exact value (floats are always finite here:
// files hold them as scaled integers, and --set refuses others).
std::string number(float value) {
    std::string text;
    if (!apps::put_json_number(text, double(value))) text = "null";
    return text;
}

std::string json_colour(const Colour16& c) {
    return "[" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + "]";
}

std::string text_colour(const Colour16& c) {
    return std::to_string(c.red >> 8) + " " + std::to_string(c.green >> 8) + " " + std::to_string(c.blue >> 8) +
           "  (16-bit " + std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue) + ")";
}

std::string thumbnail_text(const ThumbnailBlock& t) {
    if (t.kind == 0) return "none";
    const std::string sides = std::to_string(t.width) + " x " + std::to_string(t.height);
    const std::string bytes = std::to_string(t.byte_count) + " bytes";
    return t.kind == 1 ? "JPEG " + sides + ", " + bytes : "kind " + std::to_string(t.kind) + " (skipped), " + bytes;
}

std::string value_text(const SunSettings& s, const ParameterInfo& p) {
    switch (p.type) {
        case ParameterType::Float: return number(get_float(s, p));
        case ParameterType::ColourChannel:
            return std::to_string(get_integer(s, p)) + "  (16-bit " + std::to_string(get_stored_integer(s, p)) + ")";
        case ParameterType::Enumeration: {
            const char* name = enumerator_name(p.enum_type, get_integer(s, p));
            return std::to_string(get_integer(s, p)) + (name ? std::string(" \"") + name + "\"" : " (unknown)");
        }
        default: return std::to_string(get_integer(s, p));
    }
}

void line(std::string& out, const std::string& label, const std::string& value) {
    char start[64];
    std::snprintf(start, sizeof start, "  %-26s ", label.c_str());
    out += start + value + "\n";
}

}  // namespace

std::string settings_json(const SunSettings& s, const SettingsFileLayout& layout) {
    std::string out = "{\n  \"version\": " + std::to_string(layout.version) + ",\n  \"parameters\": {";
    bool first = true;
    for (const ParameterInfo& p : kParameters) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        apps::put_json_string(out, four_cc_text(p.key));
        out += ": " + (p.type == ParameterType::Float ? number(get_float(s, p))
                                                      : std::to_string(get_stored_integer(s, p)));
    }
    const ThumbnailBlock& t = layout.thumbnail;
    out += "\n  },\n  \"colour 4\": " + json_colour(s.colour4) + ",\n  \"colour 5\": " + json_colour(s.colour5) +
           ",\n  \"flare Z\": " + number(s.flare_z) + ",\n  \"spike Z\": " + number(s.spike_z) +
           ",\n  \"thumbnail\": {\"kind\": " + std::to_string(t.kind) + ", \"width\": " + std::to_string(t.width) +
           ", \"height\": " + std::to_string(t.height) + "}\n}\n";
    return out;
}

std::string settings_text(const SunSettings& s, const SettingsFileLayout& layout) {
    std::string out = "settings file version " + std::to_string(layout.version) + ", thumbnail " +
                      thumbnail_text(layout.thumbnail) + "\n";
    for (const ParameterInfo& p : kParameters) line(out, std::string(p.name) + " (" + four_cc_text(p.key) + ")", value_text(s, p));
    line(out, "colour 4", text_colour(s.colour4));
    line(out, "colour 5", text_colour(s.colour5));
    line(out, "flare Z", number(s.flare_z));
    line(out, "spike Z", number(s.spike_z));
    return out;
}

}  // namespace corvanthe::cli
