// Every test process keeps the program's files (cached settings, memory dots, undo)
// in a fresh folder of its own, never in the user's cache and never shared between tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class PrivateCache : public ::testing::Environment {
public:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanthe-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            folder_ = pattern;
            setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
        }
    }
    void TearDown() override {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::string folder_;
};

const auto* const kPrivateCache = ::testing::AddGlobalTestEnvironment(new PrivateCache);

}  // namespace
