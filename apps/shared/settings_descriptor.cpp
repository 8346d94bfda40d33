#include "apps/shared/settings_descriptor.h"

#include "settings/parameter_table.h"

namespace corvanthe::apps {

hosting::Descriptor settings_descriptor(const SunSettings& settings) {
    hosting::Descriptor descriptor;
    for (const ParameterInfo& p : kParameters) {
        switch (p.type) {
            case ParameterType::ColourChannel:
            case ParameterType::Integer: descriptor.put_integer(p.key, get_integer(settings, p)); break;
            case ParameterType::Switch: descriptor.put_boolean(p.key, get_integer(settings, p) != 0); break;
            case ParameterType::Float: descriptor.put_float(p.key, get_float(settings, p)); break;
            case ParameterType::Enumeration:
                descriptor.put_enumerated(p.key, p.enum_type, enumerator_key(p.enum_type, get_integer(settings, p)));
                break;
        }
    }
    return descriptor;
}

}  // namespace corvanthe::apps
