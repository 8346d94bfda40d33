// The terminology decoded with the test's own reader and compared field by field
// with the scripting names, keys and types the host must see.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/aete.h"
#include "scripting/resource_reader.h"

namespace corvanthe {
namespace {

const std::vector<std::string> kNames = {
    "sun red", "sun green", "sun blue", "flare red", "flare green", "flare blue",
    "halo red", "halo green", "halo blue", "spike brightness", "spike width", "spike radius",
    "spike count", "sun radius", "sun cold/hot", "sun smear", "sun swirl size", "sun swirl count",
    "sun detail", "spike gamma", "vortices", "monopoles", "halo radius", "halo brightness",
    "bow radius", "bow width", "bow brightness", "flare width", "flare count", "spike red",
    "spike green", "spike blue", "bow smear", "flare radius", "sun type", "glue",
    "master brightness", "flare detail", "flip bow", "spike diffraction", "spike detail ", "flare X",
    "flare Y", "spike X", "spike Y", "random seed", "flare brightness", "X center", "Y center",
};

// Keys run 0001..0051 in order, with suky and sgky in place of 0035 and 0036 and
// with 0044 and 0047 left out.
std::vector<std::string> expected_keys() {
    std::vector<std::string> keys;
    for (int n = 1; n <= 51; ++n) {
        if (n == 44 || n == 47) continue;
        if (n == 35) keys.push_back("suky");
        else if (n == 36) keys.push_back("sgky");
        else keys.push_back(std::string(n < 10 ? "000" : "00") + std::to_string(n));
    }
    return keys;
}

std::string expected_type(const std::string& key) {
    static const std::set<std::string> floats = {"0042", "0043", "0045", "0046", "0050", "0051"};
    if (key == "suky") return "suty";
    if (key == "sgky") return "sgty";
    return floats.count(key) ? "doub" : "long";
}

struct Enumeration {
    std::string type;
    std::vector<std::string> names;
    std::string prefix;
};

TEST(Terminology, DescribesOneEventWithTheParametersInTableOrder) {
    const std::vector<uint8_t> bytes = aete_resource();
    test::ResourceReader in(bytes);
    EXPECT_EQ(in.u16(), 1) << "prelude";
    EXPECT_EQ(in.u8(), 1) << "major version";
    EXPECT_EQ(in.u8(), 0) << "minor version";
    EXPECT_EQ(in.u16(), 0) << "language";
    EXPECT_EQ(in.u16(), 0) << "script";
    ASSERT_EQ(in.u16(), 1) << "suites";

    EXPECT_EQ(in.pascal_string(), "Tallow Heron");
    EXPECT_EQ(in.pascal_string(), "Corvanthe");
    EXPECT_EQ(in.code(), "Fcrv");
    EXPECT_EQ(in.u16(), 1) << "suite level";
    EXPECT_EQ(in.u16(), 1) << "suite version";
    ASSERT_EQ(in.u16(), 1) << "events";

    EXPECT_EQ(in.pascal_string(), "Corvanthe");
    EXPECT_EQ(in.pascal_string(), "Draws fantasy suns");
    EXPECT_EQ(in.code(), "Fcrv") << "event class";
    EXPECT_EQ(in.code(), "Fcrv") << "event id";
    EXPECT_EQ(in.code(), "null") << "reply type";
    EXPECT_EQ(in.pascal_string(), "");
    EXPECT_EQ(in.u16(), 0) << "reply flags";
    EXPECT_EQ(in.code(), "#ImR") << "direct parameter type";
    EXPECT_EQ(in.pascal_string(), "");
    EXPECT_EQ(in.u16(), 0xb000) << "direct parameter flags";

    const std::vector<std::string> keys = expected_keys();
    ASSERT_EQ(keys.size(), 49u);
    ASSERT_EQ(in.u16(), 49) << "parameters";
    for (std::size_t i = 0; i < 49; ++i) {
        SCOPED_TRACE("parameter " + std::to_string(i + 1));
        EXPECT_EQ(in.pascal_string(), kNames[i]);
        EXPECT_EQ(in.code(), keys[i]);
        EXPECT_EQ(in.code(), expected_type(keys[i]));
        EXPECT_EQ(in.pascal_string(), kNames[i]) << "description";
        EXPECT_EQ(in.u16(), keys[i] == "suky" || keys[i] == "sgky" ? 0xa000 : 0x8000) << "flags";
    }

    EXPECT_EQ(in.u16(), 0) << "classes";
    EXPECT_EQ(in.u16(), 0) << "comparison operators";
    ASSERT_EQ(in.u16(), 2) << "enumerations";
    const Enumeration enumerations[] = {
        {"suty", {"normal", "flat", "eclipse"}, "su"},
        {"sgty",
         {"normal", "procedural +", "procedural -", "difference", "lighten", "darken", "add",
          "subtract", "multiply", "screen", "composite", "hard light", "overlay", "superlay",
          "exclusion", "color", "luminance", "linear light", "pin light"},
         "sg"},
    };
    for (const Enumeration& e : enumerations) {
        SCOPED_TRACE(e.type);
        EXPECT_EQ(in.code(), e.type);
        ASSERT_EQ(in.u16(), e.names.size());
        for (std::size_t i = 0; i < e.names.size(); ++i) {
            const std::string number = std::to_string(i + 1);
            EXPECT_EQ(in.pascal_string(), e.names[i]);
            EXPECT_EQ(in.code(), e.prefix + (i + 1 < 10 ? "0" : "") + number);
            EXPECT_EQ(in.pascal_string(), e.names[i]) << "description";
        }
    }
    EXPECT_TRUE(in.at_end()) << "bytes after the last enumeration";
}

TEST(Terminology, KeepsThePascalStringsUnpadded) {
    // Windows hosts read the fields back to back: the suite's vendor ("Tallow Heron",
    // 12 characters) ends at an odd offset and the description follows at once.
    const std::vector<uint8_t> bytes = aete_resource();
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes[10], 12);
    EXPECT_EQ(bytes[23], 9) << "length of \"Corvanthe\" right after \"Tallow Heron\"";
    // The suite id follows the description directly, byte-swapped.
    EXPECT_EQ(std::string(bytes.begin() + 33, bytes.begin() + 37), "vrcF");
}

}  // namespace
}  // namespace corvanthe
