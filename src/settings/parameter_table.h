#pragma once
// The one table of the 49 parameters: scripting name, key, type, default and dialog
// range. Reset, scripting, the resources and the command line all read it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "sdk/four_cc.h"
#include "settings/sun_settings.h"

namespace corvanthe {

enum class ParameterType {
    ColourChannel,  // 16-bit channel; scripting carries the high byte
    Integer,        // slider
    Switch,         // 0 or 1; scripting carries a boolean
    Float,
    Enumeration,    // sun type (suty) or glue (sgty), counted from 1
};

struct ParameterInfo {
    const char* name;       // scripting name, exactly as the terminology gives it
    uint32_t key;           // four-character scripting key
    ParameterType type;
    uint32_t enum_type;     // 'suty' or 'sgty' for enumerations, else 0
    double default_value;   // 8-bit value for colour channels
    int32_t min;            // dialog range (colour channels 0..255; the random seed any integer)
    int32_t max;
    std::size_t offset;     // field within SunSettings
};

constexpr int kParameterCount = 49;
extern const std::array<ParameterInfo, kParameterCount> kParameters;

constexpr uint32_t kSunTypeEnum = four_cc("suty");
constexpr uint32_t kGlueEnum = four_cc("sgty");
constexpr uint32_t kSunTypeKey = four_cc("suky");
constexpr uint32_t kGlueKey = four_cc("sgky");

const ParameterInfo* find_parameter(uint32_t key);
// Letter case and trailing blanks are ignored ("Spike detail" finds "spike detail ").
const ParameterInfo* find_parameter_by_name(std::string_view name);

// Integer view: colour channels give their high byte, the rest their value.
int32_t get_integer(const SunSettings& s, const ParameterInfo& p);
// The stored value as files hold it: colour channels their 16-bit value, the rest
// as get_integer (floats cut toward zero).
int32_t get_stored_integer(const SunSettings& s, const ParameterInfo& p);
// Colour channels store v << 8 kept to 16 bits; floats take the value converted.
void set_integer(SunSettings& s, const ParameterInfo& p, int32_t value);
float get_float(const SunSettings& s, const ParameterInfo& p);
void set_float(SunSettings& s, const ParameterInfo& p, float value);

// Enumerations: names of the enumerators of 'suty' (3) and 'sgty' (19).
int enumerator_count(uint32_t enum_type);
const char* enumerator_name(uint32_t enum_type, int32_t value);  // null when out of range
// 'su01'..'su03', 'sg01'..'sg19'; an out-of-range value gives "<NO>".
uint32_t enumerator_key(uint32_t enum_type, int32_t value);
// The inverse; an unknown type or enumerator gives nullopt (the caller stores 0).
std::optional<int32_t> enumerator_value(uint32_t enum_type, uint32_t enumerator);

}  // namespace corvanthe
