#pragma once
// --set NAME=VALUE: one of the 49 parameters by scripting name or four-character key,
// with a value checked against the parameter's type.
#include <string>
#include <string_view>

#include "hosting/descriptor.h"
#include "settings/parameter_table.h"
#include "settings/sun_settings.h"

namespace corvanthe::cli {

struct SetOption {
    const ParameterInfo* parameter = nullptr;
    int32_t integer = 0;  // colour channel (0..255), slider, switch (0/1), enumerator (1..)
    double number = 0;    // the six floats
};

// Parses "NAME=VALUE". NAME: a scripting name (letter case and trailing blanks ignored)
// or a four-character key; VALUE: an integer for sliders, 0..255 for colour channels,
// 0/1/true/false for switches, a decimal for floats, a name or number for enumerations.
// On failure returns false with a message; an unknown name lists the valid ones.
bool parse_set_option(std::string_view text, SetOption& option, std::string& error);

// The value as the plug-in reads it from a descriptor, and as the record holds it.
hosting::DescriptorItem descriptor_item(const SetOption& option);
void apply_set_option(SunSettings& settings, const SetOption& option);

}  // namespace corvanthe::cli
