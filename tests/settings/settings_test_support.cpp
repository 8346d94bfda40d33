#include "settings/settings_test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace corvanthe::testing {

void ScratchFolder::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("corvanthe-settings-" + std::to_string(getpid()) + "-" + info->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    const char* old = std::getenv("XDG_CACHE_HOME");
    had_cache_ = old != nullptr;
    if (old) old_cache_ = old;
    setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
    std::filesystem::create_directories(root_ / "cache");
}

void ScratchFolder::TearDown() {
    if (had_cache_)
        setenv("XDG_CACHE_HOME", old_cache_.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
    std::filesystem::remove_all(root_);
}

bool RecordingThumbnails::compress(ThumbnailJpeg& out) {
    if (jpeg.empty()) return false;
    out = {jpeg.data(), jpeg.size(), width, height};
    return true;
}

bool RecordingThumbnails::show(const uint8_t* data, std::size_t size, int32_t w, int32_t h) {
    ++shows;
    shown.assign(data, data + size);
    shown_width = w;
    shown_height = h;
    return true;
}

std::vector<uint8_t> be_ints(const std::vector<int32_t>& ints) {
    std::vector<uint8_t> out;
    for (int32_t v : ints) {
        const uint32_t u = static_cast<uint32_t>(v);
        out.insert(out.end(), {uint8_t(u >> 24), uint8_t(u >> 16), uint8_t(u >> 8), uint8_t(u)});
    }
    return out;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace corvanthe::testing
