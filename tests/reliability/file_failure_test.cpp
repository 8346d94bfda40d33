// The program's own files when the system will not have them: a temporary folder that
// cannot be made or used, and a disk that fills while a file is written. Runs succeed
// without the files, and no file is ever left half-written.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

#include "host/plugin_main.h"
#include "hosting/host.h"
#include "platform/folders.h"
#include "reliability_support.h"
#include "settings/memory_dots.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"

namespace corvanthe::reliability {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

std::vector<char> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

SunSettings defaults_with_radius(int32_t radius) {
    SunSettings s;
    std::memset(&s, 0, sizeof s);
    initialise(s);
    s.sun_radius = radius;
    return s;
}

// Writes beyond `bytes` fail with EFBIG (the signal that would end the process is
// ignored meanwhile), as on a disk that is full.
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFullAfter() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

class FileFailureTest : public ReliabilityTest {
protected:
    // A run through PluginMain that must succeed and render.
    void expect_run_succeeds(const std::string& where) {
        for (const bool with_dialog : {false, true}) {
            paint_log = {};
            const hosting::Document before = patterned(50, 40, 8, ColourKind::rgb, false);
            hosting::Host host(before);
            const hosting::RunResult run = host.run_filter(PluginMain, with_dialog);
            EXPECT_EQ(run.result, 0) << where;
            EXPECT_EQ(run.selector, sdk::kFilterSelectorFinish) << where;
            EXPECT_TRUE(painted_exactly_the_filter_area(host.document(), before)) << where;
        }
    }
};

TEST_F(FileFailureTest, AnUnusableTemporaryFolderLeavesRunsAndFilesAlone) {
    const fs::path file = root_ / "a file";
    std::ofstream(file) << "not a folder";
    const fs::path unusable[] = {file, file / "below", "/proc"};
    for (const fs::path& place : unusable) {
        setenv("XDG_CACHE_HOME", place.c_str(), 1);
        EXPECT_EQ(temporary_folder(), "") << place;
        const SunSettings written = defaults_with_radius(77);
        EXPECT_EQ(save_cached_settings(written, nullptr), kFileCannotOpen) << place;
        SunSettings read = defaults_with_radius(12);
        EXPECT_EQ(load_cached_settings(read, nullptr).error, kFileCannotOpen) << place;
        EXPECT_EQ(read.sun_radius, 12);

        MemoryDots dots{};
        dots.map[3] = 1;
        EXPECT_EQ(save_dot_map(dots), kFileCannotOpen) << place;
        load_dot_map(dots);
        EXPECT_EQ(dots.map[3], 0) << place;

        expect_run_succeeds(place.string());
    }
    EXPECT_EQ(contents(file), std::vector<char>({'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'}));

    // A cache folder that does not exist yet is made, as ~/.cache would be, and used.
    setenv("XDG_CACHE_HOME", (root_ / "missing" / "deeper").c_str(), 1);
    EXPECT_EQ(save_cached_settings(defaults_with_radius(77), nullptr), kFileOk);
    SunSettings read = defaults_with_radius(12);
    EXPECT_EQ(load_cached_settings(read, nullptr).error, kFileOk);
    EXPECT_EQ(read.sun_radius, 77);
}

TEST_F(FileFailureTest, AFolderOfAnotherUserIsNotUsed) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder away";
    const fs::path theirs = root_ / "corvanthe";
    fs::create_directory(theirs);
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    EXPECT_EQ(temporary_folder(), "");
    EXPECT_EQ(save_cached_settings(defaults_with_radius(77), nullptr), kFileCannotOpen);
    expect_run_succeeds("another user's folder");
    EXPECT_TRUE(fs::is_empty(theirs));
}

TEST_F(FileFailureTest, AFullDiskKeepsTheOldFileWhole) {
    const std::string path = (root_ / "preset.q4q").string();
    ASSERT_EQ(write_settings_file(path, defaults_with_radius(40), nullptr), kFileOk);
    const std::vector<char> old = contents(path);
    ASSERT_GT(old.size(), 100u);
    {
        DiskFullAfter full(100);
        EXPECT_EQ(write_settings_file(path, defaults_with_radius(90), nullptr), kFileWriteError);
    }
    EXPECT_EQ(contents(path), old);
    // Nothing beside it: the partial file went.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
    // With room again the same write goes through.
    EXPECT_EQ(write_settings_file(path, defaults_with_radius(90), nullptr), kFileOk);
    EXPECT_NE(contents(path), old);
}

TEST_F(FileFailureTest, AFullDiskKeepsTheProgramsOwnFilesWhole) {
    ASSERT_EQ(save_cached_settings(defaults_with_radius(40), nullptr), kFileOk);
    MemoryDots dots{};
    dots.map[5] = 1;
    ASSERT_EQ(save_dot_map(dots), kFileOk);
    const std::vector<std::string> files = program_files();
    ASSERT_EQ(files.size(), 2u);
    std::vector<std::vector<char>> old;
    for (const std::string& name : files) old.push_back(contents(program_folder() / name));

    {
        DiskFullAfter full(16);
        EXPECT_EQ(save_cached_settings(defaults_with_radius(90), nullptr), kFileWriteError);
        dots.map[6] = 1;
        EXPECT_EQ(save_dot_map(dots), kFileWriteError);
        // A whole run writes its files at the end and still succeeds.
        expect_run_succeeds("full disk");
    }
    EXPECT_EQ(program_files(), files);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(contents(program_folder() / files[i]), old[i]) << files[i];
    // With room again a run does rewrite the cached settings (now with its thumbnail).
    expect_run_succeeds("room again");
    EXPECT_NE(contents(program_folder() / "Corvanthe cached settings D"), old[0]);
}

}  // namespace
}  // namespace corvanthe::reliability
