#include <gtest/gtest.h>

#include <filesystem>

#include "settings/memory_dots.h"
#include "settings/settings_test_support.h"
#include "settings/temporary_files.h"
#include "settings/undo_store.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

class Persistence : public testing::ScratchFolder {
protected:
    fs::path cache_file(const std::string& name) const { return root_ / "cache" / "corvanthe" / name; }
};

SunSettings fresh() {
    SunSettings s{};
    initialise(s);
    return s;
}

int current_dots(const MemoryDots& d) {
    int n = 0;
    for (uint8_t v : d.display) n += v == kDotCurrent;
    return n;
}

}  // namespace

TEST_F(Persistence, CachedSettingsCarryTheLastRun) {
    // First run on a clean system: nothing to load, the defaults stay.
    SunSettings s = fresh();
    EXPECT_EQ(load_cached_settings(s, nullptr).error, kFileCannotOpen);
    EXPECT_EQ(s.sun_radius, 38);
    EXPECT_EQ(cached_settings_path(), cache_file("Corvanthe cached settings D").string());

    s.sun_radius = 71;
    s.x_center = 0.25f;
    testing::RecordingThumbnails port;
    port.jpeg = {0xFF, 0xD8, 0xFF, 0xD9};
    ASSERT_EQ(save_cached_settings(s, &port), kFileOk);
    EXPECT_TRUE(fs::exists(cache_file("Corvanthe cached settings D")));

    // The next run starts from the defaults and gets the first run's settings back.
    SunSettings next = fresh();
    const auto r = load_cached_settings(next, &port);
    EXPECT_EQ(r.error, kFileOk);
    EXPECT_TRUE(r.thumbnail_shown);
    EXPECT_EQ(next.sun_radius, 71);
    EXPECT_EQ(next.x_center, 0.25f);
}

TEST_F(Persistence, UndoWithOneStateDoesNothing) {
    UndoStore u{};
    reset_undo(u);
    SunSettings s = fresh();
    save_undo(u, s, true, nullptr);
    EXPECT_EQ(u.current, 1);
    EXPECT_TRUE(u.slots[1].valid);
    EXPECT_FALSE(u.slots[0].valid);
    s.sun_radius = 5;
    EXPECT_FALSE(undo(u, s, nullptr));
    EXPECT_EQ(s.sun_radius, 5);
    EXPECT_EQ(u.current, 1);
    EXPECT_TRUE(fs::exists(cache_file("Corvanthe undo 1")));
}

TEST_F(Persistence, UndoSwitchesBetweenTwoStates) {
    UndoStore u{};
    reset_undo(u);
    SunSettings s = fresh();
    s.sun_radius = 10;
    save_undo(u, s, true, nullptr);
    s.sun_radius = 20;
    set_text(s.settings_name, "second");
    save_undo(u, s, false, nullptr);
    s.sun_radius = 30;  // an edit not yet saved is dropped by Undo

    ASSERT_TRUE(undo(u, s, nullptr));
    EXPECT_EQ(s.sun_radius, 10);
    EXPECT_STREQ(s.settings_name, "Corvanthe settings");
    ASSERT_TRUE(undo(u, s, nullptr));
    EXPECT_EQ(s.sun_radius, 20);
    EXPECT_STREQ(s.settings_name, "second");
}

TEST_F(Persistence, UndoWithoutFilesKeepsTheCentre) {
    UndoStore u{};
    reset_undo(u);
    SunSettings s = fresh();
    save_undo(u, s, false, nullptr);
    s.x_center = 0.2f;
    s.bow_width = 3;
    save_undo(u, s, false, nullptr);
    ASSERT_TRUE(undo(u, s, nullptr));
    EXPECT_EQ(s.bow_width, 72);
    EXPECT_EQ(s.x_center, 0.2f);
    EXPECT_FALSE(fs::exists(cache_file("Corvanthe undo 0")));
    EXPECT_FALSE(fs::exists(cache_file("Corvanthe undo 1")));
}

TEST_F(Persistence, UndoFromAFileBringsBackTheCentreAndThumbnail) {
    UndoStore u{};
    reset_undo(u);
    testing::RecordingThumbnails port;
    port.jpeg = {1, 2, 3, 4};
    SunSettings s = fresh();
    s.x_center = 0.75f;
    save_undo(u, s, true, &port);
    s.x_center = 0.1f;
    save_undo(u, s, false, &port);
    ASSERT_TRUE(undo(u, s, &port));
    EXPECT_EQ(s.x_center, 0.75f);
    EXPECT_EQ(port.shows, 1);
    EXPECT_EQ(port.shown, port.jpeg);
}

TEST_F(Persistence, DotStoredInOneRunIsRecalledInTheNext) {
    MemoryDots dots{};
    load_dot_map(dots);
    show_kept_dots(dots);
    testing::RecordingThumbnails dot_port;
    dot_port.jpeg = {9, 8, 7};
    SunSettings s = fresh();
    s.spike_count = 3;
    s.sun_type = kSunEclipse;
    EXPECT_EQ(click_dot(dots, 0, DotClick::Left, s, &dot_port, nullptr), DotAction::Stored);
    EXPECT_EQ(dots.map[0], 1);
    EXPECT_EQ(dots.display[0], kDotCurrent);
    EXPECT_EQ(dots.last_dot, 0);
    EXPECT_EQ(dot_port.shows, 1);  // the new file's thumbnail became the dot's preview
    EXPECT_TRUE(fs::exists(cache_file("Corvanthe A memory dot 0.q4q")));
    ASSERT_EQ(save_dot_map(dots), kFileOk);

    const auto map = testing::read_file(cache_file("Corvanthe memdot map 2").string());
    std::vector<int32_t> expected(26, 0);
    expected[0] = 40;
    expected[1] = 1;
    EXPECT_EQ(map, testing::be_ints(expected));

    // The next run.
    MemoryDots again{};
    load_dot_map(again);
    show_kept_dots(again);
    EXPECT_EQ(again.display[0], kDotFilled);
    EXPECT_EQ(again.display[1], kDotEmpty);
    EXPECT_EQ(again.last_dot, -1);
    SunSettings t = fresh();
    testing::RecordingThumbnails preview;
    EXPECT_EQ(click_dot(again, 0, DotClick::Left, t, nullptr, &preview), DotAction::Recalled);
    EXPECT_EQ(t.spike_count, 3);
    EXPECT_EQ(t.sun_type, kSunEclipse);
    EXPECT_STREQ(t.settings_name, "dot 1");
    EXPECT_EQ(preview.shown, dot_port.jpeg);
    EXPECT_EQ(again.display[0], kDotCurrent);
}

TEST_F(Persistence, ErasedAndUnkeptDotsAreGoneNextRun) {
    MemoryDots dots{};
    load_dot_map(dots);
    SunSettings s = fresh();
    for (int i : {3, 4}) click_dot(dots, i, DotClick::Left, s, nullptr, nullptr);
    EXPECT_EQ(click_dot(dots, 5, DotClick::CtrlLeft, s, nullptr, nullptr), DotAction::Stored);
    EXPECT_EQ(dots.map[5], 0);
    EXPECT_EQ(dots.display[5], kDotCurrent);

    EXPECT_EQ(click_dot(dots, 3, DotClick::Right, s, nullptr, nullptr), DotAction::Erased);
    EXPECT_EQ(dots.display[3], kDotEmpty);
    EXPECT_EQ(dots.last_dot, -1);
    EXPECT_EQ(click_dot(dots, 3, DotClick::Right, s, nullptr, nullptr), DotAction::None);
    EXPECT_EQ(click_dot(dots, 4, DotClick::CtrlLeft, s, nullptr, nullptr), DotAction::Unkept);
    EXPECT_EQ(dots.display[4], kDotFilled);  // still shows filled in this run
    ASSERT_EQ(save_dot_map(dots), kFileOk);

    MemoryDots again{};
    load_dot_map(again);
    show_kept_dots(again);
    for (int i = 0; i < kDotCount; ++i) EXPECT_EQ(again.display[i], kDotEmpty) << "dot " << i;
}

TEST_F(Persistence, OneCurrentDotAtATime) {
    MemoryDots dots{};
    load_dot_map(dots);
    SunSettings s = fresh();
    click_dot(dots, 0, DotClick::Left, s, nullptr, nullptr);
    EXPECT_EQ(current_dots(dots), 1);
    click_dot(dots, 7, DotClick::Left, s, nullptr, nullptr);
    EXPECT_EQ(current_dots(dots), 1);
    EXPECT_EQ(dots.display[0], kDotFilled);
    EXPECT_EQ(dots.display[7], kDotCurrent);
    click_dot(dots, 0, DotClick::Left, s, nullptr, nullptr);  // recall
    EXPECT_EQ(current_dots(dots), 1);
    EXPECT_EQ(dots.display[0], kDotCurrent);
    EXPECT_EQ(dots.last_dot, 0);
    settle_current_dot(dots);
    EXPECT_EQ(current_dots(dots), 0);

    // Out-of-range dots are ignored.
    EXPECT_EQ(click_dot(dots, -1, DotClick::Left, s, nullptr, nullptr), DotAction::None);
    EXPECT_EQ(click_dot(dots, kDotCount, DotClick::Left, s, nullptr, nullptr), DotAction::None);
}

TEST_F(Persistence, LastDotAndSpareSlot) {
    MemoryDots dots{};
    load_dot_map(dots);
    SunSettings s = fresh();
    EXPECT_EQ(recall_last_dot(dots, s, nullptr), DotAction::None);
    s.halo_radius = 1;
    click_dot(dots, 12, DotClick::Left, s, nullptr, nullptr);
    s.halo_radius = 2;
    EXPECT_EQ(recall_last_dot(dots, s, nullptr), DotAction::Recalled);
    EXPECT_EQ(s.halo_radius, 1);
    EXPECT_STREQ(s.settings_name, "dot 13");

    // The spare slot keeps the record around other work; a missing one changes nothing.
    SunSettings keep = fresh();
    EXPECT_EQ(read_dot_file(kSpareDot, keep, nullptr).error, kFileCannotOpen);
    keep.bow_radius = 4;
    ASSERT_EQ(write_dot_file(kSpareDot, keep, nullptr), kFileOk);
    EXPECT_TRUE(fs::exists(cache_file("Corvanthe A memory dot 25.q4q")));
    SunSettings back = fresh();
    EXPECT_EQ(read_dot_file(kSpareDot, back, nullptr).error, kFileOk);
    EXPECT_EQ(back.bow_radius, 4);
    EXPECT_EQ(write_dot_file(26, keep, nullptr), kFileCannotOpen);
}

TEST_F(Persistence, ShortMapFileKeepsWhatItHolds) {
    fs::create_directories(root_ / "cache" / "corvanthe");
    testing::write_file(cache_file("Corvanthe memdot map 2").string(), testing::be_ints({40, 1, 0, 1}));
    MemoryDots dots{};
    load_dot_map(dots);
    EXPECT_EQ(dots.map[0], 1);
    EXPECT_EQ(dots.map[2], 1);
    EXPECT_EQ(dots.map[3], 0);
}

}  // namespace corvanthe
