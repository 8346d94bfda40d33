// The command line's --set NAME=VALUE parser over arbitrary text.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "apps/cli/set_option.h"
#include "fuzz/fuzz_support.h"

using namespace corvanthe;

namespace {

// The value as a user would type it back: integers and enumerators as numbers,
// floats with enough digits to give the same double.
std::string value_text(const cli::SetOption& option) {
    if (option.parameter->type != ParameterType::Float) return std::to_string(option.integer);
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", option.number);
    return text;
}

// An accepted option names a parameter and holds a value its type allows.
void check_accepted(const cli::SetOption& option) {
    FUZZ_CHECK(option.parameter != nullptr);
    const ParameterInfo& p = *option.parameter;
    switch (p.type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer: FUZZ_CHECK(option.integer >= p.min && option.integer <= p.max); break;
        case ParameterType::Switch: FUZZ_CHECK(option.integer == 0 || option.integer == 1); break;
        case ParameterType::Enumeration:
            FUZZ_CHECK(option.integer >= 1 && option.integer <= enumerator_count(p.enum_type));
            break;
        case ParameterType::Float:
            FUZZ_CHECK(std::isfinite(option.number));
            FUZZ_CHECK(std::fabs(option.number) <= double(std::numeric_limits<float>::max()));
            break;
    }
}

// What the plug-in would receive and what the record would hold agree with the option.
void check_delivery(const cli::SetOption& option) {
    const ParameterInfo& p = *option.parameter;
    const hosting::DescriptorItem item = cli::descriptor_item(option);
    FUZZ_CHECK(item.key == p.key);
    if (p.type == ParameterType::Enumeration)
        FUZZ_CHECK(enumerator_value(p.enum_type, item.value) == option.integer);

    SunSettings settings{};
    initialise(settings);
    cli::apply_set_option(settings, option);
    if (p.type == ParameterType::Float) FUZZ_CHECK(get_float(settings, p) == float(option.number));
    else FUZZ_CHECK(get_integer(settings, p) == option.integer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cli::SetOption option;
    std::string error;
    if (!cli::parse_set_option(text, option, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    check_accepted(option);
    check_delivery(option);

    // The same setting written back by key reads back to the same option.
    cli::SetOption again;
    const std::string canonical = four_cc_text(option.parameter->key) + "=" + value_text(option);
    FUZZ_CHECK(cli::parse_set_option(canonical, again, error));
    FUZZ_CHECK(again.parameter == option.parameter);
    FUZZ_CHECK(again.integer == option.integer && again.number == option.number);
    return 0;
}
