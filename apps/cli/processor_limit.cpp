#include "apps/cli/processor_limit.h"

#include <sched.h>

namespace corvanthe::cli {

bool limit_processors(int count) {
    cpu_set_t current;
    CPU_ZERO(&current);
    if (sched_getaffinity(0, sizeof current, &current) != 0) return false;
    cpu_set_t kept;
    CPU_ZERO(&kept);
    int taken = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE && taken < count; ++cpu) {
        if (CPU_ISSET(cpu, &current)) {
            CPU_SET(cpu, &kept);
            ++taken;
        }
    }
    return taken > 0 && sched_setaffinity(0, sizeof kept, &kept) == 0;
}

}  // namespace corvanthe::cli
