#pragma once
// The memory dots' map of filled slots, process-wide and kept in a file between runs.
#include "settings/memory_dots.h"

namespace corvanthe {

// The dots of this process.
MemoryDots& memory_dots();

// At every Start: read the map again from its file; the dots' display states stay.
void reload_memory_dot_map();

// At the end of a run that read it: the map goes back to its file.
void save_memory_dot_map();

}  // namespace corvanthe
