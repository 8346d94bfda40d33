#pragma once

namespace corvanthe {

// Processors this process may run on (its affinity mask counts, so taskset limits it); at least 1.
int processor_count();

}  // namespace corvanthe
