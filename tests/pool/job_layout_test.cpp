#include "render/job_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/processors.h"
#include "render/worker_pool.h"

namespace corvanthe {
namespace {

sdk::VRect rect(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {top, left, top + height, left + width};
}

sdk::VRect piece(const sdk::VRect& r, int32_t type, int32_t index) {
    JobLayout layout = make_job_layout(r, type);
    select_job(layout, index);
    return layout.piece;
}

TEST(JobLayout, TilesOf256TakenColumnByColumn) {
    const sdk::VRect small = rect(5, 7, 100, 50);
    EXPECT_EQ(make_job_layout(small, 0).job_count, 1);
    const sdk::VRect p = piece(small, 0, 0);
    EXPECT_EQ(p.right - p.left, 100);
    EXPECT_EQ(p.bottom - p.top, 50);

    const sdk::VRect wide = rect(0, 0, 257, 1);
    ASSERT_EQ(make_job_layout(wide, 0).job_count, 2);
    EXPECT_EQ(piece(wide, 0, 0).right - piece(wide, 0, 0).left, 256);
    EXPECT_EQ(piece(wide, 0, 1).left, 256);
    EXPECT_EQ(piece(wide, 0, 1).right, 257);

    const sdk::VRect big = rect(10, 20, 600, 300);  // three columns of two tiles
    const JobLayout layout = make_job_layout(big, 0);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.job_count, 6);
    const sdk::VRect second = piece(big, 0, 1), third = piece(big, 0, 2), last = piece(big, 0, 5);
    EXPECT_EQ(second.left, 0);
    EXPECT_EQ(second.top, 256);
    EXPECT_EQ(second.bottom, 300);
    EXPECT_EQ(third.left, 256);
    EXPECT_EQ(third.top, 0);
    EXPECT_EQ(last.left, 512);
    EXPECT_EQ(last.right, 600);
}

TEST(JobLayout, EveryTypeCoversTheRectangleOnce) {
    const int32_t w = 130, h = 70;
    const sdk::VRect r = rect(-3, 4, w, h);
    const struct {
        int32_t type, jobs;
    } expected[] = {{0, 1}, {1, 130}, {3, 130}, {4, 70}, {5, 3}, {6, 2}, {7, 3}};
    for (const auto& e : expected) {
        const JobLayout layout = make_job_layout(r, e.type);
        ASSERT_EQ(layout.job_count, e.jobs) << "type " << e.type;
        std::vector<int> covered(size_t(w) * h);
        for (int32_t i = 0; i < layout.job_count; ++i) {
            const sdk::VRect p = piece(r, e.type, i);
            for (int32_t y = p.top; y < p.bottom; ++y)
                for (int32_t x = p.left; x < p.right; ++x) ++covered[size_t(y) * w + x];
        }
        for (int c : covered) ASSERT_EQ(c, 1) << "type " << e.type;
    }
    EXPECT_EQ(make_job_layout(r, 2).job_count, 0);  // type 2 cuts nothing
    EXPECT_EQ(make_job_layout(r, 8).job_count, 0);
    EXPECT_EQ(make_job_layout(rect(0, 0, 0, 10), 0).job_count, 0);
    EXPECT_EQ(make_job_layout({5, 5, 4, 9}, 0).job_count, 0);  // bottom above top
}

TEST(ThreadCount, ProcessorsBoundedByJobsAndLayout) {
    set_processor_override(4);
    EXPECT_EQ(thread_count(0, 10), 4);
    EXPECT_EQ(thread_count(0, 1), 1);
    EXPECT_EQ(thread_count(0, 3), 3);
    for (int32_t type : {1, 2, 7}) EXPECT_EQ(thread_count(type, 50), 1) << type;
    EXPECT_EQ(thread_count(5, 50), 4);
    set_processor_override(500);
    EXPECT_EQ(thread_count(0, 1000), 100);
    set_processor_override(0);
    EXPECT_EQ(thread_count(0, 1000), std::min(processor_count(), 100));
}

}  // namespace
}  // namespace corvanthe
