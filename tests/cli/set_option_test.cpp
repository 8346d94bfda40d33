#include "apps/cli/set_option.h"

#include <gtest/gtest.h>

#include "apps/shared/descriptor_json.h"
#include "apps/shared/settings_descriptor.h"

namespace corvanthe::cli {
namespace {

SetOption parsed(std::string_view text) {
    SetOption option;
    std::string error;
    EXPECT_TRUE(parse_set_option(text, option, error)) << text << ": " << error;
    return option;
}

std::string refused(std::string_view text) {
    SetOption option;
    std::string error;
    EXPECT_FALSE(parse_set_option(text, option, error)) << text;
    return error;
}

TEST(SetOption, NamesKeysAndValuesOfEveryType) {
    SetOption o = parsed("sun radius=80");
    EXPECT_EQ(o.parameter->key, four_cc("0014"));
    EXPECT_EQ(o.integer, 80);
    EXPECT_EQ(parsed("SPIKE DETAIL  =33").parameter->key, four_cc("0041"));  // the name ends in a blank
    EXPECT_EQ(parsed("0014=7").integer, 7);
    EXPECT_EQ(parsed("sun red=255").integer, 255);
    EXPECT_EQ(parsed("vortices=false").integer, 0);
    EXPECT_EQ(parsed("monopoles=1").integer, 1);
    EXPECT_EQ(parsed("sun type=eclipse").integer, 3);
    EXPECT_EQ(parsed("glue=Pin Light").integer, 19);
    EXPECT_EQ(parsed("sgky=4").integer, 4);
    // The seed takes every value that settings files and descriptors hold.
    EXPECT_EQ(parsed("random seed=4096").integer, 4096);
    EXPECT_EQ(parsed("0048=-2147483648").integer, INT32_MIN);
    EXPECT_EQ(parsed("random seed=2147483647").integer, INT32_MAX);

    // The descriptor item carries the enumerator key the plug-in maps back.
    const hosting::DescriptorItem glue = descriptor_item(parsed("glue=pin light"));
    EXPECT_EQ(glue.kind, hosting::ItemKind::Enumerated);
    EXPECT_EQ(glue.type, kGlueEnum);
    EXPECT_EQ(glue.value, four_cc("sg19"));
    const hosting::DescriptorItem sw = descriptor_item(parsed("flip bow=true"));
    EXPECT_EQ(sw.kind, hosting::ItemKind::Boolean);
    EXPECT_EQ(sw.integer, 1);

    // Applied to a record: a colour channel keeps its 8-bit value in the high byte.
    SunSettings s{};
    apply_set_option(s, parsed("sun green=200"));
    EXPECT_EQ(s.sun_colour.green, 200 << 8);
}

TEST(SetOption, RefusesWithAMessageThatNamesTheProblem) {
    EXPECT_NE(refused("sun brightness=3").find("\"sun radius\" (0014)"), std::string::npos);  // lists valid names
    EXPECT_NE(refused("sun red=300").find("0..255"), std::string::npos);
    refused("sun red=-1");
    refused("sun radius");
    refused("sun radius=");
    refused("sun radius=8x");
    refused("sun radius=99999999999");
    refused("random seed=2147483648");
    refused("vortices=2");
    refused("sun type=4");
    refused("sun type=nova");
    refused("=1");
    refused("zzzz=1");
}

TEST(DescriptorJson, WhatIsWrittenReadsBackItemForItem) {
    SunSettings s{};
    initialise(s);
    s.sun_type = 3;
    s.glue = 19;
    const hosting::Descriptor written = apps::settings_descriptor(s);
    ASSERT_EQ(written.items.size(), 49u);
    std::string json, error;
    ASSERT_TRUE(apps::descriptor_to_json(written, json, error)) << error;
    EXPECT_NE(json.find("\"suky\": \"su03\""), std::string::npos);
    EXPECT_NE(json.find("\"sgky\": \"sg19\""), std::string::npos);
    EXPECT_NE(json.find("\"0021\": true"), std::string::npos);  // vortices default on

    hosting::Descriptor read;
    ASSERT_TRUE(apps::descriptor_from_json(json, read, error)) << error;
    ASSERT_EQ(read.items.size(), written.items.size());
    for (size_t i = 0; i < read.items.size(); ++i) {
        const hosting::DescriptorItem &a = written.items[i], &b = read.items[i];
        EXPECT_EQ(a.key, b.key);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.integer, b.integer);
        EXPECT_EQ(a.number, b.number);  // the shortest form reads back exactly
        EXPECT_EQ(a.value, b.value);
    }
}

TEST(DescriptorJson, ReaderRefusesAnythingButTheFlatForm) {
    hosting::Descriptor d;
    std::string error;
    EXPECT_TRUE(apps::descriptor_from_json(" {} ", d, error));
    EXPECT_TRUE(d.items.empty());
    ASSERT_TRUE(apps::descriptor_from_json("{\"0014\":80,\"0042\":-1.5e-3,\"00\\u00301\":255}", d, error)) << error;
    EXPECT_EQ(d.find(four_cc("0014"))->integer, 80);
    EXPECT_EQ(d.find(four_cc("0042"))->number, -1.5e-3);
    EXPECT_EQ(d.find(four_cc("0001"))->integer, 255);
    for (const char* bad : {"", "[]", "{", "{\"0014\":80", "{\"0014\":80,}", "{\"0014\":80}x", "{\"0014\":80.5}",
                            "{\"0014\":1e2}", "{\"0014\":012}", "{\"0014\":99999999999}", "{\"0014\":\"80\"}",
                            "{\"0014\":80,\"0014\":81}", "{\"abcd\":1}", "{\"0021\":1}", "{\"0042\":1e999}",
                            "{\"0042\":NaN}", "{\"suky\":\"su1\"}", "{\"suky\":3}", "{\"0014\":{}}",
                            "{\"00\\u0100\":1}", "{\"0014\":-}", "{\"0014\" 80}", "{\"0014\":null}"}) {
        EXPECT_FALSE(apps::descriptor_from_json(bad, d, error)) << bad;
    }
}

}  // namespace
}  // namespace corvanthe::cli
