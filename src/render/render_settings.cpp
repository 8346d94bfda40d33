#include "render/render_settings.h"

#include <cmath>

#include "render/integer_math.h"
#include "settings/parameter_table.h"

namespace corvanthe {

SunSettings settings_in_range(const SunSettings& s) {
    SunSettings r = s;
    for (const ParameterInfo& p : kParameters) {
        switch (p.type) {
        case ParameterType::Integer:
        case ParameterType::Enumeration:
            set_integer(r, p, clamp_to(get_integer(r, p), p.min, p.max));
            break;
        case ParameterType::Switch:
            set_integer(r, p, get_integer(r, p) != 0 ? 1 : 0);
            break;
        case ParameterType::Float:
            if (!std::isfinite(get_float(r, p))) set_float(r, p, 0.0f);
            break;
        case ParameterType::ColourChannel:
            break;  // every 16-bit value is a colour
        }
    }
    return r;
}

}  // namespace corvanthe
