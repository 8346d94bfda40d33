#pragma once
// Reading a plug-in's property list the way a Windows host does: the resource bytes
// start with a two-byte prelude, then the list version, the property count and the
// properties (vendor, key, id, length, data padded to four bytes), integers in the
// machine's little-endian order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvanthe::hosting {

// 'hstm': where the host finds the plug-in's scripting terminology.
struct TerminologyReference {
    uint32_t version = 0;
    uint32_t event_class = 0;
    uint32_t event_id = 0;
    int16_t resource_id = 0;  // of the "AETE" resource
    std::string scope;
};

// 'fici': how the host hands over the data of one filter case (1..7 in order).
struct FilterCaseInfo {
    uint8_t input_handling = 0;
    uint8_t output_handling = 0;
    uint8_t flags = 0;  // 1 don't copy to the destination, 2 works with blank data
    uint8_t reserved = 0;
};

struct PluginProperties {
    uint32_t kind = 0;           // 'kind': '8BFM' for a filter
    std::string name;            // 'name': the menu item
    std::string category;        // 'catg': the submenu
    uint32_t interface_version = 0;  // 'vers'
    std::string entry_x86;       // 'wx86': the entry point for 32-bit hosts
    std::string entry_x64;       // '8664': the entry point for 64-bit hosts
    bool has_terminology = false;
    TerminologyReference terminology;         // 'hstm'
    uint16_t supported_modes = 0;             // 'mode': bitmap in the top bit, then grayscale, indexed, RGB, ...
    std::vector<std::string> enable_conditions;  // 'enbl', in list order
    std::vector<FilterCaseInfo> filter_cases;    // 'fici'
    int property_count = 0;
};

// The properties, or nothing when the bytes are not a well-formed list (short,
// overlong lengths, a count that does not fit, strings that run past their property).
std::optional<PluginProperties> read_pipl(const uint8_t* bytes, std::size_t size);

// The entry point a host of this machine's word size looks for.
const std::string& native_entry(const PluginProperties& properties);

}  // namespace corvanthe::hosting
