// What a run leaves for the next one: the cached settings, the undo slot saved before
// the dialog, and the memory-dot map.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/host_context.h"
#include "host/memory_dot_calls.h"
#include "host/plugin_main.h"
#include "hosting/host.h"
#include "platform/folders.h"
#include "settings/sun_settings.h"
#include "settings/temporary_files.h"
#include "ui/port.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

// A dialog that notes the sun radius it opens with, sets its own and answers.
class EditingPort final : public ui::Port {
public:
    EditingPort() { ui::set_port(this); }
    ~EditingPort() override { ui::set_port(nullptr); }
    void show_message(void*, const ui::MessageDialog&) override {}
    int run_main_dialog(void*, ui::DialogClient&) override {
        SunSettings& s = *host_context().settings;
        opened_with = s.sun_radius;
        s.sun_radius = radius;
        if (on_open) on_open();
        return answer;
    }
    int32_t opened_with = -1;
    int32_t radius = 0;
    int answer = ui::kDialogOk;
    void (*on_open)() = nullptr;
};

hosting::Host small_host() {
    return hosting::Host(hosting::make_document(40, 30, 8, hosting::ColourKind::rgb, false));
}

}  // namespace

TEST(BetweenRuns, TheDialogOpensWithTheLastConfirmedSettingsAndCancelKeepsThem) {
    EditingPort dialog;
    hosting::Host host = small_host();
    ASSERT_FALSE(fs::exists(cached_settings_path()));

    dialog.radius = 70;
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    EXPECT_EQ(dialog.opened_with, 38);  // a clean system starts from the defaults
    EXPECT_TRUE(fs::exists(cached_settings_path()));

    dialog.radius = 20;
    dialog.answer = 0;
    EXPECT_EQ(host.run_filter(PluginMain, true).result, sdk::kUserCanceledErr);
    EXPECT_EQ(dialog.opened_with, 70);

    dialog.answer = ui::kDialogOk;
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    EXPECT_EQ(dialog.opened_with, 70);  // the cancelled run did not rewrite the file
}

TEST(BetweenRuns, StartSavesAnUndoSlotWithFileBeforeTheDialog) {
    EditingPort dialog;
    hosting::Host host = small_host();
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);
    EXPECT_TRUE(fs::exists(undo_path(1)));
    EXPECT_FALSE(fs::exists(undo_path(0)));
}

TEST(BetweenRuns, TheMemoryDotMapIsReadAtStartAndWrittenAtTheEnd) {
    MemoryDots kept = {};
    kept.map[3] = 1;
    ASSERT_EQ(save_dot_map(kept), 0);

    EditingPort dialog;
    dialog.on_open = [] {
        EXPECT_EQ(memory_dots().map[3], 1);
        memory_dots().map[3] = 0;  // as a right click on the dot does
        memory_dots().map[7] = 1;
    };
    hosting::Host host = small_host();
    ASSERT_EQ(host.run_filter(PluginMain, true).result, 0);

    MemoryDots reread = {};
    load_dot_map(reread);
    EXPECT_EQ(reread.map[3], 0);
    EXPECT_EQ(reread.map[7], 1);
}

}  // namespace corvanthe
