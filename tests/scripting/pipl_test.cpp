// The property list decoded with the test's own reader, property by property.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/pipl.h"
#include "scripting/resource_reader.h"

namespace corvanthe {
namespace {

struct Property {
    std::string vendor;
    std::string key;
    uint32_t id;
    std::vector<uint8_t> data;  // as long as the length field says
};

struct PropertyList {
    uint16_t prelude;
    uint32_t version;
    std::vector<Property> properties;
};

PropertyList decode(const std::vector<uint8_t>& bytes) {
    test::ResourceReader in(bytes);
    PropertyList list;
    list.prelude = in.u16();
    list.version = in.u32();
    const uint32_t count = in.u32();
    for (uint32_t i = 0; i < count; ++i) {
        Property p;
        p.vendor = in.code();
        p.key = in.code();
        p.id = in.u32();
        const uint32_t length = in.u32();
        EXPECT_EQ(length % 4, 0u) << "property " << p.key << " is not padded to four bytes";
        p.data = in.take(length);
        list.properties.push_back(p);
    }
    EXPECT_TRUE(in.at_end()) << "bytes after the last property";
    return list;
}

// A property's data read as a string of the given kind; the rest must be zero padding.
std::string pascal_text(const Property& p) {
    test::ResourceReader in(p.data);
    const std::string text = in.pascal_string();
    while (!in.at_end()) EXPECT_EQ(in.u8(), 0) << p.key << " pads with non-zero bytes";
    return text;
}

std::string c_text(const Property& p) {
    test::ResourceReader in(p.data);
    const std::string text = in.c_string();
    while (!in.at_end()) EXPECT_EQ(in.u8(), 0) << p.key << " pads with non-zero bytes";
    return text;
}

void expect_properties(const std::vector<uint8_t>& bytes, const std::string& entry_key) {
    const PropertyList list = decode(bytes);
    EXPECT_EQ(list.prelude, 1);
    EXPECT_EQ(list.version, 0u);

    const std::vector<std::string> keys = {"kind", "name", "catg", "vers", entry_key,
                                           "hstm", "mode", "enbl", "enbl", "fici"};
    ASSERT_EQ(list.properties.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(list.properties[i].key, keys[i]) << "property " << i;
        EXPECT_EQ(list.properties[i].vendor, "8BIM");
        EXPECT_EQ(list.properties[i].id, 0u);
    }
    const auto& p = list.properties;

    test::ResourceReader kind(p[0].data);
    EXPECT_EQ(kind.code(), "8BFM");
    EXPECT_TRUE(kind.at_end());

    EXPECT_EQ(pascal_text(p[1]), "Corvanthe...");
    EXPECT_EQ(pascal_text(p[2]), "Tallow Heron");

    test::ResourceReader version(p[3].data);
    EXPECT_EQ(version.u16(), 0) << "minor version";
    EXPECT_EQ(version.u16(), 4) << "major version";

    EXPECT_EQ(c_text(p[4]), "PluginMain");

    test::ResourceReader terminology(p[5].data);
    EXPECT_EQ(terminology.u32(), 0u);
    EXPECT_EQ(terminology.code(), "Fcrv");
    EXPECT_EQ(terminology.code(), "Fcrv");
    EXPECT_EQ(terminology.u16(), 16000);
    EXPECT_EQ(terminology.c_string(), "Tallow Heron Corvanthe");

    // Supported modes: bitmap is the top bit of the first byte, grayscale the next,
    // then indexed, then RGB.
    ASSERT_GE(p[6].data.size(), 2u);
    EXPECT_EQ(p[6].data[0], 0x40 | 0x10);
    EXPECT_EQ(p[6].data[1], 0);

    EXPECT_EQ(c_text(p[7]), "in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode) ");
    EXPECT_EQ(c_text(p[8]),
              "( in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode, Gray32Mode, RGB96Mode) ) "
              "&& (PSHOP_ImageMode !=  MultichannelMode) ");

    // Seven filter cases; the four with transparency also work with blank data.
    ASSERT_EQ(p[9].data.size(), 28u);
    for (int filter_case = 1; filter_case <= 7; ++filter_case) {
        const uint8_t* info = &p[9].data[std::size_t(filter_case - 1) * 4];
        EXPECT_EQ(info[0], 1) << "input handling, case " << filter_case;
        EXPECT_EQ(info[1], 1) << "output handling, case " << filter_case;
        EXPECT_EQ(info[2], filter_case <= 3 ? 1 : 3) << "flags, case " << filter_case;
        EXPECT_EQ(info[3], 0) << "reserved flags, case " << filter_case;
    }
}

TEST(PropertyList, X86NamesTheEntryPointInTheWin32CodeProperty) {
    expect_properties(pipl_resource(EntryArchitecture::X86), "wx86");
}

TEST(PropertyList, X64NamesTheEntryPointInTheWin64CodeProperty) {
    expect_properties(pipl_resource(EntryArchitecture::X64), "8664");
}

TEST(PropertyList, StartsWithThePreludeAndStoresCodesLittleEndian) {
    const std::vector<uint8_t> bytes = pipl_resource(EntryArchitecture::X86);
    ASSERT_GE(bytes.size(), 22u);
    // 01 00 prelude, version 0, count 10, then the first vendor code '8BIM' byte-swapped.
    const std::vector<uint8_t> head = {1, 0, 0, 0, 0, 0, 10, 0, 0, 0, 'M', 'I', 'B', '8', 'd', 'n', 'i', 'k'};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(head.size())), head);
}

}  // namespace
}  // namespace corvanthe
