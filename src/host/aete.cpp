#include "host/aete.h"

#include <iterator>

#include "host/resource_bytes.h"
#include "settings/parameter_table.h"

namespace corvanthe {
namespace {

constexpr uint16_t kOptionalParameter = 0x8000;
constexpr uint16_t kEnumeratedParameter = 0x2000;
constexpr uint16_t kDirectParameterFlags = 0xb000;  // optional, direct image reference
constexpr uint32_t kEnumerations[] = {kSunTypeEnum, kGlueEnum};

uint32_t terminology_type(const ParameterInfo& p) {
    switch (p.type) {
        case ParameterType::Float: return four_cc("doub");
        case ParameterType::Enumeration: return p.enum_type;
        default: return four_cc("long");  // colour channels, sliders and switches
    }
}

void enumeration(ResourceBytes& out, uint32_t enum_type) {
    out.u32(enum_type);
    const int count = enumerator_count(enum_type);
    out.u16(uint16_t(count));
    for (int value = 1; value <= count; ++value) {
        const char* name = enumerator_name(enum_type, value);
        out.pascal_string(name);
        out.u32(enumerator_key(enum_type, value));
        out.pascal_string(name);
    }
}

}  // namespace

std::vector<uint8_t> aete_resource() {
    ResourceBytes out;
    out.u16(1);  // prelude that Windows hosts skip
    out.u8(1);   // version 1.0: major, minor
    out.u8(0);
    out.u16(0);  // language
    out.u16(0);  // script
    out.u16(1);  // suites

    out.pascal_string(kVendorName);
    out.pascal_string(kPluginName);
    out.u32(kSuiteId);
    out.u16(1);  // level
    out.u16(1);  // version
    out.u16(1);  // events

    out.pascal_string(kPluginName);
    out.pascal_string(kPluginDescription);
    out.u32(kEventClass);
    out.u32(kEventId);
    out.u32(four_cc("null"));  // no reply
    out.pascal_string("");
    out.u16(0);
    out.u32(four_cc("#ImR"));  // the direct parameter: the image
    out.pascal_string("");
    out.u16(kDirectParameterFlags);

    out.u16(uint16_t(kParameters.size()));
    for (const ParameterInfo& p : kParameters) {
        out.pascal_string(p.name);
        out.u32(p.key);
        out.u32(terminology_type(p));
        out.pascal_string(p.name);
        const bool enumerated = p.type == ParameterType::Enumeration;
        out.u16(enumerated ? kOptionalParameter | kEnumeratedParameter : kOptionalParameter);
    }

    out.u16(0);  // classes
    out.u16(0);  // comparison operators
    out.u16(uint16_t(std::size(kEnumerations)));
    for (uint32_t enum_type : kEnumerations) enumeration(out, enum_type);
    return out.take();
}

}  // namespace corvanthe
