// Scripting through PluginMain: the test host hands over a descriptor and a play
// mode, runs the filter selector by selector and keeps what the plug-in records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "host/plugin_main.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"
#include "sdk/four_cc.h"
#include "settings/parameter_table.h"
#include "settings/temporary_files.h"
#include "ui/recording_port.h"

namespace corvanthe {
namespace {

using hosting::Descriptor;

class PluginScriptingTest : public ::testing::Test {
protected:
    PluginScriptingTest() {
        // The plug-in's files between runs go to a folder of this test's own.
        cache_ = std::filesystem::temp_directory_path() /
                 ("corvanthe-scripting-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(cache_);
        std::filesystem::create_directories(cache_);
        ::setenv("XDG_CACHE_HOME", cache_.c_str(), 1);
    }
    ~PluginScriptingTest() override { std::filesystem::remove_all(cache_); }

    // A host with the test's descriptor procedures and the given play mode.
    void offer_scripting(int16_t play_info) { host.options().descriptors = store.seam(play_info); }
    void hand_over(const Descriptor& d) { host.set_descriptor(store.make_handle(d)); }

    SunSettings settings() {
        SunSettings s{};
        const auto bytes = host.handles().bytes(host.parameters());
        EXPECT_GE(bytes.size(), sizeof s);
        std::memcpy(&s, bytes.data(), sizeof s);
        return s;
    }
    std::optional<Descriptor> recorded() { return store.read_handle(host.descriptor()); }

    std::filesystem::path cache_;
    hosting::Host host{hosting::make_document(40, 30, 8, hosting::ColourKind::rgb, false)};
    hosting::DescriptorStore store{host.handles()};
    ui::RecordingPort port;
};

SunSettings defaults() {
    SunSettings s{};
    initialise(s);
    return s;
}

void expect_same_parameters(const SunSettings& actual, const SunSettings& expected) {
    for (const ParameterInfo& p : kParameters) EXPECT_EQ(get_float(actual, p), get_float(expected, p)) << p.name;
}

TEST_F(PluginScriptingTest, ADescriptorWithOnlyTheRadiusGivesTheDefaultsWithThatRadius) {
    offer_scripting(sdk::plugInDialogDontDisplay);
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);

    SunSettings expected = defaults();
    expected.sun_radius = 80;
    expect_same_parameters(settings(), expected);
    EXPECT_TRUE(port.main_dialogs().empty());

    const std::optional<Descriptor> out = recorded();
    ASSERT_TRUE(out);
    EXPECT_EQ(out->items.size(), 49u);
    EXPECT_EQ(out->find(four_cc("0014"))->integer, 80);
    EXPECT_EQ(host.record_info(), sdk::plugInDialogOptional);
    EXPECT_EQ(store.open_readers() + store.open_writers(), 0u);
}

TEST_F(PluginScriptingTest, AFullRedChannelIsHeldAs65280AndRecordedAs255) {
    offer_scripting(sdk::plugInDialogSilent);
    hand_over(Descriptor().put_integer(four_cc("0001"), 255));
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);
    EXPECT_EQ(settings().sun_colour.red, 65280);
    ASSERT_TRUE(recorded());
    EXPECT_EQ(recorded()->find(four_cc("0001"))->integer, 255);
}

TEST_F(PluginScriptingTest, ThePlayModeDecidesWhetherTheDialogIsShown) {
    // The host asks for Parameters each time, which on its own would show the dialog.
    offer_scripting(sdk::plugInDialogSilent);
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    EXPECT_TRUE(port.main_dialogs().empty()) << "silent";

    offer_scripting(sdk::plugInDialogDisplay);
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);
    EXPECT_EQ(port.main_dialogs().size(), 1u) << "display, even without Parameters";
    EXPECT_EQ(settings().sun_radius, 80) << "from the descriptor the last run recorded";
}

TEST_F(PluginScriptingTest, APSP9HostTouchesNoDescriptorAndTheCachedSettingsDecide) {
    // A first run on a scripting host leaves radius 80 in the cached settings file.
    offer_scripting(sdk::plugInDialogDontDisplay);
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);
    ASSERT_TRUE(std::filesystem::exists(cached_settings_path()));

    host.options().host_signature = four_cc("PSP9");
    hand_over(Descriptor().put_integer(four_cc("0014"), 20));
    const sdk::Handle given = host.descriptor();
    const int readers = store.readers_opened(), writers = store.writers_opened();
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);

    EXPECT_EQ(store.readers_opened(), readers);
    EXPECT_EQ(store.writers_opened(), writers);
    EXPECT_EQ(host.descriptor(), given);
    EXPECT_EQ(port.main_dialogs().size(), 1u) << "the Parameters selector's wish stands";
    SunSettings expected = defaults();
    expected.sun_radius = 80;                // from the cached file, not the descriptor's 20
    expected.x_center = 42598 / 65536.0f;  // the file keeps the centre in 16.16
    expect_same_parameters(settings(), expected);
}

TEST_F(PluginScriptingTest, ARecordedRunReplaysWithoutTheDialogToTheSameSettingsAndPixels) {
    offer_scripting(sdk::plugInDialogDontDisplay);
    Descriptor given;
    given.put_integer(four_cc("0001"), 17)
        .put_integer(four_cc("0014"), 61)
        .put_boolean(four_cc("0022"), true)
        .put_float(four_cc("0050"), 0.25)
        .put_enumerated(four_cc("suky"), four_cc("suty"), four_cc("su02"))
        .put_enumerated(four_cc("sgky"), four_cc("sgty"), four_cc("sg10"));
    hand_over(given);
    const hosting::Document original = host.document();
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);
    const SunSettings first = settings();
    const std::vector<uint8_t> first_pixels = host.document().pixels;
    EXPECT_EQ(first.glue, 10);
    EXPECT_EQ(first.x_center, 0.25f);

    // Replay: the same picture, the descriptor the first run recorded, no dialog.
    host.document() = original;
    ASSERT_EQ(host.run_filter(PluginMain).result, 0);
    expect_same_parameters(settings(), first);
    EXPECT_EQ(host.document().pixels, first_pixels);
    EXPECT_TRUE(port.main_dialogs().empty());
}

}  // namespace
}  // namespace corvanthe
