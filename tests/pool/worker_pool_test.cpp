#include "render/worker_pool.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <dirent.h>
#endif

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/event.h"
#include "render/job_layout.h"

namespace corvanthe {
namespace {

// The value the work computes for pixel (x, y): enough arithmetic to keep threads busy a moment.
float value_at(int32_t x, int32_t y) {
    float v = 0.0f;
    for (int32_t i = 1; i <= 40; ++i) v = v * 0.5f + float((x * 31 + y * 17 + i) % 97);
    return v;
}

// Renders value_at into the first cell buffer on the worker, and on completion copies the piece into
// an image of the rectangle, recording on which threads each step ran.
class ImageWork final : public JobWork {
public:
    ImageWork(const sdk::VRect& r, int32_t jobs)
        : rect(r), width(r.right - r.left), image(size_t(width) * (r.bottom - r.top), -1.0f),
          writes(image.size(), 0), worker(size_t(jobs)), completed(size_t(jobs), 0) {}

    int32_t layer_count() const override { return 1; }

    void work(JobTask& task) override {
        const int32_t now = ++running;
        for (int32_t seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        worker[size_t(task.index)] = std::this_thread::get_id();
        for (int32_t y = task.piece.top; y < task.piece.bottom; ++y)
            for (int32_t x = task.piece.left; x < task.piece.right; ++x)
                write_colour(task.cells.buffers[0], x, y, value_at(x, y), 0, 0, 1);
        --running;
    }

    void complete(JobTask& task) override {
        if (in_completion) overlapped = true;
        in_completion = true;
        if (std::this_thread::get_id() != caller) off_caller = true;
        ++completed[size_t(task.index)];
        for (int32_t y = task.piece.top; y < task.piece.bottom; ++y)
            for (int32_t x = task.piece.left; x < task.piece.right; ++x) {
                const size_t at = size_t(y - rect.top) * width + size_t(x - rect.left);
                image[at] = task.cells.buffers[0].cell(x, y)->colour[0];
                ++writes[at];
            }
        in_completion = false;
    }

    int32_t jobs_completed() const {
        int32_t n = 0;
        for (int c : completed) n += c;
        return n;
    }

    int32_t jobs_worked() const {
        int32_t n = 0;
        for (const auto& id : worker) n += id != std::thread::id();
        return n;
    }

    // The work stops itself once this many jobs have completed; 0 never.
    bool stopped() const override { return stop_after > 0 && jobs_completed() >= stop_after; }

    sdk::VRect rect;
    int32_t width;
    std::vector<float> image;
    std::vector<int> writes;
    std::vector<std::thread::id> worker;
    std::vector<int> completed;
    std::thread::id caller = std::this_thread::get_id();
    std::atomic<int32_t> running{0}, most{0};
    bool in_completion = false, overlapped = false, off_caller = false;
    int32_t stop_after = 0;
};

struct Processors {
    explicit Processors(int32_t n) { set_processor_override(n); }
    ~Processors() { set_processor_override(0); }
};

const sdk::VRect kArea{3, -7, 3 + 600, -7 + 700};  // 3 columns x 3 rows of tiles, partial at the edges

TEST(WorkerPool, SameImageAtOneAndManyThreadsAndSerially) {
    const int32_t jobs = make_job_layout(kArea, 0).job_count;
    ASSERT_EQ(jobs, 9);
    std::vector<float> expected;
    for (int32_t y = kArea.top; y < kArea.bottom; ++y)
        for (int32_t x = kArea.left; x < kArea.right; ++x) expected.push_back(value_at(x, y));

    for (int32_t processors : {1, 4}) {
        Processors p(processors);
        ImageWork work(kArea, jobs);
        EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, work));
        EXPECT_EQ(work.image, expected) << processors;
        EXPECT_EQ(work.writes, std::vector<int>(work.writes.size(), 1));
        EXPECT_EQ(work.completed, std::vector<int>(size_t(jobs), 1));
        EXPECT_LE(work.most.load(), processors);
        EXPECT_FALSE(work.overlapped);
        EXPECT_FALSE(work.off_caller);
        for (const auto& id : work.worker) EXPECT_NE(id, work.caller);  // a fresh thread per job
    }
    ImageWork serial(kArea, jobs);
    EXPECT_TRUE(run_jobs_serial(kSunJob, kArea, 0, serial));
    EXPECT_EQ(serial.image, expected);
    for (const auto& id : serial.worker) EXPECT_EQ(id, serial.caller);
}

TEST(WorkerPool, SmallRectangleRunsOneJobOnOneThread) {
    Processors p(8);
    const sdk::VRect small{0, 0, 40, 90};
    ImageWork work(small, 1);
    EXPECT_TRUE(run_jobs(kSunJob, small, 0, work));
    EXPECT_EQ(work.jobs_completed(), 1);
    EXPECT_EQ(work.most.load(), 1);
    EXPECT_NE(work.worker[0], work.caller);
}

TEST(WorkerPool, SingleThreadLayoutsNeverRunJobsSideBySide) {
    Processors p(4);
    const sdk::VRect area{0, 0, 20, 300};
    for (int32_t type : {1, 7}) {
        const int32_t jobs = make_job_layout(area, type).job_count;
        ImageWork work(area, jobs);
        EXPECT_TRUE(run_jobs(kSunJob, area, type, work));
        EXPECT_EQ(work.jobs_completed(), jobs);
        EXPECT_EQ(work.most.load(), 1) << type;
    }
}

TEST(WorkerPool, EmptyRunsReturnAtOnce) {
    ImageWork work({0, 0, 1, 1}, 1);
    EXPECT_TRUE(run_jobs(kSunJob, {0, 0, 0, 10}, 0, work));
    EXPECT_TRUE(run_jobs(kSunJob, {0, 0, 10, 10}, 2, work));
    EXPECT_EQ(work.jobs_completed(), 0);
}

// Progress with a clock that the completion steps advance by one second each.
int64_t fake_now = 0;
int64_t fake_clock() { return fake_now; }

class ProgressWork final : public JobWork {
public:
    int32_t layer_count() const override { return 0; }
    void work(JobTask&) override {}
    void complete(JobTask&) override { ++fake_now; }
    void progress(int32_t finished, int32_t total) override {
        reports.push_back(finished);
        totals.push_back(total);
    }
    std::vector<int32_t> reports, totals;
};

TEST(WorkerPool, ProgressAtOnceThenEveryTwoSeconds) {
    Processors p(3);
    const sdk::VRect area{0, 0, 1, 6};  // six single-column jobs with layout type 3
    PoolOptions options;
    options.clock = fake_clock;
    for (bool serial : {false, true}) {
        fake_now = 0;
        ProgressWork work;
        WorkerPool pool(serial, options);
        EXPECT_TRUE(pool.run(kSunJob, area, 3, work));
        // completions at seconds 1..6; the first reports at once, then at 3 and 5
        EXPECT_EQ(work.reports, (std::vector<int32_t>{1, 3, 5}));
        EXPECT_EQ(work.totals, (std::vector<int32_t>{6, 6, 6}));
    }
}

// Refuses the resource for the job indices in the mask.
PoolResource refused_resource;
uint32_t refused_jobs;
bool refuse(PoolResource what, int32_t index) {
    return what == refused_resource && index < 32 && (refused_jobs >> index & 1);
}

bool refuse_threads(PoolResource what, int32_t) { return what == PoolResource::thread; }

// Checks that every byte of its two cell buffers, frame included, is zero when its work starts,
// then scribbles over them so that the heap blocks of the next jobs come back dirty.
class DirtyingWork final : public JobWork {
public:
    int32_t layer_count() const override { return 2; }
    void work(JobTask& task) override {
        for (int32_t i = 0; i < task.cells.count; ++i) {
            const CellBuffer& b = task.cells.buffers[i];
            auto* bytes = reinterpret_cast<unsigned char*>(b.cells);
            const size_t size = size_t(b.columns) * size_t(b.rows) * sizeof(Cell);
            for (size_t at = 0; at < size; ++at)
                if (bytes[at] != 0) ++dirty;
            std::memset(bytes, 0xA5, size);
        }
        ++jobs;
    }
    std::atomic<int32_t> dirty{0}, jobs{0};
};

TEST(WorkerPool, WorkFindsItsCellsZeroedThoughTheHeapIsDirty) {
    Processors p(2);
    PoolOptions options;
    options.refuse = refuse_threads;
    for (int32_t round = 0; round < 3; ++round) {
        DirtyingWork threaded, serial, inline_runs;
        EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, threaded));
        EXPECT_TRUE(run_jobs_serial(kSunJob, kArea, 0, serial));
        EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, inline_runs, options));  // no threads: on the caller
        for (const DirtyingWork* work : {&threaded, &serial, &inline_runs}) {
            EXPECT_EQ(work->jobs.load(), 9);
            EXPECT_EQ(work->dirty.load(), 0) << round;
        }
    }
}

#ifdef __linux__
int32_t live_threads() {
    int32_t n = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++n;
        closedir(dir);
    }
    return n;
}

TEST(WorkerPool, ARunLeavesNoThreadBehind) {
    Processors p(3);
    ImageWork warm_up(kArea, 9);  // a sanitizer's own helper thread starts with the first thread
    EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, warm_up));
    const int32_t before = live_threads();
    ASSERT_GT(before, 0);
    ImageWork work(kArea, 9);
    EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, work));
    EXPECT_EQ(live_threads(), before);
}
#endif

TEST(WorkerPool, JobsWithoutRecordOrBuffersAreSkippedAndTheRunEnds) {
    Processors p(2);
    PoolOptions options;
    options.refuse = refuse;
    for (PoolResource what : {PoolResource::job_record, PoolResource::cell_buffers}) {
        for (uint32_t mask : {0x3u, 0x1ffu, 0x24u}) {
            refused_resource = what;
            refused_jobs = mask;
            ImageWork work(kArea, 9);
            EXPECT_FALSE(run_jobs(kSunJob, kArea, 0, work, options));
            for (int32_t i = 0; i < 9; ++i) {
                const bool skipped = mask >> i & 1;
                EXPECT_EQ(work.completed[size_t(i)], skipped ? 0 : 1) << i;
                EXPECT_EQ(work.worker[size_t(i)] == std::thread::id(), skipped) << i;
            }
        }
    }
}

TEST(WorkerPool, WorkThatStopsGetsNoFurtherJobsStarted) {
    // Those running when the work stops finish and complete; none starts after them.
    for (int32_t processors : {1, 3}) {
        Processors p(processors);
        ImageWork work(kArea, 9);
        work.stop_after = 1;
        EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, work));
        EXPECT_GE(work.jobs_worked(), 1) << processors;
        EXPECT_LE(work.jobs_worked(), processors) << processors;
        EXPECT_EQ(work.jobs_completed(), work.jobs_worked()) << processors;
    }
    ImageWork serial(kArea, 9);
    serial.stop_after = 2;
    EXPECT_TRUE(run_jobs_serial(kSunJob, kArea, 0, serial));
    EXPECT_EQ(serial.jobs_worked(), 2);
    EXPECT_EQ(serial.jobs_completed(), 2);
}

TEST(WorkerPool, WithoutThreadsOrEventsJobsRunOnTheCallingThread) {
    Processors p(3);
    PoolOptions options;
    options.refuse = refuse;
    for (PoolResource what : {PoolResource::thread, PoolResource::events}) {
        refused_resource = what;
        refused_jobs = what == PoolResource::thread ? 0x15u : 0x1u;
        ImageWork work(kArea, 9);
        EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, work, options));
        EXPECT_EQ(work.completed, std::vector<int>(9, 1));
        EXPECT_EQ(work.writes, std::vector<int>(work.writes.size(), 1));
        EXPECT_FALSE(work.off_caller);
        if (what == PoolResource::thread) {
            EXPECT_EQ(work.worker[0], work.caller);
            EXPECT_EQ(work.worker[2], work.caller);
            EXPECT_NE(work.worker[1], work.caller);
        } else {
            for (const auto& id : work.worker) EXPECT_EQ(id, work.caller);
        }
    }
}

TEST(WorkerPool, AFailedWaitStillCompletesEveryJobOnceOnTheCallingThread) {
    Processors p(3);
    PoolOptions options;
    options.refuse = refuse;
    refused_resource = PoolResource::wait;
    refused_jobs = 0x1u;  // the first wait fails
    ImageWork work(kArea, 9);
    EXPECT_TRUE(run_jobs(kSunJob, kArea, 0, work, options));
    EXPECT_EQ(work.completed, std::vector<int>(9, 1));
    EXPECT_EQ(work.writes, std::vector<int>(work.writes.size(), 1));
    EXPECT_FALSE(work.off_caller);
    EXPECT_FALSE(work.overlapped);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(work.worker[i] == work.caller, i >= 3) << i;  // the rest ran here
}

TEST(EventSet, AutoResetAndWaitForAny) {
    EventSet events;
    ASSERT_TRUE(events.create(4));
    events.set(3);
    events.set(1);
    EXPECT_EQ(events.wait_any(0, 4), 1);  // the lowest signalled, now cleared
    EXPECT_EQ(events.wait_any(0, 4), 3);
    events.set(2);
    events.reset(2);
    events.set(0);
    EXPECT_EQ(events.wait_any(0, 4), 0);

    int handed = 0;
    std::thread partner([&] {
        events.wait(0);
        handed = 42;
        events.set(3);
    });
    events.set(0);
    EXPECT_EQ(events.wait_any(2, 2), 3);
    EXPECT_EQ(handed, 42);
    partner.join();
    EXPECT_FALSE(events.create(0));
}

}  // namespace
}  // namespace corvanthe
