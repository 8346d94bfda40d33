#include "apps/winhost/typed_descriptor.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "settings/parameter_table.h"

namespace corvanthe::winhost {

bool put_setting(hosting::Descriptor& descriptor, const std::string& setting, std::string& error) {
    const std::size_t equals = setting.find('=');
    const ParameterInfo* parameter =
        equals == 4 ? find_parameter(four_cc_code(setting.c_str())) : nullptr;
    if (!parameter) {
        error = "unknown setting " + setting;
        return false;
    }
    const std::string text = setting.substr(equals + 1);
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    const bool whole = number >= -2147483648.0 && number <= 2147483647.0 &&
                       number == std::trunc(number);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(number) ||
        (parameter->type != ParameterType::Float && !whole)) {
        error = "not a value for " + setting.substr(0, 4) + ": " + text;
        return false;
    }
    const int32_t value = whole ? int32_t(number) : 0;
    switch (parameter->type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer: descriptor.put_integer(parameter->key, value); break;
        case ParameterType::Switch: descriptor.put_boolean(parameter->key, value != 0); break;
        case ParameterType::Float: descriptor.put_float(parameter->key, number); break;
        case ParameterType::Enumeration:
            descriptor.put_enumerated(parameter->key, parameter->enum_type,
                                      enumerator_key(parameter->enum_type, value));
            break;
    }
    return true;
}

}  // namespace corvanthe::winhost
