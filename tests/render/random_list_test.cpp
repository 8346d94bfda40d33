// The constant list behind every seeded random table: stored settings name seeds, so
// the list must never change. It is pinned three ways: against its generator, by a
// checksum taken outside this code base, and by its distribution.
#include <gtest/gtest.h>

#include <set>

#include "render/random_list.h"

namespace corvanthe {
namespace {

// The generator the list was made with (see random_list.h).
std::array<uint16_t, kRandomListSize> generate_list() {
    std::array<uint16_t, kRandomListSize> list{};
    uint32_t x = 0x436F7276u;
    for (auto& v : list) {
        x = x * 1664525u + 1013904223u;
        v = uint16_t(x >> 21);
    }
    return list;
}

TEST(RandomList, IsWhatItsGeneratorMade) {
    EXPECT_EQ(kRandomList, generate_list());
}

TEST(RandomList, ChecksumIsPinned) {
    // FNV-1a 64 over the values as little-endian 16-bit words, computed once with a
    // separate script when the list was made.
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint16_t v : kRandomList)
        for (int byte = 0; byte < 2; ++byte) {
            h ^= (v >> (8 * byte)) & 0xFF;
            h *= 0x100000001b3ull;
        }
    EXPECT_EQ(h, 0x4d7e7ce1176d33a4ull);
}

TEST(RandomList, LooksUniformWithRepeats) {
    std::set<uint16_t> distinct(kRandomList.begin(), kRandomList.end());
    // Drawing 2048 of 2048 values with repeats leaves about 1 - 1/e (63 %) distinct.
    EXPECT_GT(distinct.size(), 1250u);
    EXPECT_LT(distinct.size(), 1350u);
    int buckets[8] = {};
    int low_bytes[8] = {};
    for (uint16_t v : kRandomList) {
        ASSERT_LT(v, 2048);
        ++buckets[v / 256];
        ++low_bytes[(v % 256) / 32];  // the random table uses v mod 256
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(buckets[i], 256, 60) << "range " << i;
        EXPECT_NEAR(low_bytes[i], 256, 60) << "low byte range " << i;
    }
}

}  // namespace
}  // namespace corvanthe
