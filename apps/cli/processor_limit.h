#pragma once
// --threads: the plug-in starts one worker per processor it may run on, so the command
// limits the process's processors.

namespace corvanthe::cli {

// Keeps the first `count` processors of the process's affinity (all of them when it has
// no more). False when the system refuses.
bool limit_processors(int count);

}  // namespace corvanthe::cli
