#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "settings/parameter_table.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

SunSettings initialised() {
    SunSettings s{};
    initialise(s);
    return s;
}

int32_t value_of(const SunSettings& s, const char* key) {
    return get_integer(s, *find_parameter(four_cc_code(key)));
}

}  // namespace

TEST(ParameterTable, HasFortyNineDistinctKeysAndNamesInScriptingOrder) {
    std::set<uint32_t> keys;
    std::set<std::string> names;
    for (const ParameterInfo& p : kParameters) {
        keys.insert(p.key);
        names.insert(p.name);
    }
    EXPECT_EQ(keys.size(), 49u);
    EXPECT_EQ(names.size(), 49u);
    EXPECT_EQ(kParameters[34].key, four_cc("suky"));
    EXPECT_EQ(kParameters[35].key, four_cc("sgky"));
    EXPECT_EQ(kParameters[40].key, four_cc("0041"));
    EXPECT_STREQ(kParameters[40].name, "spike detail ");
    EXPECT_EQ(kParameters[48].key, four_cc("0051"));
    for (const char* unused : {"0035", "0036", "0044", "0047"}) EXPECT_EQ(find_parameter(four_cc_code(unused)), nullptr);
}

TEST(ParameterTable, NamesMatchIgnoringCaseAndTrailingBlanks) {
    EXPECT_EQ(find_parameter_by_name("spike detail"), &kParameters[40]);
    EXPECT_EQ(find_parameter_by_name("SPIKE DETAIL  "), &kParameters[40]);
    EXPECT_EQ(find_parameter_by_name("x CENTER"), &kParameters[47]);
    EXPECT_EQ(find_parameter_by_name("sun"), nullptr);
}

TEST(SunSettings, ResetGivesTheDocumentedDefaults) {
    const SunSettings s = initialised();
    EXPECT_EQ(value_of(s, "0001"), 142);
    EXPECT_EQ(value_of(s, "0002"), 135);
    EXPECT_EQ(value_of(s, "0003"), 191);
    EXPECT_EQ(value_of(s, "0004"), 185);
    EXPECT_EQ(value_of(s, "0006"), 58);
    EXPECT_EQ(value_of(s, "0007"), 207);
    EXPECT_EQ(value_of(s, "0009"), 64);
    EXPECT_EQ(value_of(s, "0030"), 191);
    EXPECT_EQ(value_of(s, "0031"), 153);
    EXPECT_EQ(value_of(s, "0032"), 88);
    EXPECT_EQ(s.sun_colour.red, 142 * 256);
    EXPECT_EQ(s.sun_radius, 38);
    EXPECT_EQ(s.spike_count, 94);
    EXPECT_EQ(s.sun_type, 1);
    EXPECT_EQ(s.glue, 1);
    EXPECT_EQ(s.random_seed, 203);
    EXPECT_EQ(s.flare_x, -0.3f);
    EXPECT_EQ(s.flare_y, -0.18f);
    EXPECT_EQ(s.x_center, 0.65f);
    EXPECT_EQ(s.y_center, 0.5f);
    EXPECT_NEAR(s.flare_z, 0.93680, 1e-5);
    EXPECT_EQ(s.spike_z, 0.0f);
    EXPECT_EQ(s.colour4.red, s.halo_colour.red);
    EXPECT_EQ(s.colour4.blue, s.halo_colour.blue);
    EXPECT_EQ(s.scale_divisor, 1);
    EXPECT_EQ(s.preview_cells[0], -1);
    EXPECT_STREQ(s.settings_name, "Corvanthe settings");
}

TEST(SunSettings, ColourChannelsHoldTheHighByte) {
    SunSettings s = initialised();
    const ParameterInfo& red = *find_parameter(four_cc("0001"));
    set_integer(s, red, 200);
    EXPECT_EQ(s.sun_colour.red, 51200);
    EXPECT_EQ(get_integer(s, red), 200);
    s.sun_colour.red = 51455;
    EXPECT_EQ(get_integer(s, red), 200);
    set_integer(s, red, 255);
    EXPECT_EQ(s.sun_colour.red, 65280);
}

TEST(SunSettings, ResetLeavesColourFiveAndRunFieldsAlone) {
    SunSettings s = initialised();
    s.colour5 = {1, 2, 3};
    s.scale_divisor = 4;
    s.sun_radius = 99;
    reset_to_defaults(s);
    EXPECT_EQ(s.colour5.red, 1);
    EXPECT_EQ(s.colour5.blue, 3);
    EXPECT_EQ(s.scale_divisor, 4);
    EXPECT_EQ(s.sun_radius, 38);
}

TEST(SunSettings, SnapshotRestoreKeepsTheCentre) {
    SunSettings s = initialised();
    SunSettings snapshot{};
    take_snapshot(s, snapshot);
    s.sun_radius = 7;
    s.halo_colour.green = 5;
    s.colour5.red = 9;
    s.flare_z = 0.25f;
    s.x_center = 0.1f;
    s.y_center = 0.9f;
    set_text(s.settings_name, "changed");
    restore_snapshot(snapshot, s);
    EXPECT_EQ(s.sun_radius, 38);
    EXPECT_EQ(s.halo_colour.green, 151 * 256);
    EXPECT_EQ(s.colour5.red, snapshot.colour5.red);
    EXPECT_NE(s.flare_z, 0.25f);
    EXPECT_STREQ(s.settings_name, "Corvanthe settings");
    EXPECT_EQ(s.x_center, 0.1f);
    EXPECT_EQ(s.y_center, 0.9f);
}

TEST(SunSettings, TextsAreCutToTheirBuffer) {
    SunSettings s{};
    const std::string long_name(400, 'x');
    set_text(s.settings_name, long_name.c_str());
    EXPECT_EQ(std::strlen(s.settings_name), size_t(kPathLength - 1));
}

TEST(SunSettings, TextsAreCutAtACharacterAndFoldersThatDoNotFitAreNotRemembered) {
    SunSettings s{};
    const std::string e_acute = "\xC3\xA9", euro = "\xE2\x82\xAC";
    set_text(s.settings_name, (std::string(258, 'x') + e_acute).c_str());  // 260 bytes and the end
    EXPECT_EQ(std::string(s.settings_name), std::string(258, 'x'));
    set_text(s.settings_name, (std::string(257, 'x') + euro + "y").c_str());
    EXPECT_EQ(std::string(s.settings_name), std::string(257, 'x'));
    set_text(s.settings_name, (std::string(256, 'x') + euro + "y").c_str());
    EXPECT_EQ(std::string(s.settings_name), std::string(256, 'x') + euro);

    remember_folder(s.settings_folder, "C:\\Users\\J" + e_acute + "r\\sun.q4q");
    EXPECT_EQ(std::string(s.settings_folder), "C:\\Users\\J" + e_acute + "r\\");
    const std::string folder = "/home/" + std::string(250, 'a') + "/";  // 257 bytes
    remember_folder(s.settings_folder, folder + "a rather long file name.q4q");
    EXPECT_EQ(std::string(s.settings_folder), folder);
    remember_folder(s.settings_folder, "/home/" + std::string(126, 'b') + "/" + e_acute + euro + std::string(125, 'c') + "/x.q4q");
    EXPECT_EQ(std::string(s.settings_folder), "") << "a folder cut short would be another folder";
}

TEST(Enumerations, MapBothWaysAndRejectTheUnknown) {
    EXPECT_EQ(enumerator_key(kGlueEnum, 19), four_cc("sg19"));
    EXPECT_EQ(enumerator_key(kGlueEnum, 1), four_cc("sg01"));
    EXPECT_EQ(enumerator_key(kSunTypeEnum, 3), four_cc("su03"));
    EXPECT_EQ(enumerator_key(kSunTypeEnum, 4), four_cc("<NO>"));
    EXPECT_EQ(enumerator_key(kGlueEnum, 0), four_cc("<NO>"));
    EXPECT_EQ(enumerator_value(kGlueEnum, four_cc("sg19")), 19);
    EXPECT_EQ(enumerator_value(kSunTypeEnum, four_cc("su02")), 2);
    EXPECT_FALSE(enumerator_value(kGlueEnum, four_cc("sg20")));
    EXPECT_FALSE(enumerator_value(kGlueEnum, four_cc("sg00")));
    EXPECT_FALSE(enumerator_value(kSunTypeEnum, four_cc("sg01")));
    EXPECT_FALSE(enumerator_value(four_cc("xxxx"), four_cc("su01")));
    EXPECT_STREQ(enumerator_name(kGlueEnum, 19), "pin light");
    EXPECT_STREQ(enumerator_name(kSunTypeEnum, 3), "eclipse");
    EXPECT_EQ(enumerator_name(kGlueEnum, 20), nullptr);
}

}  // namespace corvanthe
