#pragma once
// The contract between work cut into jobs and whatever runs the jobs (the worker pool of the
// renderer). Layers declares it so that level building can run on the pool without depending
// on the renderer: the caller hands a JobRunner in.
#include <cstdint>

#include "layers/cell_buffer.h"
#include "sdk/types.h"

namespace corvanthe {

// Layout type of a run: 256 x 256 pieces, taken column by column.
inline constexpr int32_t kTileLayout = 0;

// Job kinds. The runner passes the kind through; only the work interprets it.
inline constexpr int32_t kSunJob = 2;
inline constexpr int32_t kLevelBuildJob = -1000;

// One job as its work sees it.
struct JobTask {
    int32_t kind;
    int32_t index;      // 0 .. count - 1
    int32_t count;      // jobs in the run
    sdk::VRect piece;   // in the coordinates of the run's rectangle (not relative to it)
    JobCells cells;     // one buffer per layer, over the piece; empty when the work wants none
};

// What a run does with each job. complete and progress run on the calling thread, one at a time;
// work runs on a worker thread and may write only the task's own cell buffers, which it finds
// zeroed.
class JobWork {
public:
    // Cell buffers per job (the layers of a job); 0 for none.
    virtual int32_t layer_count() const = 0;
    virtual void work(JobTask& task) = 0;
    // After the job's work; never called for a job that could not be started.
    virtual void complete(JobTask&) {}
    // Jobs finished so far and in total, at most every two seconds.
    virtual void progress(int32_t /*finished*/, int32_t /*total*/) {}
    // Asked on the calling thread before each job starts. Once true the run starts no more
    // jobs: those not started are dropped (neither work nor completion), those running
    // finish and complete.
    virtual bool stopped() const { return false; }

protected:
    ~JobWork() = default;
};

class JobRunner {
public:
    // Cuts rect by the layout type into jobs of the kind and runs every one (until the work
    // says it has stopped); returns when all that started have finished. False when some job
    // could not run for want of memory (it was skipped).
    virtual bool run(int32_t kind, const sdk::VRect& rect, int32_t layout_type, JobWork& work) = 0;

protected:
    ~JobRunner() = default;
};

}  // namespace corvanthe
