#pragma once
// The worker pool: cuts a rectangle into jobs, runs each job's work on a fresh thread, at most one
// thread per processor, and hands every finished job back to the calling thread for its
// completion step, one job at a time and in the order the jobs finish.
#include <cstdint>

#include "layers/job.h"

namespace corvanthe {

inline constexpr int32_t kMaxThreads = 100;

// Processors the pool counts instead of the operating system's (for tests and the --threads
// option of the command); 0 goes back to the operating system's count.
void set_processor_override(int32_t processors);

// Threads a run uses: the processors (at least 1), no more than the jobs, at most 100, and 1 for
// layout types 1, 2 and 7.
int32_t thread_count(int32_t layout_type, int32_t job_count);

// What a run may fail to get. A job without its record or cell buffers is skipped and the run
// reports false; a job without a thread runs on the calling thread; without events the whole run
// goes serial; after a failed wait for a finished job the running jobs are completed as their
// threads end and the rest run on the calling thread.
enum class PoolResource { events, job_record, cell_buffers, thread, wait };

struct PoolOptions {
    int64_t (*clock)() = nullptr;  // whole seconds for the progress interval; null: a steady clock
    bool (*refuse)(PoolResource what, int32_t job_index) = nullptr;  // fault injection for tests
};

// The threaded run. Returns when every job has finished, or once the work has stopped, when the
// jobs already running have; false when some job was skipped for want of memory (its work and
// completion never ran).
bool run_jobs(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work,
              const PoolOptions& options = {});

// The same jobs one after another on the calling thread, each followed by its completion step.
bool run_jobs_serial(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work,
                     const PoolOptions& options = {});

// The pool as a JobRunner for the layer operations.
class WorkerPool final : public JobRunner {
public:
    explicit WorkerPool(bool serial = false, const PoolOptions& options = {}) : serial_(serial), options_(options) {}
    bool run(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work) override {
        return serial_ ? run_jobs_serial(kind, rect, layout_type, work, options_)
                       : run_jobs(kind, rect, layout_type, work, options_);
    }

private:
    bool serial_;
    PoolOptions options_;
};

}  // namespace corvanthe
