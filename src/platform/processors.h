#pragma once

namespace corvanthe {

// Processors this process may run on (its affinity mask counts, so taskset limits it); at least 1.
int processor_count();

// Whether code may use 256-bit AVX2 vectors: the processor has them and the build keeps their
// stack spills aligned, which GCC does not do on Windows.
bool wide_vectors_usable();

}  // namespace corvanthe
