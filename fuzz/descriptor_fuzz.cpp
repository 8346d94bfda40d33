// Scripting descriptors of any keys, types, values, order and repetitions, handed to
// the plug-in by the test host's descriptor procedures in a full silent (or, by the
// play mode, dialog) filter run through PluginMain over an 8 x 8 document, with the
// recording port answering the dialog at once and no temporary folder to write to.
//
// Input: one byte of play mode, then either a descriptor in the host's byte form or,
// when the bytes are not one, a descriptor built from them item by item.
#include <bit>
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "host/plugin_main.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"
#include "settings/parameter_table.h"
#include "settings/sun_settings.h"
#include "ui/recording_port.h"

using namespace corvanthe;
using hosting::Descriptor;
using hosting::DescriptorItem;
using hosting::ItemKind;

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return size_ == 0; }
    uint8_t u8() { return size_ ? (--size_, *data_++) : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | u8();
        return v;
    }
    double f64() {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v = v << 8 | u8();
        return std::bit_cast<double>(v);
    }

private:
    const uint8_t* data_;
    size_t size_;
};

// Items in the order the bytes give, keys repeated as they come: mostly our own keys,
// sometimes any four bytes, with any kind and value.
Descriptor build(Bytes in) {
    Descriptor d;
    while (!in.empty() && d.items.size() < 200) {
        DescriptorItem item;
        const uint8_t pick = in.u8();
        item.key = pick < 3 * kParameterCount ? kParameters[pick % kParameterCount].key : in.u32();
        item.kind = static_cast<ItemKind>(in.u8() % (static_cast<int>(ItemKind::String) + 1));
        switch (item.kind) {
            case ItemKind::Float:
            case ItemKind::UnitFloat: item.number = in.f64(); break;
            case ItemKind::Enumerated: {
                const uint8_t type = in.u8();
                item.type = type == 0 ? kSunTypeEnum : type == 1 ? kGlueEnum : in.u32();
                item.value = in.u32();
                break;
            }
            case ItemKind::Text:
            case ItemKind::String:
                for (uint8_t n = in.u8() % 16; n > 0; --n) item.bytes += static_cast<char>(in.u8());
                break;
            default: item.integer = static_cast<int32_t>(in.u32()); break;
        }
        d.items.push_back(item);
    }
    return d;
}

SunSettings settings_of(hosting::Host& host) {
    SunSettings s;
    const auto bytes = host.handles().bytes(host.parameters());
    FUZZ_CHECK(bytes.size() >= sizeof s);
    std::memcpy(&s, bytes.data(), sizeof s);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::without_temporary_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int16_t play_info = static_cast<int16_t>(data[0] % 4);  // 3: a value no host should send
    const std::span<const uint8_t> rest(data + 1, size - 1);
    const std::optional<Descriptor> decoded = hosting::decode_descriptor(rest);
    const Descriptor given = decoded ? *decoded : build(Bytes(rest.data(), rest.size()));

    ui::RecordingPort port;  // answers the dialog with OK when the play mode shows it
    hosting::Host host(hosting::make_document(8, 8, 8, hosting::ColourKind::rgb, false));
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(play_info);
    const sdk::Handle handed = store.make_handle(given);
    FUZZ_CHECK(handed);
    host.set_descriptor(handed);

    const hosting::RunResult run = host.run_filter(PluginMain, false);
    FUZZ_CHECK(run.result == 0);
    FUZZ_CHECK(store.open_readers() == 0 && store.open_writers() == 0);
    // The kept blocks and the newly recorded descriptor; the one handed over is gone.
    FUZZ_CHECK(host.handles().live_count() == 3);
    FUZZ_CHECK(!host.handles().owns(handed) || host.descriptor() == handed);

    // What the run ended with is what it recorded: all 49 parameters in table order.
    const SunSettings s = settings_of(host);
    const std::optional<Descriptor> recorded = store.read_handle(host.descriptor());
    FUZZ_CHECK(recorded && recorded->items.size() == kParameters.size());
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const ParameterInfo& p = kParameters[i];
        const DescriptorItem& item = recorded->items[i];
        FUZZ_CHECK(item.key == p.key);
        switch (p.type) {
            case ParameterType::ColourChannel:
                FUZZ_CHECK(item.kind == ItemKind::Integer && item.integer >= 0 && item.integer <= 255);
                FUZZ_CHECK(item.integer == get_integer(s, p));
                break;
            case ParameterType::Integer:
                FUZZ_CHECK(item.kind == ItemKind::Integer && item.integer == get_integer(s, p));
                break;
            case ParameterType::Switch:
                FUZZ_CHECK(item.kind == ItemKind::Boolean && item.integer == get_integer(s, p));
                FUZZ_CHECK(get_integer(s, p) == 0 || get_integer(s, p) == 1);
                break;
            case ParameterType::Float:
                FUZZ_CHECK(item.kind == ItemKind::Float);
                FUZZ_CHECK(item.number == get_float(s, p) || (std::isnan(item.number) && std::isnan(get_float(s, p))));
                break;
            case ParameterType::Enumeration: {
                FUZZ_CHECK(item.kind == ItemKind::Enumerated && item.type == p.enum_type);
                const int32_t value = get_integer(s, p);
                FUZZ_CHECK(value >= 0 && value <= enumerator_count(p.enum_type));
                break;
            }
        }
    }
    return 0;
}
