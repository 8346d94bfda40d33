#include "render/worker_pool.h"

#include <atomic>
#include <chrono>
#include <new>
#include <utility>

#include "platform/event.h"
#include "platform/processors.h"
#include "platform/thread.h"
#include "render/job_layout.h"

namespace corvanthe {
namespace {

std::atomic<int32_t> processor_override{0};

int64_t steady_seconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr int64_t kProgressInterval = 2;  // seconds

// One job from its start to its completion step. The worker thread touches only task (and its
// cell buffers) and the slot's events.
struct JobRecord {
    JobLayout layout;
    JobTask task;
    Thread thread;
    JobWork* work = nullptr;
    EventSet* events = nullptr;
    int32_t go = 0;
    int32_t done = 0;
};

// The state of one run on the calling thread.
class Run {
public:
    Run(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work, const PoolOptions& options)
        : kind_(kind), layout_(make_job_layout(rect, layout_type)), work_(work), options_(options),
          clock_(options.clock ? options.clock : steady_seconds), last_report_(clock_() - kProgressInterval) {}

    int32_t job_count() const { return layout_.job_count; }
    bool all_ran() const { return all_ran_; }
    bool jobs_left() const { return started_ < layout_.job_count; }

    bool refused(PoolResource what, int32_t index) const { return options_.refuse && options_.refuse(what, index); }

    // Allocates the next job with its cell buffers; null when it had to be skipped.
    JobRecord* begin_next() {
        const int32_t index = started_++;
        JobRecord* job = refused(PoolResource::job_record, index) ? nullptr : new (std::nothrow) JobRecord;
        if (!job) return skip();
        job->layout = layout_;
        select_job(job->layout, index);
        const sdk::VRect& r = layout_.rect;
        const sdk::VRect& p = job->layout.piece;
        job->task = {kind_, index, layout_.job_count, {r.top + p.top, r.left + p.left, r.top + p.bottom, r.left + p.right},
                     {}};
        if (refused(PoolResource::cell_buffers, index) ||
            !allocate_job_cells(job->task.cells, work_.layer_count(), job->task.piece.left, job->task.piece.top,
                                p.right - p.left, p.bottom - p.top, job)) {
            delete job;
            return skip();
        }
        return job;
    }

    // The completion step: always on the calling thread, one job at a time.
    void complete(JobRecord* job) {
        work_.complete(job->task);
        free_job_cells(job->task.cells);
        delete job;
        finish_one();
    }

private:
    JobRecord* skip() {
        all_ran_ = false;
        finish_one();
        return nullptr;
    }

    void finish_one() {
        ++finished_;
        const int64_t now = clock_();
        if (now - last_report_ >= kProgressInterval) {
            work_.progress(finished_, layout_.job_count);
            last_report_ = now;
        }
    }

    int32_t kind_;
    JobLayout layout_;
    JobWork& work_;
    const PoolOptions& options_;
    int64_t (*clock_)();
    int64_t last_report_;
    int32_t started_ = 0;
    int32_t finished_ = 0;
    bool all_ran_ = true;
};

// A job's work, wherever it runs. Zeroing the cells here keeps that work off the calling thread,
// which glues one job at a time while the others render.
void run_work(JobWork& work, JobTask& task) {
    clear_job_cells(task.cells);
    work.work(task);
}

void job_entry(void* record) {
    JobRecord* job = static_cast<JobRecord*>(record);
    job->events->wait(job->go);
    run_work(*job->work, job->task);
    job->events->set(job->done);
}

// Starts jobs on the slot until one runs on a thread of its own (true) or none are left (false).
// A job whose thread cannot be started runs on the calling thread instead.
bool fill_slot(Run& run, JobWork& work, EventSet& events, int32_t threads, int32_t slot, JobRecord** slots) {
    while (run.jobs_left() && !work.stopped()) {
        JobRecord* job = run.begin_next();
        if (!job) continue;
        job->events = &events;
        job->go = slot;
        job->done = threads + slot;
        events.reset(job->done);
        events.set(job->go);
        job->work = &work;
        // Without a thread the job runs here below.
        if (!run.refused(PoolResource::thread, job->task.index) && job->thread.start(job_entry, job)) {
            slots[slot] = job;
            return true;
        }
        events.reset(job->go);
        run_work(work, job->task);
        run.complete(job);
    }
    slots[slot] = nullptr;
    return false;
}

// The jobs left, one after another on the calling thread.
void run_rest_here(Run& run, JobWork& work) {
    while (run.jobs_left() && !work.stopped())
        if (JobRecord* job = run.begin_next()) {
            run_work(work, job->task);
            run.complete(job);
        }
}

// After a failed wait it is unknown which jobs are done: each running job is completed once
// its thread has ended, and the jobs left run on the calling thread.
void finish_without_events(Run& run, JobWork& work, int32_t threads, JobRecord** slots) {
    for (int32_t slot = 0; slot < threads; ++slot)
        if (JobRecord* job = slots[slot]) {
            job->thread.join();
            run.complete(job);
            slots[slot] = nullptr;
        }
    run_rest_here(run, work);
}

}  // namespace

void set_processor_override(int32_t processors) { processor_override.store(processors < 0 ? 0 : processors); }

int32_t thread_count(int32_t layout_type, int32_t job_count) {
    if (single_thread_layout(layout_type)) return 1;
    const int32_t forced = processor_override.load();
    int32_t n = forced > 0 ? forced : processor_count();
    if (n < 1) n = 1;
    if (n > job_count) n = job_count;
    if (n > kMaxThreads) n = kMaxThreads;
    return n < 1 ? 1 : n;
}

bool run_jobs(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work, const PoolOptions& options) {
    Run run(kind, rect, layout_type, work, options);
    if (run.job_count() == 0) return true;
    const int32_t threads = thread_count(layout_type, run.job_count());
    EventSet events;  // a go event and a done event per slot
    if (run.refused(PoolResource::events, 0) || !events.create(2 * threads))
        return run_jobs_serial(kind, rect, layout_type, work, options);

    JobRecord* slots[kMaxThreads] = {};
    // The thread of each slot's previous job, joined at the slot's next completion or when the run
    // ends: by then it has long ended, so the calling thread never waits for a thread to exit.
    Thread ended[kMaxThreads];
    int32_t busy = 0;
    for (int32_t slot = 0; slot < threads; ++slot) busy += fill_slot(run, work, events, threads, slot, slots);
    while (busy > 0) {
        const int32_t fired = run.refused(PoolResource::wait, 0) ? -1 : events.wait_any(threads, threads);
        if (fired < 0) {
            finish_without_events(run, work, threads, slots);
            break;
        }
        const int32_t slot = fired - threads;
        JobRecord* job = slots[slot];
        ended[slot] = std::move(job->thread);
        run.complete(job);
        if (!fill_slot(run, work, events, threads, slot, slots)) --busy;
    }
    return run.all_ran();
}

bool run_jobs_serial(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work,
                     const PoolOptions& options) {
    Run run(kind, rect, layout_type, work, options);
    run_rest_here(run, work);
    return run.all_ran();
}

}  // namespace corvanthe
