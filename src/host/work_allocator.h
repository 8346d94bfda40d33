#pragma once
// Where the work buffers come from: the process heap, through one replaceable
// procedure so that tests can make an allocation fail.
#include <cstddef>

namespace corvanthe {

using AllocateProc = void* (*)(std::size_t bytes);

// A block of `bytes` from the heap, or null.
void* allocate_work(std::size_t bytes);
void free_work(void* block);

// Replaces the allocation procedure (nullptr restores std::malloc). Blocks are always
// released with std::free, so a replacement must hand out malloc'ed blocks or null.
void set_work_allocator(AllocateProc procedure);

}  // namespace corvanthe
