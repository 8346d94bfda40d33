// The host-side reader of the scripting terminology: a hand-made terminology, the
// plug-in's own, and damaged ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/aete.h"
#include "hosting/terminology_reader.h"
#include "sdk/four_cc.h"

namespace corvanthe::hosting {
namespace {

std::optional<Terminology> read(const std::vector<uint8_t>& bytes) {
    return read_terminology(bytes.data(), bytes.size());
}

// A terminology in the Windows layout, written out field by field here.
class Builder {
public:
    Builder& u8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    Builder& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    Builder& code(const char (&c)[5]) { return u16(uint16_t(four_cc(c))).u16(uint16_t(four_cc(c) >> 16)); }
    Builder& text(const std::string& s) {
        u8(uint8_t(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    std::vector<uint8_t> bytes;
};

// One suite, one event with two parameters, one enumeration of two.
std::vector<uint8_t> small_terminology(uint16_t classes = 0) {
    Builder b;
    b.u16(1).u8(1).u8(0).u16(0).u16(0).u16(1);
    b.text("Maker").text("Tool").code("Stil").u16(1).u16(1).u16(1);
    b.text("Tool").text("Does things").code("Ecls").code("Evid").code("null").text("").u16(0);
    b.code("#ImR").text("").u16(0xb000).u16(2);
    b.text("size").code("0001").code("long").text("the size").u16(0x8000);
    b.text("shape").code("shky").code("shty").text("shape").u16(0xa000);
    b.u16(classes).u16(0).u16(1);
    b.code("shty").u16(2).text("round").code("sh01").text("round").text("square").code("sh02").text("square");
    return b.bytes;
}

TEST(TerminologyReader, ReadsAHandMadeTerminology) {
    const auto terminology = read(small_terminology());
    ASSERT_TRUE(terminology);
    EXPECT_EQ(terminology->major_version, 1);
    ASSERT_EQ(terminology->suites.size(), 1u);
    const TerminologySuite& suite = terminology->suites[0];
    EXPECT_EQ(suite.vendor, "Maker");
    EXPECT_EQ(suite.description, "Tool");
    EXPECT_EQ(suite.id, four_cc("Stil"));
    ASSERT_EQ(suite.events.size(), 1u);
    const TerminologyEvent& event = suite.events[0];
    EXPECT_EQ(event.description, "Does things");
    EXPECT_EQ(event.event_class, four_cc("Ecls"));
    EXPECT_EQ(event.event_id, four_cc("Evid"));
    EXPECT_EQ(event.direct_type, four_cc("#ImR"));
    EXPECT_EQ(event.direct_flags, 0xb000);
    ASSERT_EQ(event.parameters.size(), 2u);
    EXPECT_EQ(event.parameters[0].name, "size");
    EXPECT_EQ(event.parameters[0].description, "the size");
    EXPECT_EQ(event.parameters[1].key, four_cc("shky"));
    EXPECT_EQ(event.parameters[1].type, four_cc("shty"));
    EXPECT_EQ(event.parameters[1].flags, 0xa000);
    ASSERT_EQ(suite.enumerations.size(), 1u);
    ASSERT_EQ(suite.enumerations[0].enumerators.size(), 2u);
    EXPECT_EQ(suite.enumerations[0].enumerators[1].name, "square");
    EXPECT_EQ(suite.enumerations[0].enumerators[1].key, four_cc("sh02"));
}

TEST(TerminologyReader, ReadsThePluginsOwnTerminology) {
    const auto terminology = read(aete_resource());
    ASSERT_TRUE(terminology);
    ASSERT_EQ(terminology->suites.size(), 1u);
    ASSERT_EQ(terminology->suites[0].events.size(), 1u);
    const std::vector<TerminologyParameter>& parameters = terminology->suites[0].events[0].parameters;
    ASSERT_EQ(parameters.size(), 49u);
    EXPECT_EQ(parameters[40].name, "spike detail ");
    EXPECT_EQ(parameters[34].key, four_cc("suky"));
    EXPECT_EQ(parameters[48].type, four_cc("doub"));
    EXPECT_EQ(terminology->suites[0].enumerations.size(), 2u);
}

TEST(TerminologyReader, RefusesDamagedTerminologies) {
    const std::vector<uint8_t> good = small_terminology();
    // Every cut short of the whole is refused, without reading past the end (the
    // sanitizer build checks that); so is a byte too many.
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(read(std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(size)))) << size;
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(read(longer));
    EXPECT_FALSE(read(small_terminology(1))) << "classes are not read";
    EXPECT_FALSE(read_terminology(nullptr, 0));
}

}  // namespace
}  // namespace corvanthe::hosting
