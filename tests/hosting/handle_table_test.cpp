#include "hosting/handle_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvanthe::hosting {
namespace {

TEST(HandleTable, BlocksAreZeroedSizedAndReachableThroughTheMasterPointer) {
    HandleTable table;
    sdk::Handle h = table.allocate(16);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(table.size(h), 16);
    char* p = table.lock(h);
    ASSERT_EQ(p, *h);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(table.allocate(-1), nullptr);
    EXPECT_NE(table.allocate(0), nullptr);
    EXPECT_EQ(table.live_count(), 2u);
    table.release(h);
    EXPECT_FALSE(table.owns(h));
    EXPECT_EQ(table.size(h), -1);
    table.release(h);  // a second release is ignored
    EXPECT_EQ(table.live_count(), 1u);
}

TEST(HandleTable, LockedBlocksStayPutAndCannotBeResized) {
    HandleTable table;
    table.set_relocate_on_lock(true);
    sdk::Handle h = table.allocate(8);
    char* p = table.lock(h);
    std::memcpy(p, "corvanth", 8);
    EXPECT_EQ(table.lock(h), p);  // nested lock: same address
    EXPECT_EQ(table.resize(h, 64), -108);
    table.unlock(h);
    EXPECT_EQ(table.lock_count(h), 1);
    EXPECT_EQ(*h, p);
    table.unlock(h);
    // Unlocked, it may grow, keeping its bytes and zeroing the new ones.
    ASSERT_EQ(table.resize(h, 12), 0);
    char* q = table.lock(h);
    EXPECT_EQ(std::memcmp(q, "corvanth\0\0\0\0", 12), 0);
    table.unlock(h);
    // With relocation on, a block locked again after an unlock moves, with its content.
    char* r = table.lock(h);
    EXPECT_NE(r, q);
    EXPECT_EQ(std::memcmp(r, "corvanth", 8), 0);
}

TEST(HandleTable, ForeignHandlesAreRefused) {
    HandleTable table;
    char* block = nullptr;
    sdk::Handle foreign = &block;
    EXPECT_EQ(table.lock(foreign), nullptr);
    EXPECT_EQ(table.resize(foreign, 4), -108);
    EXPECT_TRUE(table.bytes(foreign).empty());
    table.unlock(foreign);
    table.release(foreign);
}

}  // namespace
}  // namespace corvanthe::hosting
