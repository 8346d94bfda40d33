#pragma once
// A scripting descriptor as the host keeps it: an ordered list of typed key/value
// items, and its byte form inside a descriptor handle.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvanthe::hosting {

enum class ItemKind : uint8_t {
    Integer,
    Float,
    UnitFloat,
    Boolean,
    Text,
    Alias,
    Enumerated,
    Class,
    Reference,  // a simple reference record, kept as its bytes
    Object,     // a nested descriptor, kept in its byte form
    Count,
    String,
};

struct DescriptorItem {
    uint32_t key = 0;
    ItemKind kind = ItemKind::Integer;
    int32_t integer = 0;  // Integer, Boolean (0 or 1), Count
    double number = 0;    // Float, UnitFloat
    uint32_t type = 0;    // enumeration type, unit, or class
    uint32_t value = 0;   // enumerator
    std::string bytes{};  // Text, Alias, String, Reference, Object
};

// The descriptor type code that the get-key procedure reports for an item.
uint32_t descriptor_type(const DescriptorItem& item);

struct Descriptor {
    std::vector<DescriptorItem> items;

    // Adds the item, or replaces the one with the same key where it stands.
    Descriptor& put(const DescriptorItem& item);
    Descriptor& put_integer(uint32_t key, int32_t value);
    Descriptor& put_float(uint32_t key, double value);
    Descriptor& put_boolean(uint32_t key, bool value);
    Descriptor& put_enumerated(uint32_t key, uint32_t type, uint32_t enumerator);

    const DescriptorItem* find(uint32_t key) const;
};

// The byte form kept in a descriptor handle; decoding rejects anything malformed.
std::vector<uint8_t> encode_descriptor(const Descriptor& descriptor);
std::optional<Descriptor> decode_descriptor(std::span<const uint8_t> bytes);

}  // namespace corvanthe::hosting
