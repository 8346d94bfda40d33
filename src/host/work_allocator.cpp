#include "host/work_allocator.h"

#include <cstdlib>

namespace corvanthe {
namespace {

void* heap_allocate(std::size_t bytes) { return std::malloc(bytes); }

AllocateProc allocator = heap_allocate;

}  // namespace

void* allocate_work(std::size_t bytes) { return allocator(bytes); }

void free_work(void* block) { std::free(block); }

void set_work_allocator(AllocateProc procedure) { allocator = procedure ? procedure : heap_allocate; }

}  // namespace corvanthe
