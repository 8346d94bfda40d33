#include "hosting/descriptor.h"

#include <bit>
#include <cstring>

#include "sdk/four_cc.h"

namespace corvanthe::hosting {
namespace {

// Byte form: the magic, the item count, then per item its key, kind and payload;
// integers little-endian, doubles as their bit pattern, byte strings with a length.
constexpr uint32_t kMagic = four_cc("Cdsc");
constexpr uint32_t kMaxItems = 1u << 20;

class Writer {
public:
    void u8(uint8_t v) { out.push_back(v); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) u8(uint8_t(v >> (8 * i)));
    }
    void f64(double v) {
        const uint64_t bits = std::bit_cast<uint64_t>(v);
        u32(uint32_t(bits));
        u32(uint32_t(bits >> 32));
    }
    void text(const std::string& s) {
        u32(uint32_t(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    }
    std::vector<uint8_t> out;
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : in_(bytes) {}
    bool u8(uint8_t& v) {
        if (at_ >= in_.size()) return false;
        v = in_[at_++];
        return true;
    }
    bool u32(uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!u8(b)) return false;
            v |= uint32_t(b) << (8 * i);
        }
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) return false;
        v = std::bit_cast<int32_t>(u);
        return true;
    }
    bool f64(double& v) {
        uint32_t low, high;
        if (!u32(low) || !u32(high)) return false;
        v = std::bit_cast<double>(uint64_t(low) | (uint64_t(high) << 32));
        return true;
    }
    bool text(std::string& s) {
        uint32_t length;
        if (!u32(length) || in_.size() - at_ < length) return false;
        s.assign(reinterpret_cast<const char*>(in_.data() + at_), length);
        at_ += length;
        return true;
    }
    bool at_end() const { return at_ == in_.size(); }

private:
    std::span<const uint8_t> in_;
    std::size_t at_ = 0;
};

bool has_integer(ItemKind k) { return k == ItemKind::Integer || k == ItemKind::Boolean || k == ItemKind::Count; }
bool has_number(ItemKind k) { return k == ItemKind::Float || k == ItemKind::UnitFloat; }
bool has_type(ItemKind k) {
    return k == ItemKind::UnitFloat || k == ItemKind::Enumerated || k == ItemKind::Class || k == ItemKind::Object;
}
bool has_bytes(ItemKind k) {
    return k == ItemKind::Text || k == ItemKind::Alias || k == ItemKind::String || k == ItemKind::Reference ||
           k == ItemKind::Object;
}

}  // namespace

uint32_t descriptor_type(const DescriptorItem& item) {
    switch (item.kind) {
        case ItemKind::Integer: return four_cc("long");
        case ItemKind::Float: return four_cc("doub");
        case ItemKind::UnitFloat: return four_cc("UntF");
        case ItemKind::Boolean: return four_cc("bool");
        case ItemKind::Text: return four_cc("TEXT");
        case ItemKind::Alias: return four_cc("alis");
        case ItemKind::Enumerated: return four_cc("enum");
        case ItemKind::Class: return four_cc("type");
        case ItemKind::Reference: return four_cc("obj ");
        case ItemKind::Object: return four_cc("Objc");
        case ItemKind::Count: return four_cc("long");
        case ItemKind::String: return four_cc("TEXT");
    }
    return 0;
}

Descriptor& Descriptor::put(const DescriptorItem& item) {
    for (DescriptorItem& existing : items) {
        if (existing.key == item.key) {
            existing = item;
            return *this;
        }
    }
    items.push_back(item);
    return *this;
}

Descriptor& Descriptor::put_integer(uint32_t key, int32_t value) {
    return put({.key = key, .kind = ItemKind::Integer, .integer = value});
}

Descriptor& Descriptor::put_float(uint32_t key, double value) {
    return put({.key = key, .kind = ItemKind::Float, .number = value});
}

Descriptor& Descriptor::put_boolean(uint32_t key, bool value) {
    return put({.key = key, .kind = ItemKind::Boolean, .integer = value ? 1 : 0});
}

Descriptor& Descriptor::put_enumerated(uint32_t key, uint32_t type, uint32_t enumerator) {
    return put({.key = key, .kind = ItemKind::Enumerated, .type = type, .value = enumerator});
}

const DescriptorItem* Descriptor::find(uint32_t key) const {
    for (const DescriptorItem& item : items)
        if (item.key == key) return &item;
    return nullptr;
}

std::vector<uint8_t> encode_descriptor(const Descriptor& descriptor) {
    Writer w;
    w.u32(kMagic);
    w.u32(uint32_t(descriptor.items.size()));
    for (const DescriptorItem& item : descriptor.items) {
        w.u32(item.key);
        w.u8(uint8_t(item.kind));
        if (has_integer(item.kind)) w.u32(std::bit_cast<uint32_t>(item.integer));
        if (has_number(item.kind)) w.f64(item.number);
        if (has_type(item.kind)) w.u32(item.type);
        if (item.kind == ItemKind::Enumerated) w.u32(item.value);
        if (has_bytes(item.kind)) w.text(item.bytes);
    }
    return std::move(w.out);
}

std::optional<Descriptor> decode_descriptor(std::span<const uint8_t> bytes) {
    Reader r(bytes);
    uint32_t magic, count;
    if (!r.u32(magic) || magic != kMagic || !r.u32(count) || count > kMaxItems) return std::nullopt;
    Descriptor descriptor;
    for (uint32_t i = 0; i < count; ++i) {
        DescriptorItem item;
        uint8_t kind;
        if (!r.u32(item.key) || !r.u8(kind) || kind > uint8_t(ItemKind::String)) return std::nullopt;
        item.kind = ItemKind(kind);
        bool ok = true;
        if (has_integer(item.kind)) ok = ok && r.i32(item.integer);
        if (has_number(item.kind)) ok = ok && r.f64(item.number);
        if (has_type(item.kind)) ok = ok && r.u32(item.type);
        if (item.kind == ItemKind::Enumerated) ok = ok && r.u32(item.value);
        if (has_bytes(item.kind)) ok = ok && r.text(item.bytes);
        if (!ok) return std::nullopt;
        descriptor.items.push_back(std::move(item));
    }
    if (!r.at_end()) return std::nullopt;
    return descriptor;
}

}  // namespace corvanthe::hosting
