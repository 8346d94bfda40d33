// The host-side reader of the property list, on the plug-in's own resources and on
// hand-made and damaged lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosting/pipl_reader.h"
#include "host/pipl.h"
#include "sdk/four_cc.h"

namespace corvanthe::hosting {
namespace {

std::optional<PluginProperties> read(const std::vector<uint8_t>& bytes) { return read_pipl(bytes.data(), bytes.size()); }

// A list in the Windows layout, written out byte by byte here.
class ListBuilder {
public:
    ListBuilder() { bytes = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }  // prelude, version 0, count (patched)
    ListBuilder& property(const char (&key)[5], const std::vector<uint8_t>& data, uint32_t length) {
        u32(four_cc("8BIM"));
        u32(four_cc(key));
        u32(0);
        u32(length);
        bytes.insert(bytes.end(), data.begin(), data.end());
        while (bytes.size() % 4 != 2) bytes.push_back(0);  // padded after the prelude
        ++count;
        std::memcpy(&bytes[6], &count, 4);
        return *this;
    }
    ListBuilder& property(const char (&key)[5], const std::vector<uint8_t>& data) {
        return property(key, data, uint32_t(data.size()));
    }
    std::vector<uint8_t> bytes;

private:
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
    }
    uint32_t count = 0;
};

std::vector<uint8_t> text(const char* s, bool pascal) {
    std::vector<uint8_t> out;
    if (pascal) out.push_back(uint8_t(std::strlen(s)));
    for (const char* c = s; *c; ++c) out.push_back(uint8_t(*c));
    if (!pascal) out.push_back(0);
    return out;
}

TEST(PiplReader, FindsWhatAHostStartsThePluginBy) {
    for (const auto architecture : {EntryArchitecture::X86, EntryArchitecture::X64}) {
        const auto properties = read(pipl_resource(architecture));
        ASSERT_TRUE(properties);
        EXPECT_EQ(four_cc_text(properties->kind), "8BFM");
        EXPECT_EQ(properties->name, "Corvanthe...");
        EXPECT_EQ(properties->category, "Tallow Heron");
        EXPECT_EQ(properties->interface_version, 0x00040000u);
        EXPECT_EQ(properties->property_count, 10);
        // Each list names the entry for its own word size only.
        const bool x64 = architecture == EntryArchitecture::X64;
        EXPECT_EQ(properties->entry_x64, x64 ? "PluginMain" : "");
        EXPECT_EQ(properties->entry_x86, x64 ? "" : "PluginMain");
    }
    const auto native = read(pipl_resource(kNativeEntryArchitecture));
    ASSERT_TRUE(native);
    EXPECT_EQ(native_entry(*native), "PluginMain");
}

TEST(PiplReader, ReadsAHandMadeListAndSkipsPropertiesItDoesNotNeed) {
    const auto bytes = ListBuilder()
                           .property("kind", {'M', 'F', 'B', '8'})
                           .property("mode", {0x50, 0x00})
                           .property("name", text("Sun", true))
                           .property("wx86", text("Entry32", false))
                           .property("8664", text("Entry64", false))
                           .bytes;
    const auto properties = read(bytes);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->kind, four_cc("8BFM"));
    EXPECT_EQ(properties->name, "Sun");
    EXPECT_EQ(properties->category, "");
    EXPECT_EQ(properties->entry_x86, "Entry32");
    EXPECT_EQ(properties->entry_x64, "Entry64");
    EXPECT_EQ(properties->property_count, 5);
}

TEST(PiplReader, ReadsTheTerminologyModesConditionsAndFilterCases) {
    // hstm: version 0, class 'Fcrv', event 'Scrp' (little-endian codes), resource 300, scope "A B".
    std::vector<uint8_t> terminology = {0, 0, 0, 0, 'v', 'r', 'c', 'F', 'p', 'r', 'c', 'S', 0x2C, 0x01};
    const std::vector<uint8_t> scope = text("A B", false);
    terminology.insert(terminology.end(), scope.begin(), scope.end());
    const auto bytes = ListBuilder()
                           .property("hstm", terminology)
                           .property("mode", {0x40, 0x01})
                           .property("enbl", text("first", false))
                           .property("enbl", text("second", false))
                           .property("fici", {1, 2, 3, 0, 4, 5, 6, 7})
                           .bytes;
    const auto properties = read(bytes);
    ASSERT_TRUE(properties);
    ASSERT_TRUE(properties->has_terminology);
    EXPECT_EQ(properties->terminology.version, 0u);
    EXPECT_EQ(properties->terminology.event_class, four_cc("Fcrv"));
    EXPECT_EQ(properties->terminology.event_id, four_cc("Scrp"));
    EXPECT_EQ(properties->terminology.resource_id, 300);
    EXPECT_EQ(properties->terminology.scope, "A B");
    EXPECT_EQ(properties->supported_modes, 0x4001) << "the first byte is the high one";
    EXPECT_EQ(properties->enable_conditions, (std::vector<std::string>{"first", "second"}));
    ASSERT_EQ(properties->filter_cases.size(), 2u);
    EXPECT_EQ(properties->filter_cases[1].input_handling, 4);
    EXPECT_EQ(properties->filter_cases[1].output_handling, 5);
    EXPECT_EQ(properties->filter_cases[1].flags, 6);
    EXPECT_EQ(properties->filter_cases[1].reserved, 7);

    // The plug-in's own list: the modes grayscale and RGB, seven cases, two conditions.
    const auto own = read(pipl_resource(EntryArchitecture::X86));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->supported_modes, 0x5000);
    EXPECT_EQ(own->filter_cases.size(), 7u);
    EXPECT_EQ(own->enable_conditions.size(), 2u);
    EXPECT_EQ(own->terminology.resource_id, 16000);
}

TEST(PiplReader, RejectsDamagedLists) {
    const auto good = pipl_resource(EntryArchitecture::X64);
    // Every cut short of the whole list (the last property's padding aside) is refused,
    // and none reads past its end (the sanitizer build checks that).
    std::size_t accepted_from = good.size();
    for (std::size_t size = 0; size < good.size(); ++size) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(size));
        if (read(cut) && size < accepted_from) accepted_from = size;
    }
    EXPECT_GE(accepted_from, good.size() - 3);

    auto other_version = good;
    other_version[2] = 1;
    EXPECT_FALSE(read(other_version));
    auto too_many = good;
    too_many[6] = 11;
    EXPECT_FALSE(read(too_many));

    // A length that runs past the list, a Pascal string longer than its property, a C
    // string without its terminating zero.
    EXPECT_FALSE(read(ListBuilder().property("kind", {'M', 'F', 'B', '8'}, 400).bytes));
    EXPECT_FALSE(read(ListBuilder().property("name", {9, 'a', 'b', 'c'}).bytes));
    EXPECT_FALSE(read(ListBuilder().property("8664", {'P', 'l', 'u', 'g'}).bytes));
    EXPECT_FALSE(read(ListBuilder().property("kind", {'M', 'F'}).bytes));
    // A terminology property too short for its fixed fields or without its scope's zero.
    EXPECT_FALSE(read(ListBuilder().property("hstm", std::vector<uint8_t>(13, 0)).bytes));
    EXPECT_FALSE(read(ListBuilder().property("hstm", std::vector<uint8_t>(16, 'x')).bytes));
    EXPECT_FALSE(read(ListBuilder().property("enbl", {'i', 'n'}).bytes));
    EXPECT_FALSE(read(ListBuilder().property("mode", {0x50}).bytes));
    EXPECT_FALSE(read_pipl(nullptr, 0));
}

}  // namespace
}  // namespace corvanthe::hosting
