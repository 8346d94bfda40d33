#include "hosting/terminology_reader.h"

namespace corvanthe::hosting {
namespace {

// A bounds-checked cursor: once a read runs past the end, it and every later one fail.
class Cursor {
public:
    Cursor(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool ok() const { return ok_; }
    bool at_end() const { return ok_ && at_ == size_; }

    uint8_t u8() { return have(1) ? bytes_[at_++] : 0; }
    uint16_t u16() {
        if (!have(2)) return 0;
        const uint16_t value = uint16_t(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | uint32_t(u16()) << 16;
    }
    std::string pascal_string() {
        const std::size_t length = u8();
        if (!have(length)) return {};
        std::string text(reinterpret_cast<const char*>(bytes_ + at_), length);
        at_ += length;
        return text;
    }

private:
    bool have(std::size_t count) {
        if (ok_ && size_ - at_ >= count) return true;
        ok_ = false;
        return false;
    }

    const uint8_t* bytes_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

TerminologyEvent read_event(Cursor& in) {
    TerminologyEvent event;
    event.name = in.pascal_string();
    event.description = in.pascal_string();
    event.event_class = in.u32();
    event.event_id = in.u32();
    event.reply_type = in.u32();
    event.reply_description = in.pascal_string();
    event.reply_flags = in.u16();
    event.direct_type = in.u32();
    event.direct_description = in.pascal_string();
    event.direct_flags = in.u16();
    const uint16_t count = in.u16();
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        TerminologyParameter p;
        p.name = in.pascal_string();
        p.key = in.u32();
        p.type = in.u32();
        p.description = in.pascal_string();
        p.flags = in.u16();
        event.parameters.push_back(p);
    }
    return event;
}

TerminologyEnumeration read_enumeration(Cursor& in) {
    TerminologyEnumeration enumeration;
    enumeration.type = in.u32();
    const uint16_t count = in.u16();
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        TerminologyEnumerator e;
        e.name = in.pascal_string();
        e.key = in.u32();
        e.description = in.pascal_string();
        enumeration.enumerators.push_back(e);
    }
    return enumeration;
}

}  // namespace

std::optional<Terminology> read_terminology(const uint8_t* bytes, std::size_t size) {
    if (!bytes) return std::nullopt;
    Cursor in(bytes, size);
    in.u16();  // prelude
    Terminology out;
    out.major_version = in.u8();
    out.minor_version = in.u8();
    out.language = in.u16();
    out.script = in.u16();
    const uint16_t suites = in.u16();
    for (uint16_t s = 0; s < suites && in.ok(); ++s) {
        TerminologySuite suite;
        suite.vendor = in.pascal_string();
        suite.description = in.pascal_string();
        suite.id = in.u32();
        suite.level = in.u16();
        suite.version = in.u16();
        const uint16_t events = in.u16();
        for (uint16_t e = 0; e < events && in.ok(); ++e) suite.events.push_back(read_event(in));
        const uint16_t classes = in.u16();
        const uint16_t comparisons = in.u16();
        if (classes != 0 || comparisons != 0) return std::nullopt;
        const uint16_t enumerations = in.u16();
        for (uint16_t e = 0; e < enumerations && in.ok(); ++e) suite.enumerations.push_back(read_enumeration(in));
        out.suites.push_back(std::move(suite));
    }
    if (!in.at_end()) return std::nullopt;
    return out;
}

}  // namespace corvanthe::hosting
