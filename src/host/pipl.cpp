#include "host/pipl.h"

#include <cstddef>

#include "host/aete.h"
#include "host/resource_bytes.h"
#include "sdk/four_cc.h"

namespace corvanthe {
namespace {

constexpr uint32_t kPhotoshopVendor = four_cc("8BIM");
constexpr const char* kMenuName = "Corvanthe...";
constexpr const char* kEntryPoint = "PluginMain";
constexpr uint32_t kInterfaceVersion = 0x00040000;  // 4.0: major in the high half
constexpr uint16_t kSupportedModes = 0x5000;        // grayscale and RGB, first mode in the top bit

constexpr const char* kEnableInfo[] = {
    "in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode) ",
    "( in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode, Gray32Mode, RGB96Mode) ) "
    "&& (PSHOP_ImageMode !=  MultichannelMode) ",
};

// Filter case info: input handling, output handling, flags, reserved; one per case.
constexpr uint8_t kCopyDataHandling = 1;
constexpr uint8_t kDontCopyToDestination = 1;
constexpr uint8_t kWorksWithBlankData = 2;
constexpr int kFilterCases = 7;
constexpr int kFirstTransparencyCase = 4;

// Appends one property: the header, the data that `write` appends, zero padding to
// four bytes; the length field holds the padded length.
template <typename Write>
void property(ResourceBytes& out, int& count, uint32_t key, Write write) {
    out.u32(kPhotoshopVendor);
    out.u32(key);
    out.u32(0);  // property id
    const std::size_t length_at = out.size();
    out.u32(0);
    const std::size_t start = out.size();
    write();
    out.pad(start, 4);
    out.patch_u32(length_at, uint32_t(out.size() - start));
    ++count;
}

}  // namespace

std::vector<uint8_t> pipl_resource(EntryArchitecture architecture) {
    ResourceBytes out;
    out.u16(1);  // prelude that Windows hosts skip
    out.u32(0);  // property list version
    const std::size_t count_at = out.size();
    out.u32(0);
    int count = 0;

    property(out, count, four_cc("kind"), [&] { out.u32(four_cc("8BFM")); });
    property(out, count, four_cc("name"), [&] { out.pascal_string(kMenuName); });
    property(out, count, four_cc("catg"), [&] { out.pascal_string(kVendorName); });
    property(out, count, four_cc("vers"), [&] { out.u32(kInterfaceVersion); });
    const uint32_t entry_key = architecture == EntryArchitecture::X64 ? four_cc("8664") : four_cc("wx86");
    property(out, count, entry_key, [&] { out.c_string(kEntryPoint); });
    property(out, count, four_cc("hstm"), [&] {
        out.u32(0);  // terminology version
        out.u32(kEventClass);
        out.u32(kEventId);
        out.u16(uint16_t(kTerminologyResourceId));
        out.c_string(kTerminologyScope);
    });
    property(out, count, four_cc("mode"), [&] {
        out.u8(uint8_t(kSupportedModes >> 8));  // a bit set, most significant bit first
        out.u8(uint8_t(kSupportedModes));
    });
    for (const char* condition : kEnableInfo)
        property(out, count, four_cc("enbl"), [&] { out.c_string(condition); });
    property(out, count, four_cc("fici"), [&] {
        for (int filter_case = 1; filter_case <= kFilterCases; ++filter_case) {
            out.u8(kCopyDataHandling);
            out.u8(kCopyDataHandling);
            out.u8(filter_case < kFirstTransparencyCase ? kDontCopyToDestination
                                                        : kDontCopyToDestination | kWorksWithBlankData);
            out.u8(0);
        }
    });

    out.patch_u32(count_at, uint32_t(count));
    return out.take();
}

}  // namespace corvanthe
