#include "apps/cli/info_command.h"

#include <cstdio>

#include "apps/cli/render_command.h"
#include "apps/shared/json_text.h"
#include "host/aete.h"
#include "host/pipl.h"
#include "sdk/four_cc.h"
#include "settings/parameter_table.h"

namespace corvanthe::cli {
namespace {

// The modes of the 'mode' property, from its top bit down.
constexpr const char* kModeNames[] = {"bitmap", "grayscale", "indexed", "RGB", "CMYK", "HSL", "HSB",
                                      "multichannel", "duotone", "Lab"};

std::vector<std::string> mode_names(uint16_t modes) {
    std::vector<std::string> names;
    for (std::size_t bit = 0; bit < std::size(kModeNames); ++bit)
        if (modes & (0x8000u >> bit)) names.push_back(kModeNames[bit]);
    return names;
}

std::string interface_version(uint32_t version) {
    return std::to_string(version >> 16) + "." + std::to_string(version & 0xFFFF);
}

std::string quoted(const std::string& text) {
    std::string out;
    apps::put_json_string(out, text);
    return out;
}

std::string code(uint32_t value) { return quoted(four_cc_text(value)); }

const hosting::TerminologySuite& suite(const PluginInfo& info) { return info.terminology.suites.front(); }
const hosting::TerminologyEvent& event(const PluginInfo& info) { return suite(info).events.front(); }

// The enumeration a parameter's type names, or null.
const hosting::TerminologyEnumeration* enumeration_of(const PluginInfo& info, uint32_t type) {
    for (const hosting::TerminologyEnumeration& e : suite(info).enumerations)
        if (e.type == type) return &e;
    return nullptr;
}

// A number as the settings table gives it: integers without a fraction.
// Whole numbers of up to ten digits (the seed's 32-bit range) in full, fractions as short as "%g".
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// The values a parameter takes and its default, as the settings table gives them;
// empty for a key the table does not know.
std::string values_text(const hosting::TerminologyParameter& parameter,
                        const hosting::TerminologyEnumeration* choices) {
    const ParameterInfo* p = find_parameter(parameter.key);
    if (p == nullptr) return "";
    if (choices != nullptr) {
        std::string out = ":";
        for (std::size_t i = 0; i < choices->enumerators.size(); ++i)
            out += (i == 0 ? " " : ", ") + std::to_string(i + 1) + " " + quoted(choices->enumerators[i].name);
        const int32_t chosen = int32_t(p->default_value);
        const char* name = enumerator_name(p->enum_type, chosen);
        return out + "; default " + std::to_string(chosen) + (name ? " " + quoted(name) : "");
    }
    if (p->type == ParameterType::Switch) return "  0 or 1, default " + number(p->default_value);
    return "  " + number(p->min) + ".." + number(p->max) + ", default " + number(p->default_value);
}

template <typename Item, typename Write>
std::string json_list(const std::vector<Item>& items, const char* separator, Write write) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i == 0 ? "" : separator) + write(items[i]);
    return out + "]";
}

}  // namespace

bool read_plugin_info(PluginInfo& info, std::string& error) {
    const std::vector<uint8_t> list32 = pipl_resource(EntryArchitecture::X86);
    const std::vector<uint8_t> list64 = pipl_resource(EntryArchitecture::X64);
    const std::vector<uint8_t> terms = aete_resource();
    const auto properties = hosting::read_pipl(list32.data(), list32.size());
    const auto properties64 = hosting::read_pipl(list64.data(), list64.size());
    const auto terminology = hosting::read_terminology(terms.data(), terms.size());
    if (!properties || !properties64) {
        error = "the plug-in's property list does not decode";
        return false;
    }
    if (!terminology || terminology->suites.size() != 1 || terminology->suites.front().events.size() != 1) {
        error = "the plug-in's terminology does not decode to one suite with one event";
        return false;
    }
    info.version = CORVANTHE_VERSION;
    info.properties = *properties;
    info.properties.entry_x64 = properties64->entry_x64;
    info.terminology = *terminology;
    return true;
}

std::string info_text(const PluginInfo& info) {
    const hosting::PluginProperties& p = info.properties;
    const hosting::TerminologyReference& t = p.terminology;
    std::string out = "corvanthe " + info.version + "\n\nplug-in properties (PIPL " +
                      std::to_string(kPropertyListResourceId) + ", " + std::to_string(p.property_count) +
                      " properties):\n";
    out += "  kind  " + four_cc_text(p.kind) + "\n  name  " + quoted(p.name) + "\n  catg  " + quoted(p.category) +
           "\n  vers  interface " + interface_version(p.interface_version) + "\n  wx86  " + p.entry_x86 +
           " (32-bit hosts)\n  8664  " + p.entry_x64 + " (64-bit hosts)\n";
    if (p.has_terminology)
        out += "  hstm  version " + std::to_string(t.version) + ", class " + four_cc_text(t.event_class) + ", event " +
               four_cc_text(t.event_id) + ", terminology " + std::to_string(t.resource_id) + ", scope " +
               quoted(t.scope) + "\n";
    char modes[8];
    std::snprintf(modes, sizeof modes, "0x%04x", unsigned(p.supported_modes));
    out += "  mode  " + std::string(modes);
    for (const std::string& name : mode_names(p.supported_modes)) out += " " + name;
    out += "\n";
    for (const std::string& condition : p.enable_conditions) out += "  enbl  " + quoted(condition) + "\n";
    for (std::size_t i = 0; i < p.filter_cases.size(); ++i) {
        const hosting::FilterCaseInfo& c = p.filter_cases[i];
        out += "  fici  case " + std::to_string(i + 1) + ": input " + std::to_string(c.input_handling) + ", output " +
               std::to_string(c.output_handling) + ", flags " + std::to_string(c.flags) + "\n";
    }

    const hosting::TerminologySuite& s = suite(info);
    const hosting::TerminologyEvent& e = event(info);
    out += "\nscripting terminology (AETE " + std::to_string(t.resource_id) + ", version " +
           std::to_string(info.terminology.major_version) + "." + std::to_string(info.terminology.minor_version) +
           "): suite " + quoted(s.vendor) + " " + quoted(s.description) + " (" + four_cc_text(s.id) + "), event " +
           quoted(e.name) + " " + quoted(e.description) + " (" + four_cc_text(e.event_class) + " " +
           four_cc_text(e.event_id) + ")\n";
    out += std::to_string(e.parameters.size()) + " parameters (key, type, name, values, default):\n";
    for (const hosting::TerminologyParameter& parameter : e.parameters)
        out += "  " + four_cc_text(parameter.key) + "  " + four_cc_text(parameter.type) + "  " +
               quoted(parameter.name) + values_text(parameter, enumeration_of(info, parameter.type)) + "\n";
    return out + "--set NAME=VALUE takes a key, or a name in any letter case with or without its trailing blanks.\n";
}

std::string info_json(const PluginInfo& info) {
    const hosting::PluginProperties& p = info.properties;
    const hosting::TerminologyReference& t = p.terminology;
    std::string out = "{\n  \"version\": " + quoted(info.version) + ",\n  \"properties\": {\n";
    out += "    \"kind\": " + code(p.kind) + ",\n    \"name\": " + quoted(p.name) + ",\n    \"category\": " +
           quoted(p.category) + ",\n    \"interface version\": " + quoted(interface_version(p.interface_version)) +
           ",\n    \"entry points\": {\"wx86\": " + quoted(p.entry_x86) + ", \"8664\": " + quoted(p.entry_x64) + "}";
    if (p.has_terminology)
        out += ",\n    \"terminology\": {\"version\": " + std::to_string(t.version) + ", \"class\": " +
               code(t.event_class) + ", \"event\": " + code(t.event_id) + ", \"resource id\": " +
               std::to_string(t.resource_id) + ", \"scope\": " + quoted(t.scope) + "}";
    out += ",\n    \"modes\": " + std::to_string(p.supported_modes) + ",\n    \"mode names\": " +
           json_list(mode_names(p.supported_modes), ", ", quoted) + ",\n    \"enable\": " +
           json_list(p.enable_conditions, ",\n      ", quoted) + ",\n    \"filter cases\": " +
           json_list(p.filter_cases, ",\n      ", [](const hosting::FilterCaseInfo& c) {
               return "{\"input\": " + std::to_string(c.input_handling) + ", \"output\": " +
                      std::to_string(c.output_handling) + ", \"flags\": " + std::to_string(c.flags) + "}";
           }) +
           "\n  },\n";

    const hosting::TerminologySuite& s = suite(info);
    const hosting::TerminologyEvent& e = event(info);
    out += "  \"terminology\": {\n    \"version\": " + quoted(std::to_string(info.terminology.major_version) + "." +
                                                           std::to_string(info.terminology.minor_version)) +
           ",\n    \"suite\": {\"vendor\": " + quoted(s.vendor) + ", \"description\": " + quoted(s.description) +
           ", \"id\": " + code(s.id) + "},\n    \"event\": {\"name\": " + quoted(e.name) + ", \"description\": " +
           quoted(e.description) + ", \"class\": " + code(e.event_class) + ", \"id\": " + code(e.event_id) +
           "},\n    \"parameters\": " +
           json_list(e.parameters, ",\n      ", [](const hosting::TerminologyParameter& parameter) {
               std::string out = "{\"name\": " + quoted(parameter.name) + ", \"key\": " + code(parameter.key) +
                                 ", \"type\": " + code(parameter.type) +
                                 ", \"flags\": " + std::to_string(parameter.flags);
               if (const ParameterInfo* p = find_parameter(parameter.key))
                   out += ", \"min\": " + number(p->min) + ", \"max\": " + number(p->max) +
                          ", \"default\": " + number(p->default_value);
               return out + "}";
           }) +
           ",\n    \"enumerations\": " +
           json_list(s.enumerations, ",\n      ", [](const hosting::TerminologyEnumeration& values) {
               return "{\"type\": " + code(values.type) + ", \"enumerators\": " +
                      json_list(values.enumerators, ", ", [](const hosting::TerminologyEnumerator& v) {
                          return "{\"key\": " + code(v.key) + ", \"name\": " + quoted(v.name) + "}";
                      }) +
                      "}";
           }) +
           "\n  }\n}\n";
    return out;
}

int run_info(bool json) {
    PluginInfo info;
    std::string error;
    if (!read_plugin_info(info, error)) {
        std::fprintf(stderr, "corvanthe: %s\n", error.c_str());
        return kExitFilterFailed;
    }
    std::fputs((json ? info_json(info) : info_text(info)).c_str(), stdout);
    return kExitSuccess;
}

}  // namespace corvanthe::cli
