#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>
#include <string>
#include <unistd.h>

#include "platform/files.h"
#include "platform/folders.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

// A fresh home for one test, with the XDG variables that name folders cleared.
class FakeHome : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("corvanthe-home-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        for (const char* name : kVariables) {
            const char* v = std::getenv(name);
            saved_.push_back(v ? std::optional<std::string>(v) : std::nullopt);
            unsetenv(name);
        }
        setenv("HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        for (std::size_t i = 0; i < std::size(kVariables); ++i) {
            if (saved_[i])
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kVariables[i]);
        }
        fs::remove_all(root_);
    }
    static constexpr const char* kVariables[] = {"HOME", "XDG_DESKTOP_DIR", "XDG_CONFIG_HOME"};
    fs::path root_;
    std::vector<std::optional<std::string>> saved_;
};

void touch(const fs::path& p) { std::ofstream(p) << "x"; }

}  // namespace

TEST_F(FakeHome, DesktopIsMadeUnderTheHome) {
    EXPECT_EQ(desktop_folder(), (root_ / "Desktop").string() + "/");
    EXPECT_TRUE(fs::is_directory(root_ / "Desktop"));
    EXPECT_EQ(desktop_path("sun.html"), (root_ / "Desktop" / "sun.html").string());
}

TEST_F(FakeHome, DesktopFromTheUserFolderList) {
    fs::create_directories(root_ / ".config");
    std::ofstream(root_ / ".config" / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                         << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                                                         << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(desktop_folder(), (root_ / "Schreibtisch").string() + "/");
    EXPECT_TRUE(fs::is_directory(root_ / "Schreibtisch"));

    setenv("XDG_DESKTOP_DIR", (root_ / "elsewhere").c_str(), 1);
    EXPECT_EQ(desktop_folder(), (root_ / "elsewhere").string() + "/");
}

TEST_F(FakeHome, UniqueNamesCountUpBeforeTheExtension) {
    const std::string folder = root_.string() + "/";
    std::string path;
    EXPECT_EQ(unique_path(folder, "sun.q4q", path), kFileOk);
    EXPECT_EQ(path, folder + "sun.q4q");
    touch(folder + "sun.q4q");
    EXPECT_EQ(unique_path(folder, "sun.q4q", path), kFileOk);
    EXPECT_EQ(path, folder + "sun 2.q4q");
    touch(folder + "sun 2.q4q");
    EXPECT_EQ(unique_path(folder, "sun.q4q", path), kFileOk);
    EXPECT_EQ(path, folder + "sun 3.q4q");

    touch(folder + "plain");
    EXPECT_EQ(unique_path(folder, "plain", path), kFileOk);
    EXPECT_EQ(path, folder + "plain 2");
}

TEST_F(FakeHome, UniqueNamesGiveUpAfter999) {
    const std::string folder = root_.string() + "/";
    touch(folder + "page.html");
    for (int n = 2; n <= 998; ++n) touch(folder + "page " + std::to_string(n) + ".html");
    std::string path;
    EXPECT_EQ(unique_path(folder, "page.html", path), kFileOk);
    EXPECT_EQ(path, folder + "page 999.html");
    touch(path);
    EXPECT_EQ(unique_path(folder, "page.html", path), kFileNoUniqueName);
    EXPECT_EQ(path, "");
}

}  // namespace corvanthe
