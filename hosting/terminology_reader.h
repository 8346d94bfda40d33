#pragma once
// Reading a plug-in's scripting terminology ("AETE") in the Windows layout: a two-byte
// prelude, then the terminology with little-endian integers, four-character codes as
// 32-bit integers and Pascal strings without padding between fields.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvanthe::hosting {

struct TerminologyParameter {
    std::string name;
    uint32_t key = 0;
    uint32_t type = 0;  // 'long', 'doub', or an enumeration's type
    std::string description;
    uint16_t flags = 0;
};

struct TerminologyEvent {
    std::string name;
    std::string description;
    uint32_t event_class = 0;
    uint32_t event_id = 0;
    uint32_t reply_type = 0;
    std::string reply_description;
    uint16_t reply_flags = 0;
    uint32_t direct_type = 0;
    std::string direct_description;
    uint16_t direct_flags = 0;
    std::vector<TerminologyParameter> parameters;
};

struct TerminologyEnumerator {
    std::string name;
    uint32_t key = 0;
    std::string description;
};

struct TerminologyEnumeration {
    uint32_t type = 0;
    std::vector<TerminologyEnumerator> enumerators;
};

struct TerminologySuite {
    std::string vendor;
    std::string description;
    uint32_t id = 0;
    uint16_t level = 0;
    uint16_t version = 0;
    std::vector<TerminologyEvent> events;
    std::vector<TerminologyEnumeration> enumerations;
};

struct Terminology {
    uint8_t major_version = 0;
    uint8_t minor_version = 0;
    uint16_t language = 0;
    uint16_t script = 0;
    std::vector<TerminologySuite> suites;
};

// The terminology, or nothing when the bytes end early, carry bytes after the last
// suite, or hold classes or comparison operators (which this reader does not take).
std::optional<Terminology> read_terminology(const uint8_t* bytes, std::size_t size);

}  // namespace corvanthe::hosting
