#include <gtest/gtest.h>

#include "platform/c_random.h"

namespace corvanthe {

TEST(CRandom, FollowsTheClassicWindowsRuntimeSequence) {
    CRandom random;  // unseeded starts as srand(1)
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    EXPECT_EQ(random.next(), 26500);
    random.seed(1);
    EXPECT_EQ(random.next(), 41);
}

TEST(CRandom, StaysWithinFifteenBits) {
    CRandom random;
    random.seed(0xDEADBEEF);
    for (int i = 0; i < 100000; ++i) {
        const int v = random.next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

}  // namespace corvanthe
