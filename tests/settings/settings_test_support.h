#pragma once
// Shared by the settings tests: a private scratch folder (also standing in for the
// user's cache through XDG_CACHE_HOME), a thumbnail port that records what it is
// given, and a builder of big-endian files.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/thumbnail_port.h"

namespace corvanthe::testing {

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::filesystem::path root_;

private:
    std::string old_cache_;
    bool had_cache_ = false;
};

class RecordingThumbnails : public ThumbnailPort {
public:
    bool compress(ThumbnailJpeg& out) override;
    bool can_show() const override { return has_image; }
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override;

    bool has_image = true;
    std::vector<uint8_t> jpeg;  // what compress hands out; empty: no thumbnail
    int32_t width = 128, height = 128;
    int shows = 0;
    std::vector<uint8_t> shown;
    int32_t shown_width = -1, shown_height = -1;
};

std::vector<uint8_t> be_ints(const std::vector<int32_t>& ints);
std::vector<uint8_t> read_file(const std::string& path);
void write_file(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace corvanthe::testing
