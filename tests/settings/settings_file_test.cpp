#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <algorithm>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "settings/settings_file.h"
#include "settings/settings_test_support.h"

namespace corvanthe {
namespace {

using testing::be_ints;
using testing::read_file;
using testing::write_file;

class SettingsFile : public testing::ScratchFolder {};

SunSettings defaults() {
    SunSettings s{};
    initialise(s);
    return s;
}

// The blocks of a settings file as ints, in file order (block numbers as in the format's table).
std::vector<int32_t> block(int n) {
    switch (n) {
    case 2: return {0x1100, 0x1200, 0x1300, 0x2100, 0x2200, 0x2300, 0x3100, 0x3200, 0x3300};  // sun, flare, halo
    case 3: return {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 0, 1};  // spike brightness .. monopoles
    case 4: return {23, 24, 25, 26, 27};                                 // halo radius .. bow brightness
    case 5: return {28, 29};                                             // flare width, count
    case 6: return {0x4100, 0x4200, 0x4300};                             // colour 4
    case 7: return {0x5100, 0x5200, 0x5300};                             // spike colour
    case 8: return {0x6100, 0x6200, 0x6300};                             // colour 5
    case 9: return {33, 34, 2};                                          // bow smear, flare radius, sun type
    case 10: return {7, 1};                                              // glue, reserved
    case 11: return {37, 38, 0};                                         // master brightness .. flip bow
    case 12: return {40, 41};                                            // spike diffraction, spike detail
    case 13: return {-25, 40, 94};                                       // flare X, Y, Z × 100
    case 14: return {10, -20, 97};                                       // spike X, Y, Z × 100
    case 15: return {1234};                                              // random seed
    case 16: return {49};                                                // flare brightness
    case 17: return {1};                                                 // reserved
    case 18: return {42598, 16384};                                      // centre × 65536
    }
    return {};
}

// A file of `version` with every block that version holds.
std::vector<int32_t> file_of(int32_t version) {
    static const int since[] = {0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 3, 4, 5, 8, 8, 12, 14, 16, 20};
    std::vector<int32_t> ints = {version};
    for (int b = 2; b <= 18; ++b)
        if (version >= since[b]) {
            const auto v = block(b);
            ints.insert(ints.end(), v.begin(), v.end());
        }
    return ints;
}

SettingsReadResult load(const std::string& path, SunSettings& s, ThumbnailPort* port = nullptr) {
    return read_settings_file(path, SettingsReadMode::Load, s, port);
}

}  // namespace

TEST_F(SettingsFile, VersionOneLeavesLaterFieldsAndUpgrades) {
    write_file(path("v1.q4q"), be_ints(file_of(1)));
    SunSettings s = defaults();
    s.sun_type = 3;
    s.glue = 12;
    s.colour5 = {1, 2, 3};
    s.master_brightness = 77;
    s.random_seed = 555;
    s.x_center = 0.25f;
    const SunSettings before = s;
    EXPECT_EQ(load(path("v1.q4q"), s).error, kFileOk);
    EXPECT_EQ(s.sun_colour.red, 0x1100);
    EXPECT_EQ(s.halo_brightness, 100 - 24);
    EXPECT_EQ(s.flare_count, 29);
    EXPECT_EQ(s.colour4.blue, 0x4300);
    // Upgrades of a file from before the spike colour, diffraction, gamma and bow smear.
    EXPECT_EQ(s.spike_colour.red, 0x1100);
    EXPECT_EQ(s.spike_colour.blue, 0x1300);
    EXPECT_EQ(s.spike_diffraction, 100);
    EXPECT_EQ(s.spike_gamma, 50);
    EXPECT_EQ(s.bow_smear, 0);
    // Everything a version-1 file lacks stays.
    EXPECT_EQ(s.sun_type, 3);
    EXPECT_EQ(s.glue, 12);
    EXPECT_EQ(s.colour5.green, 2);
    EXPECT_EQ(s.master_brightness, 77);
    EXPECT_EQ(s.flare_detail, before.flare_detail);
    EXPECT_EQ(s.spike_detail, before.spike_detail);
    EXPECT_EQ(s.flare_x, before.flare_x);
    EXPECT_EQ(s.random_seed, 555);
    EXPECT_EQ(s.flare_brightness, before.flare_brightness);
    EXPECT_EQ(s.x_center, 0.25f);
}

TEST_F(SettingsFile, UpgradesAtTheirVersionBoundaries) {
    struct Case {
        int32_t version;
        std::function<void(std::vector<int32_t>&)> edit;  // on the file's ints
        std::function<void(const SunSettings&)> check;
    };
    // Offsets into file_of(): version 1 int, then blocks 2..7 (35 ints): sun type is the 3rd int of block 9.
    const int sun_type_at = 1 + 35 + 3 + 2;
    const int spike_detail_at = 1 + 35 + 6 + 2 + 3 + 1;
    const int halo_brightness_at = 1 + 9 + 13 + 1;
    const Case cases[] = {
        {10, [&](auto& f) { f[sun_type_at] = 0; }, [](const SunSettings& s) { EXPECT_EQ(s.sun_type, 1); }},
        {11, [&](auto& f) { f[sun_type_at] = 2; }, [](const SunSettings& s) { EXPECT_EQ(s.sun_type, 2); }},
        {12, [&](auto& f) { f[spike_detail_at] = 30; }, [](const SunSettings& s) { EXPECT_EQ(s.spike_detail, 70); }},
        {13, [&](auto& f) { f[spike_detail_at] = 30; }, [](const SunSettings& s) { EXPECT_EQ(s.spike_detail, 30); }},
        {14, [&](auto& f) { f[halo_brightness_at] = 20; }, [](const SunSettings& s) { EXPECT_EQ(s.halo_brightness, 80); }},
        {15, [&](auto& f) { f[halo_brightness_at] = 20; }, [](const SunSettings& s) { EXPECT_EQ(s.halo_brightness, 20); }},
        {6, [](auto&) {}, [](const SunSettings& s) { EXPECT_EQ(s.spike_diffraction, 100); EXPECT_EQ(s.bow_smear, 0); }},
        {7, [](auto&) {}, [](const SunSettings& s) { EXPECT_EQ(s.spike_diffraction, 40); EXPECT_EQ(s.bow_smear, 0); }},
        {9, [](auto&) {}, [](const SunSettings& s) { EXPECT_EQ(s.bow_smear, 33); EXPECT_EQ(s.spike_colour.red, 0x5100); }},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> ints = file_of(c.version);
        c.edit(ints);
        write_file(path("old.q4q"), be_ints(ints));
        SunSettings s = defaults();
        EXPECT_EQ(load(path("old.q4q"), s).error, kFileOk);
        SCOPED_TRACE(::testing::Message() << "version " << c.version);
        c.check(s);
    }
}

TEST_F(SettingsFile, ScaledFloatsInTheFile) {
    SunSettings s = defaults();  // flare X -0.3, X centre 0.65
    s.spike_x = 0.999f;
    s.y_center = -0.5f;
    ASSERT_EQ(write_settings_file(path("f.q4q"), s, nullptr), kFileOk);
    const auto bytes = read_file(path("f.q4q"));
    const auto int_at = [&](int index) {
        const uint8_t* b = &bytes[4 * index];
        return static_cast<int32_t>(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]);
    };
    const int flare_x_at = 1 + 35 + 6 + 2 + 3 + 2;
    EXPECT_EQ(int_at(0), 40);
    EXPECT_EQ(int_at(flare_x_at), -30);
    EXPECT_EQ(int_at(flare_x_at + 2), 93);  // flare Z 0.93680 cut toward zero
    EXPECT_EQ(int_at(flare_x_at + 3), 99);  // 0.999 cut toward zero
    EXPECT_EQ(int_at(flare_x_at + 6 + 3), 42598);  // after spike XYZ, seed, flare brightness, reserved
    EXPECT_EQ(int_at(flare_x_at + 6 + 3 + 1), -32768);

    SunSettings back = defaults();
    back.flare_x = 0;
    back.x_center = 0;
    ASSERT_EQ(load(path("f.q4q"), back).error, kFileOk);
    EXPECT_EQ(back.flare_x, -0.3f);
    EXPECT_EQ(back.x_center, 0.649993896484375f);
    EXPECT_EQ(back.y_center, -0.5f);
    EXPECT_EQ(back.spike_x, 0.99f);
}

TEST_F(SettingsFile, RoundTripKeepsEveryStoredValue) {
    SunSettings s = defaults();
    s.colour5 = {0xFFFF, 0x0001, 0x8000};
    s.glue = 19;
    s.sun_type = 3;
    s.random_seed = -7;
    s.monopoles = 1;
    ASSERT_EQ(write_settings_file(path("r.q4q"), s, nullptr), kFileOk);
    SunSettings back{};
    initialise(back);
    back.colour5 = {};
    back.glue = 1;
    ASSERT_EQ(load(path("r.q4q"), back).error, kFileOk);
    EXPECT_EQ(back.colour5.red, 0xFFFF);
    EXPECT_EQ(back.colour5.green, 1);
    EXPECT_EQ(back.colour5.blue, 0x8000);
    EXPECT_EQ(back.glue, 19);
    EXPECT_EQ(back.sun_type, 3);
    EXPECT_EQ(back.random_seed, -7);
    EXPECT_EQ(back.monopoles, 1);
    EXPECT_EQ(back.halo_brightness, s.halo_brightness);  // no upgrade for version 40
    EXPECT_EQ(back.spike_detail, s.spike_detail);
}

TEST_F(SettingsFile, NoThumbnailEndsFourBytesAfterTheCentre) {
    ASSERT_EQ(write_settings_file(path("k0.q4q"), defaults(), nullptr), kFileOk);
    const auto bytes = read_file(path("k0.q4q"));
    const std::size_t values = file_of(40).size() * 4;  // version and values up to the centre
    ASSERT_EQ(bytes.size(), values + 4);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), std::vector<uint8_t>(4, 0));
}

TEST_F(SettingsFile, ThumbnailWrittenAndShown) {
    testing::RecordingThumbnails port;
    port.jpeg = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
    port.width = 128;
    port.height = 96;
    ASSERT_EQ(write_settings_file(path("t.q4q"), defaults(), &port), kFileOk);
    const auto bytes = read_file(path("t.q4q"));
    const std::size_t values = file_of(40).size() * 4;
    ASSERT_EQ(bytes.size(), values + 16 + port.jpeg.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + values, bytes.begin() + values + 16), be_ints({1, 128, 96, 7}));

    testing::RecordingThumbnails reader;
    SunSettings s = defaults();
    s.sun_radius = 99;
    // Mode 1: the thumbnail alone; the record keeps its values.
    const auto r1 = read_settings_file(path("t.q4q"), SettingsReadMode::ThumbnailOnly, s, &reader);
    EXPECT_EQ(r1.error, kFileOk);
    EXPECT_TRUE(r1.thumbnail_shown);
    EXPECT_EQ(s.sun_radius, 99);
    EXPECT_EQ(reader.shown, port.jpeg);
    EXPECT_EQ(reader.shown_width, 128);
    EXPECT_EQ(reader.shown_height, 96);
    // Mode 0 without an image to show it in: values only.
    reader.has_image = false;
    const auto r0 = load(path("t.q4q"), s, &reader);
    EXPECT_FALSE(r0.thumbnail_shown);
    EXPECT_EQ(reader.shows, 1);
    EXPECT_EQ(s.sun_radius, 38);
}

TEST_F(SettingsFile, ThumbnailBlocksThatAreNotShown) {
    struct Case {
        const char* what;
        std::vector<int32_t> header;  // kind, width, height, byte count
        std::size_t bytes;
    };
    const Case cases[] = {
        {"kind 2 is passed over", {2, 64, 64, 10}, 10},
        {"too many bytes", {1, 64, 64, kThumbnailMaxBytes + 1}, 64},
        {"negative byte count", {1, 64, 64, -5}, 64},
        {"huge byte count", {1, 64, 64, 0x7FFFFFFF}, 64},
        {"width clamps to nothing", {1, -3, 64, 10}, 10},
        {"bytes cut short", {1, 64, 64, 100}, 60},
        {"header cut short", {1, 64}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto file = be_ints(file_of(40));
        const auto header = be_ints(c.header);
        file.insert(file.end(), header.begin(), header.end());
        file.insert(file.end(), c.bytes, 0xAB);
        write_file(path("h.q4q"), file);
        testing::RecordingThumbnails port;
        SunSettings s = defaults();
        const auto r = load(path("h.q4q"), s, &port);
        EXPECT_EQ(r.error, kFileOk);
        EXPECT_FALSE(r.thumbnail_shown);
        EXPECT_EQ(port.shows, 0);
        EXPECT_EQ(s.random_seed, 1234);  // the values came in all the same
    }
    // A width above the clamp is shown at 128.
    auto file = be_ints(file_of(40));
    const auto header = be_ints({1, 500, 40, 3});
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), {1, 2, 3});
    write_file(path("w.q4q"), file);
    testing::RecordingThumbnails port;
    SunSettings s = defaults();
    EXPECT_TRUE(load(path("w.q4q"), s, &port).thumbnail_shown);
    EXPECT_EQ(port.shown_width, 128);
    EXPECT_EQ(port.shown_height, 40);
}

TEST_F(SettingsFile, AFileCutAnywhereKeepsWhatWasRead) {
    // Every value of this file differs from the defaults it is read over.
    const std::vector<int32_t> ints = file_of(40);
    auto full = be_ints(ints);
    const auto thumb = be_ints({1, 16, 16, 8});
    full.insert(full.end(), thumb.begin(), thumb.end());
    full.insert(full.end(), 8, 0x11);
    // A record that a file can hold exactly (the defaults, once through a file) and
    // that file: a field the cut file never reached must still hold its value.
    ASSERT_EQ(write_settings_file(path("d.q4q"), defaults(), nullptr), kFileOk);
    const auto start_bytes = read_file(path("d.q4q"));
    SunSettings start = defaults();
    ASSERT_EQ(load(path("d.q4q"), start).error, kFileOk);

    testing::RecordingThumbnails port;
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(::testing::Message() << "cut at " << length);
        write_file(path("cut.q4q"), std::vector<uint8_t>(full.begin(), full.begin() + length));
        SunSettings cut = start;
        const auto r = load(path("cut.q4q"), cut, &port);
        EXPECT_EQ(r.error, length < 4 ? kFileReadError : kFileOk);
        EXPECT_EQ(r.thumbnail_shown, length == full.size());

        // Expected: the whole ints before the cut, then the start record's ints.
        const std::size_t kept = std::min(ints.size(), length / 4) * 4;
        std::vector<uint8_t> expected_file(full.begin(), full.begin() + kept);
        expected_file.insert(expected_file.end(), start_bytes.begin() + kept, start_bytes.end());
        write_file(path("expected.q4q"), expected_file);
        SunSettings expected = start;
        ASSERT_EQ(load(path("expected.q4q"), expected).error, kFileOk);
        ASSERT_EQ(std::memcmp(&cut, &expected, sizeof cut), 0);
    }
}

// The bytes of a file read from memory go through the same reader: at every cut the
// same outcome, record and thumbnail as the file; and the bytes a save would write
// are the file's.
TEST_F(SettingsFile, BytesInMemoryReadAsTheFile) {
    testing::RecordingThumbnails writer;
    writer.jpeg = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
    writer.width = 128;
    writer.height = 96;
    SunSettings saved = defaults();
    saved.sun_radius = 77;
    saved.flare_x = -0.3f;
    const std::vector<uint8_t> full = settings_file_bytes(saved, &writer);
    ASSERT_EQ(write_settings_file(path("m.q4q"), saved, &writer), kFileOk);
    ASSERT_EQ(read_file(path("m.q4q")), full);

    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(::testing::Message() << "cut at " << length);
        const std::vector<uint8_t> cut(full.begin(), full.begin() + length);
        write_file(path("cut.q4q"), cut);
        for (const SettingsReadMode mode : {SettingsReadMode::Load, SettingsReadMode::ThumbnailOnly}) {
            testing::RecordingThumbnails from_file, from_memory;
            SunSettings file_record = defaults(), memory_record = defaults();
            const auto f = read_settings_file(path("cut.q4q"), mode, file_record, &from_file);
            const auto m = read_settings_file(std::span<const uint8_t>(cut), mode, memory_record, &from_memory);
            EXPECT_EQ(m.error, f.error);
            EXPECT_EQ(m.thumbnail_shown, f.thumbnail_shown);
            EXPECT_EQ(from_memory.shown, from_file.shown);
            EXPECT_EQ(std::memcmp(&memory_record, &file_record, sizeof file_record), 0);
        }
        const SettingsFileLayout f = settings_file_layout(path("cut.q4q"));
        const SettingsFileLayout m = settings_file_layout(std::span<const uint8_t>(cut));
        EXPECT_EQ(m.error, f.error);
        EXPECT_EQ(m.version, f.version);
        EXPECT_EQ(m.thumbnail.byte_count, f.thumbnail.byte_count);
        EXPECT_EQ(m.error == kFileOk, length == full.size());
    }
}

TEST_F(SettingsFile, LoadStartsFromTheDefaults) {
    write_file(path("v1.q4q"), be_ints(file_of(1)));
    SunSettings s = defaults();
    s.sun_type = kSunEclipse;
    s.master_brightness = 3;
    set_text(s.settings_name, "mine");
    EXPECT_EQ(load_settings_file(path("v1.q4q"), s, nullptr).error, kFileOk);
    EXPECT_EQ(s.sun_type, kSunNormal);         // not in a version-1 file: the default
    EXPECT_EQ(s.master_brightness, 30);
    EXPECT_EQ(s.sun_colour.green, 0x1200);     // from the file
    EXPECT_STREQ(s.settings_name, "mine");     // not part of the defaults

    s.master_brightness = 3;
    EXPECT_EQ(load_settings_file(path("missing.q4q"), s, nullptr).error, kFileCannotOpen);
    EXPECT_EQ(s.master_brightness, 3);
}

TEST(SettingsFileName, SaveNameDropsTheLastExtension) {
    SunSettings s{};
    for (const auto& [name, expected] : std::vector<std::pair<const char*, const char*>>{
             {"my.sun.q4q", "my.sun"}, {"plain settings", "plain settings"}, {"dot 3", "dot 3"}, {".q4q", ""}}) {
        set_text(s.settings_name, name);
        EXPECT_EQ(save_name_of(s), expected);
    }
}

TEST_F(SettingsFile, MissingFileLeavesTheRecord) {
    SunSettings s = defaults();
    s.sun_radius = 3;
    const auto r = load(path("nowhere.q4q"), s);
    EXPECT_EQ(r.error, kFileCannotOpen);
    EXPECT_EQ(s.sun_radius, 3);
}

TEST_F(SettingsFile, HostileValuesDoNotOverflow) {
    std::vector<int32_t> ints = file_of(10);
    ints[1 + 9 + 13 + 1] = INT32_MIN;          // halo brightness, inverted
    ints[1 + 35 + 3 + 2] = INT32_MAX;          // sun type, plus one
    write_file(path("x.q4q"), be_ints(ints));
    SunSettings s = defaults();
    EXPECT_EQ(load(path("x.q4q"), s).error, kFileOk);
    EXPECT_EQ(s.halo_brightness, static_cast<int32_t>(100u - 0x80000000u));
    EXPECT_EQ(s.sun_type, INT32_MIN);
}

TEST_F(SettingsFile, AFailedWriteLeavesTheOldFile) {
    SunSettings first = defaults();
    first.sun_radius = 11;
    ASSERT_EQ(write_settings_file(path("keep.q4q"), first, nullptr), kFileOk);
    const auto old_bytes = read_file(path("keep.q4q"));

    // A file-size limit stands in for a full disk: the new file cannot be completed.
    testing::RecordingThumbnails port;
    port.jpeg.assign(4000, 0x55);
    SunSettings second = defaults();
    second.sun_radius = 22;
    auto* old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    rlimit limit = old_limit;
    limit.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const int16_t result = write_settings_file(path("keep.q4q"), second, &port);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(result, kFileWriteError);
    EXPECT_EQ(read_file(path("keep.q4q")), old_bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_), {}), 2) << "only the file and the cache";

    // A file that cannot even be started (no file descriptor left): the old one stays too.
    const int next_descriptor = open("/dev/null", O_RDONLY);
    ASSERT_GE(next_descriptor, 0);
    close(next_descriptor);
    getrlimit(RLIMIT_NOFILE, &old_limit);
    limit = old_limit;
    limit.rlim_cur = rlim_t(next_descriptor);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    const int16_t not_started = write_settings_file(path("keep.q4q"), second, nullptr);
    setrlimit(RLIMIT_NOFILE, &old_limit);
    EXPECT_EQ(not_started, kFileCannotOpen);
    EXPECT_EQ(read_file(path("keep.q4q")), old_bytes);
}

// Saving over a file keeps what the user made of it: links stay links and lead to the
// new settings, hard-linked names all see them, the permissions stay, and no file of
// the user's is touched whatever its name.
TEST_F(SettingsFile, SavingKeepsLinksPermissionsAndOtherFiles) {
    namespace fs = std::filesystem;
    const auto saved_radius = [](const std::string& file) {
        SunSettings s = defaults();
        EXPECT_EQ(read_settings_file(file, SettingsReadMode::Load, s, nullptr).error, kFileOk) << file;
        return s.sun_radius;
    };
    const auto mode_of = [](const std::string& file) { return fs::status(file).permissions() & fs::perms::mask; };
    SunSettings first = defaults();
    first.sun_radius = 11;
    SunSettings second = defaults();
    second.sun_radius = 22;

    fs::create_directory(path("kept"));
    ASSERT_EQ(write_settings_file(path("kept/real.q4q"), first, nullptr), kFileOk);
    fs::permissions(path("kept/real.q4q"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_hard_link(path("kept/real.q4q"), path("second name.q4q"));
    fs::create_symlink("kept/real.q4q", path("link.q4q"));
    fs::create_symlink("link.q4q", path("link to link.q4q"));
    fs::create_symlink("kept/new.q4q", path("dangling.q4q"));
    write_file(path("link.q4q.partial"), {'m', 'i', 'n', 'e'});
    write_file(path("kept/real.q4q.partial"), {'m', 'i', 'n', 'e'});

    ASSERT_EQ(write_settings_file(path("link to link.q4q"), second, nullptr), kFileOk);
    EXPECT_TRUE(fs::is_symlink(path("link to link.q4q")));
    EXPECT_TRUE(fs::is_symlink(path("link.q4q")));
    EXPECT_EQ(saved_radius(path("kept/real.q4q")), 22);
    EXPECT_EQ(saved_radius(path("second name.q4q")), 22) << "the hard link still shares the file";
    EXPECT_EQ(fs::hard_link_count(path("kept/real.q4q")), 2u);
    EXPECT_EQ(mode_of(path("kept/real.q4q")), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_EQ(write_settings_file(path("dangling.q4q"), first, nullptr), kFileOk);
    EXPECT_TRUE(fs::is_symlink(path("dangling.q4q")));
    EXPECT_EQ(saved_radius(path("kept/new.q4q")), 11);

    ASSERT_EQ(write_settings_file(path("kept/real.q4q"), first, nullptr), kFileOk);
    EXPECT_EQ(saved_radius(path("second name.q4q")), 11);

    // A file saved without links is replaced in one step, keeping its permissions.
    ASSERT_EQ(write_settings_file(path("plain.q4q"), first, nullptr), kFileOk);
    fs::permissions(path("plain.q4q"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const auto inode = [](const std::string& file) {
        struct stat st {};
        stat(file.c_str(), &st);
        return st.st_ino;
    };
    const auto old_inode = inode(path("plain.q4q"));
    ASSERT_EQ(write_settings_file(path("plain.q4q"), second, nullptr), kFileOk);
    EXPECT_EQ(saved_radius(path("plain.q4q")), 22);
    EXPECT_NE(inode(path("plain.q4q")), old_inode) << "replaced by a new file, not rewritten";
    EXPECT_EQ(mode_of(path("plain.q4q")), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);

    EXPECT_EQ(read_file(path("link.q4q.partial")), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(read_file(path("kept/real.q4q.partial")), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"cache", "dangling.q4q", "kept", "link to link.q4q", "link.q4q",
                                              "link.q4q.partial", "new.q4q", "plain.q4q", "real.q4q",
                                              "real.q4q.partial", "second name.q4q"}))
        << "no new file left behind";
}

}  // namespace corvanthe
