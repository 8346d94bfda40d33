#include "settings/parameter_table.h"

#include <cctype>
#include <cstring>

namespace corvanthe {
namespace {

using T = ParameterType;

constexpr std::size_t channel(std::size_t colour, int index) {
    return colour + std::size_t(index) * sizeof(uint16_t);
}

#define FIELD(member) offsetof(SunSettings, member)

}  // namespace

const std::array<ParameterInfo, kParameterCount> kParameters = {{
    {"sun red", four_cc("0001"), T::ColourChannel, 0, 142, 0, 255, channel(FIELD(sun_colour), 0)},
    {"sun green", four_cc("0002"), T::ColourChannel, 0, 135, 0, 255, channel(FIELD(sun_colour), 1)},
    {"sun blue", four_cc("0003"), T::ColourChannel, 0, 191, 0, 255, channel(FIELD(sun_colour), 2)},
    {"flare red", four_cc("0004"), T::ColourChannel, 0, 185, 0, 255, channel(FIELD(flare_colour), 0)},
    {"flare green", four_cc("0005"), T::ColourChannel, 0, 158, 0, 255, channel(FIELD(flare_colour), 1)},
    {"flare blue", four_cc("0006"), T::ColourChannel, 0, 58, 0, 255, channel(FIELD(flare_colour), 2)},
    {"halo red", four_cc("0007"), T::ColourChannel, 0, 207, 0, 255, channel(FIELD(halo_colour), 0)},
    {"halo green", four_cc("0008"), T::ColourChannel, 0, 151, 0, 255, channel(FIELD(halo_colour), 1)},
    {"halo blue", four_cc("0009"), T::ColourChannel, 0, 64, 0, 255, channel(FIELD(halo_colour), 2)},
    {"spike brightness", four_cc("0010"), T::Integer, 0, 61, 0, 100, FIELD(spike_brightness)},
    {"spike width", four_cc("0011"), T::Integer, 0, 52, 0, 100, FIELD(spike_width)},
    {"spike radius", four_cc("0012"), T::Integer, 0, 77, 0, 100, FIELD(spike_radius)},
    {"spike count", four_cc("0013"), T::Integer, 0, 94, 0, 100, FIELD(spike_count)},
    {"sun radius", four_cc("0014"), T::Integer, 0, 38, 0, 100, FIELD(sun_radius)},
    {"sun cold/hot", four_cc("0015"), T::Integer, 0, 0, 0, 100, FIELD(sun_cold_hot)},
    {"sun smear", four_cc("0016"), T::Integer, 0, 24, 0, 100, FIELD(sun_smear)},
    {"sun swirl size", four_cc("0017"), T::Integer, 0, 30, 0, 100, FIELD(sun_swirl_size)},
    {"sun swirl count", four_cc("0018"), T::Integer, 0, 26, 0, 100, FIELD(sun_swirl_count)},
    {"sun detail", four_cc("0019"), T::Integer, 0, 83, 0, 100, FIELD(sun_detail)},
    {"spike gamma", four_cc("0020"), T::Integer, 0, 51, 0, 100, FIELD(spike_gamma)},
    {"vortices", four_cc("0021"), T::Switch, 0, 1, 0, 1, FIELD(vortices)},
    {"monopoles", four_cc("0022"), T::Switch, 0, 0, 0, 1, FIELD(monopoles)},
    {"halo radius", four_cc("0023"), T::Integer, 0, 67, 0, 100, FIELD(halo_radius)},
    {"halo brightness", four_cc("0024"), T::Integer, 0, 99, 0, 100, FIELD(halo_brightness)},
    {"bow radius", four_cc("0025"), T::Integer, 0, 35, 0, 100, FIELD(bow_radius)},
    {"bow width", four_cc("0026"), T::Integer, 0, 72, 0, 100, FIELD(bow_width)},
    {"bow brightness", four_cc("0027"), T::Integer, 0, 42, 0, 100, FIELD(bow_brightness)},
    {"flare width", four_cc("0028"), T::Integer, 0, 49, 0, 100, FIELD(flare_width)},
    {"flare count", four_cc("0029"), T::Integer, 0, 45, 0, 100, FIELD(flare_count)},
    {"spike red", four_cc("0030"), T::ColourChannel, 0, 191, 0, 255, channel(FIELD(spike_colour), 0)},
    {"spike green", four_cc("0031"), T::ColourChannel, 0, 153, 0, 255, channel(FIELD(spike_colour), 1)},
    {"spike blue", four_cc("0032"), T::ColourChannel, 0, 88, 0, 255, channel(FIELD(spike_colour), 2)},
    {"bow smear", four_cc("0033"), T::Integer, 0, 94, 0, 100, FIELD(bow_smear)},
    {"flare radius", four_cc("0034"), T::Integer, 0, 47, 0, 100, FIELD(flare_radius)},
    {"sun type", kSunTypeKey, T::Enumeration, kSunTypeEnum, 1, 1, 3, FIELD(sun_type)},
    {"glue", kGlueKey, T::Enumeration, kGlueEnum, 1, 1, 19, FIELD(glue)},
    {"master brightness", four_cc("0037"), T::Integer, 0, 30, 0, 100, FIELD(master_brightness)},
    {"flare detail", four_cc("0038"), T::Integer, 0, 25, 0, 100, FIELD(flare_detail)},
    {"flip bow", four_cc("0039"), T::Switch, 0, 1, 0, 1, FIELD(flip_bow)},
    {"spike diffraction", four_cc("0040"), T::Integer, 0, 25, 0, 100, FIELD(spike_diffraction)},
    {"spike detail ", four_cc("0041"), T::Integer, 0, 33, 0, 100, FIELD(spike_detail)},
    {"flare X", four_cc("0042"), T::Float, 0, -0.3, -1, 1, FIELD(flare_x)},
    {"flare Y", four_cc("0043"), T::Float, 0, -0.18, -1, 1, FIELD(flare_y)},
    {"spike X", four_cc("0045"), T::Float, 0, 0, -1, 1, FIELD(spike_x)},
    {"spike Y", four_cc("0046"), T::Float, 0, 0, -1, 1, FIELD(spike_y)},
    // Any seed draws a sun (Dice draws 0..2047); files and descriptors hold any 32-bit integer.
    {"random seed", four_cc("0048"), T::Integer, 0, 203, INT32_MIN, INT32_MAX, FIELD(random_seed)},
    {"flare brightness", four_cc("0049"), T::Integer, 0, 50, 0, 100, FIELD(flare_brightness)},
    {"X center", four_cc("0050"), T::Float, 0, 0.65, 0, 1, FIELD(x_center)},
    {"Y center", four_cc("0051"), T::Float, 0, 0.5, 0, 1, FIELD(y_center)},
}};

#undef FIELD

namespace {

template <typename Value>
Value* field(SunSettings& s, const ParameterInfo& p) {
    return reinterpret_cast<Value*>(reinterpret_cast<unsigned char*>(&s) + p.offset);
}

template <typename Value>
const Value* field(const SunSettings& s, const ParameterInfo& p) {
    return reinterpret_cast<const Value*>(reinterpret_cast<const unsigned char*>(&s) + p.offset);
}

constexpr const char* kSunTypeNames[] = {"normal", "flat", "eclipse"};
constexpr const char* kGlueNames[] = {
    "normal",   "procedural +", "procedural -", "difference", "lighten",
    "darken",   "add",          "subtract",     "multiply",   "screen",
    "composite", "hard light",  "overlay",      "superlay",   "exclusion",
    "color",    "luminance",    "linear light", "pin light",
};

// Enumerator keys are a two-letter prefix and a two-digit number: su01, sg19.
uint32_t enumerator_prefix(uint32_t enum_type) {
    if (enum_type == kSunTypeEnum) return four_cc("su00") & 0xFFFF0000u;
    if (enum_type == kGlueEnum) return four_cc("sg00") & 0xFFFF0000u;
    return 0;
}

}  // namespace

const ParameterInfo* find_parameter(uint32_t key) {
    for (const ParameterInfo& p : kParameters)
        if (p.key == key) return &p;
    return nullptr;
}

const ParameterInfo* find_parameter_by_name(std::string_view name) {
    auto trimmed = [](std::string_view text) {
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        return text;
    };
    const std::string_view wanted = trimmed(name);
    for (const ParameterInfo& p : kParameters) {
        const std::string_view candidate = trimmed(p.name);
        if (candidate.size() != wanted.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < wanted.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(candidate[i])) ==
                   std::tolower(static_cast<unsigned char>(wanted[i]));
        if (same) return &p;
    }
    return nullptr;
}

int32_t get_integer(const SunSettings& s, const ParameterInfo& p) {
    switch (p.type) {
        case T::ColourChannel: return *field<uint16_t>(s, p) >> 8;
        case T::Float: return static_cast<int32_t>(*field<float>(s, p));
        default: return *field<int32_t>(s, p);
    }
}

int32_t get_stored_integer(const SunSettings& s, const ParameterInfo& p) {
    return p.type == T::ColourChannel ? *field<uint16_t>(s, p) : get_integer(s, p);
}

void set_integer(SunSettings& s, const ParameterInfo& p, int32_t value) {
    switch (p.type) {
        case T::ColourChannel:
            *field<uint16_t>(s, p) = static_cast<uint16_t>(static_cast<uint32_t>(value) << 8);
            break;
        case T::Float: *field<float>(s, p) = static_cast<float>(value); break;
        default: *field<int32_t>(s, p) = value; break;
    }
}

float get_float(const SunSettings& s, const ParameterInfo& p) {
    return p.type == T::Float ? *field<float>(s, p) : static_cast<float>(get_integer(s, p));
}

void set_float(SunSettings& s, const ParameterInfo& p, float value) {
    if (p.type == T::Float)
        *field<float>(s, p) = value;
    else
        set_integer(s, p, static_cast<int32_t>(value));
}

int enumerator_count(uint32_t enum_type) {
    if (enum_type == kSunTypeEnum) return 3;
    if (enum_type == kGlueEnum) return 19;
    return 0;
}

const char* enumerator_name(uint32_t enum_type, int32_t value) {
    if (value < 1 || value > enumerator_count(enum_type)) return nullptr;
    return enum_type == kSunTypeEnum ? kSunTypeNames[value - 1] : kGlueNames[value - 1];
}

uint32_t enumerator_key(uint32_t enum_type, int32_t value) {
    if (value < 1 || value > enumerator_count(enum_type)) return four_cc("<NO>");
    return enumerator_prefix(enum_type) | (uint32_t('0' + value / 10) << 8) | uint32_t('0' + value % 10);
}

std::optional<int32_t> enumerator_value(uint32_t enum_type, uint32_t enumerator) {
    const uint32_t prefix = enumerator_prefix(enum_type);
    if (prefix == 0 || (enumerator & 0xFFFF0000u) != prefix) return std::nullopt;
    const int tens = int((enumerator >> 8) & 0xFF) - '0';
    const int units = int(enumerator & 0xFF) - '0';
    if (tens < 0 || tens > 9 || units < 0 || units > 9) return std::nullopt;
    const int32_t value = tens * 10 + units;
    if (value < 1 || value > enumerator_count(enum_type)) return std::nullopt;
    return value;
}

}  // namespace corvanthe
