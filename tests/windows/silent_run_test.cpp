// Silent runs of the plug-in over raw files, in-process: what corvanthe_rawhost does on
// Linux and winhost does with the .8bf on Windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <span>

#include "apps/winhost/raw_image.h"
#include "apps/winhost/silent_run.h"
#include "apps/winhost/test_picture.h"
#include "apps/winhost/typed_descriptor.h"
#include "host/plugin_main.h"
#include "hosting/descriptor.h"
#include "settings/parameter_table.h"
#include "ui/canvas/software_canvas.h"
#include "ui/control_table.h"
#include "ui/recording_port.h"

namespace corvanthe::winhost {
namespace {

class SilentRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("corvanthe-silent-run-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        PictureSpec spec;
        spec.width = 40;
        spec.height = 30;
        spec.depth = 16;
        spec.transparency = true;
        ASSERT_TRUE(write_file(path("in.raw"), encode_raw_image(*make_test_picture(spec))));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const char* name) const { return (folder_ / name).string(); }

    void write_descriptor(const char* name, std::initializer_list<const char*> settings) {
        hosting::Descriptor descriptor;
        std::string error;
        for (const char* setting : settings) ASSERT_TRUE(put_setting(descriptor, setting, error)) << error;
        ASSERT_TRUE(write_file(path(name), hosting::encode_descriptor(descriptor)));
    }

    hosting::Descriptor read_descriptor(const char* name) {
        const auto bytes = read_file(path(name));
        EXPECT_TRUE(bytes);
        if (!bytes) return {};
        const auto descriptor = hosting::decode_descriptor(std::span<const uint8_t>(bytes->data(), bytes->size()));
        EXPECT_TRUE(descriptor);
        return descriptor ? *descriptor : hosting::Descriptor{};
    }

    std::filesystem::path folder_;
};

TEST_F(SilentRunTest, RecordsTheSettingsItRanWithAndTheRecordingReplaysToTheSamePixels) {
    write_descriptor("set.desc", {"0014=40", "sgky=7", "0042=0.75"});
    const RunOutcome first = run_silent(&PluginMain, {path("in.raw"), path("first.raw"), path("set.desc"), path("rec.desc")});
    ASSERT_TRUE(first.completed) << first.error;
    EXPECT_EQ(first.result, 0);

    const auto output = read_file(path("first.raw"));
    ASSERT_TRUE(output);
    const auto document = decode_raw_image(*output);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->width, 40);
    EXPECT_EQ(document->height, 30);
    EXPECT_EQ(document->depth, 16);

    const hosting::Descriptor recorded = read_descriptor("rec.desc");
    EXPECT_EQ(recorded.items.size(), std::size_t(kParameterCount));  // one key per parameter
    ASSERT_TRUE(recorded.find(four_cc("0014")));
    EXPECT_EQ(recorded.find(four_cc("0014"))->integer, 40);
    ASSERT_TRUE(recorded.find(kGlueKey));
    EXPECT_EQ(recorded.find(kGlueKey)->value, four_cc("sg07"));
    ASSERT_TRUE(recorded.find(four_cc("0042")));
    EXPECT_EQ(recorded.find(four_cc("0042"))->number, 0.75);

    const RunOutcome replay = run_silent(&PluginMain, {path("in.raw"), path("replay.raw"), path("rec.desc"), ""});
    ASSERT_TRUE(replay.completed) << replay.error;
    EXPECT_EQ(read_file(path("replay.raw")), output);
}

TEST_F(SilentRunTest, WithoutADescriptorRunsFromTheDefaults) {
    const RunOutcome outcome = run_silent(&PluginMain, {path("in.raw"), path("out.raw"), "", path("rec.desc")});
    ASSERT_TRUE(outcome.completed) << outcome.error;
    const hosting::Descriptor recorded = read_descriptor("rec.desc");
    for (const ParameterInfo& parameter : kParameters) {
        const hosting::DescriptorItem* item = recorded.find(parameter.key);
        if (!item || parameter.type != ParameterType::Integer) continue;
        EXPECT_EQ(item->integer, int32_t(parameter.default_value)) << parameter.name;
    }
}

TEST_F(SilentRunTest, ReportsUnreadableInputAndWritesNothing) {
    ASSERT_TRUE(write_file(path("junk.desc"), {1, 2, 3}));
    const SilentRun bad_runs[] = {
        {path("missing.raw"), path("out.raw"), "", ""},
        {path("junk.desc"), path("out.raw"), "", ""},
        {path("in.raw"), path("out.raw"), path("junk.desc"), ""},
        {path("in.raw"), path("out.raw"), path("missing.desc"), ""},
    };
    for (const SilentRun& run : bad_runs) {
        const RunOutcome outcome = run_silent(&PluginMain, run);
        EXPECT_FALSE(outcome.completed);
        EXPECT_FALSE(outcome.error.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(path("out.raw")));
}

// winhost's dialog run: the dialog shows, its preview goes through the host's display, the
// output is written only after OK (and equals the silent run), and Cancel is an answer.
TEST_F(SilentRunTest, WithTheDialogWritesOnlyAfterOkAndACancelIsTheUsersAnswer) {
    ui::RecordingPort port(ui::kDialogCancel);
    SilentRun cancelled{path("in.raw"), path("cancelled.raw"), "", path("cancelled.desc")};
    cancelled.dialog = true;
    const RunOutcome cancel = run_silent(&PluginMain, cancelled);
    EXPECT_TRUE(cancel.completed) << cancel.error;
    EXPECT_EQ(cancel.result, -128);
    EXPECT_FALSE(std::filesystem::exists(path("cancelled.raw")));
    EXPECT_FALSE(std::filesystem::exists(path("cancelled.desc")));
    EXPECT_EQ(port.main_dialogs().size(), 1u);

    int shown = 0;
    port.script_main_dialog([](ui::DialogSession& session) {
        ui::RgbaImage picture;
        picture.width = session.layout().width;
        picture.height = session.layout().height;
        ui::SoftwareCanvas canvas(picture);
        session.paint(canvas);
        session.click(ui::id::kOk);
    });
    SilentRun confirmed{path("in.raw"), path("confirmed.raw"), "", path("confirmed.desc")};
    confirmed.dialog = true;
    confirmed.display = [&](const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t, int32_t, void*) {
        EXPECT_GT(source.right - source.left, 0);
        EXPECT_GT(map.planeBytes, 0);
        ++shown;
        return sdk::OSErr(0);
    };
    const RunOutcome ok = run_silent(&PluginMain, confirmed);
    ASSERT_TRUE(ok.completed) << ok.error;
    EXPECT_EQ(ok.result, 0);
    EXPECT_GE(shown, 1);
    EXPECT_EQ(port.main_dialogs().size(), 2u);

    const RunOutcome silent =
        run_silent(&PluginMain, {path("in.raw"), path("silent.raw"), path("confirmed.desc"), ""});
    ASSERT_TRUE(silent.completed) << silent.error;
    const auto dialog_output = read_file(path("confirmed.raw"));
    ASSERT_TRUE(dialog_output);
    EXPECT_EQ(read_file(path("silent.raw")), dialog_output);
}

}  // namespace
}  // namespace corvanthe::winhost
