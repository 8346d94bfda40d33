#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/shell.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

// PATH pointed at a folder of stand-ins for the test's duration.
class ShellOpen : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        if (const char* path = std::getenv("PATH")) saved_path_ = path;
        setenv("PATH", dir_.c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", saved_path_.c_str(), 1);
        fs::remove_all(dir_);
    }
    fs::path dir_ = fs::temp_directory_path() / ("corvanthe-shell-" + std::to_string(getpid()));
    std::string saved_path_;
};

TEST_F(ShellOpen, HandsThePathToXdgOpenWithoutWaitingForIt) {
    // The stand-in waits for a go-ahead file before it writes its note, so the call
    // can only return while the opener is still running. The note appears whole (renamed
    // into place), so the test never reads it half-written.
    const std::string note = (dir_ / "opened").string();
    std::ofstream(dir_ / "xdg-open") << "#!/bin/sh\nwhile [ ! -e '" << (dir_ / "go").string()
                                     << "' ]; do /bin/sleep 0.05; done\necho \"$1\" > '" << note
                                     << ".part' && /bin/mv '" << note << ".part' '" << note << "'\n";
    fs::permissions(dir_ / "xdg-open", fs::perms::owner_all);
    EXPECT_TRUE(open_with_desktop("/some folder/page & more.html"));
    EXPECT_FALSE(fs::exists(dir_ / "opened"));
    std::ofstream(dir_ / "go") << "";
    for (int i = 0; i < 200 && !fs::exists(dir_ / "opened"); ++i) usleep(50000);
    std::ifstream in(dir_ / "opened");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "/some folder/page & more.html\n");
}

TEST_F(ShellOpen, FailsWhenThereIsNoOpener) {
    std::ofstream(dir_ / "xdg-open") << "#!/bin/sh\n";  // not executable
    EXPECT_FALSE(open_with_desktop("/tmp/page.html"));
}

}  // namespace
}  // namespace corvanthe
