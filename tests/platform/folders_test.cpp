#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"
#include "platform/processors.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

// Points XDG_CACHE_HOME at a fresh folder for one test.
class TemporaryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("corvanthe-folders-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        const char* old = std::getenv("XDG_CACHE_HOME");
        had_old_ = old != nullptr;
        if (old) old_ = old;
        setenv("XDG_CACHE_HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        if (had_old_)
            setenv("XDG_CACHE_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CACHE_HOME");
        fs::remove_all(root_);
    }
    fs::path root_;
    std::string old_;
    bool had_old_ = false;
};

mode_t permissions(const fs::path& p) {
    struct stat st;
    EXPECT_EQ(lstat(p.c_str(), &st), 0);
    return st.st_mode & 0777;
}

}  // namespace

TEST_F(TemporaryFolder, IsAPrivateFolderUnderTheCache) {
    const std::string folder = temporary_folder();
    EXPECT_EQ(folder, (root_ / "corvanthe").string() + "/");
    EXPECT_EQ(permissions(root_ / "corvanthe"), 0700u);
    EXPECT_EQ(temporary_path("Corvanthe cached settings D"), folder + "Corvanthe cached settings D");
}

TEST_F(TemporaryFolder, CreatesAMissingCacheFolderOwnerOnly) {
    const fs::path cache = root_ / "not yet" / "cache";
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    EXPECT_EQ(temporary_folder(), (cache / "corvanthe").string() + "/");
    EXPECT_EQ(permissions(root_ / "not yet"), 0700u);
    EXPECT_EQ(permissions(cache), 0700u);
    EXPECT_EQ(permissions(cache / "corvanthe"), 0700u);
}

TEST_F(TemporaryFolder, TightensAFolderOthersCouldWrite) {
    fs::create_directory(root_ / "corvanthe");
    chmod((root_ / "corvanthe").c_str(), 0777);
    EXPECT_FALSE(temporary_folder().empty());
    EXPECT_EQ(permissions(root_ / "corvanthe"), 0700u);
}

TEST_F(TemporaryFolder, RefusesALinkPlantedInItsPlace) {
    fs::create_directory(root_ / "elsewhere");
    fs::create_directory_symlink(root_ / "elsewhere", root_ / "corvanthe");
    EXPECT_EQ(temporary_folder(), "");
    EXPECT_EQ(temporary_path("Corvanthe undo 0"), "");
}

TEST_F(TemporaryFolder, RefusesAFolderOfAnotherUser) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the folder to another user";
    fs::create_directory(root_ / "corvanthe");
    ASSERT_EQ(chown((root_ / "corvanthe").c_str(), 65534, 65534), 0);
    EXPECT_EQ(temporary_folder(), "");
}

TEST(Processors, CountAtLeastOne) { EXPECT_GE(processor_count(), 1); }

}  // namespace corvanthe
