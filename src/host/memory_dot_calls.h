#pragma once
// The memory dots' map of filled slots, process-wide and kept in a file.
namespace corvanthe {

// At every Start: forget the map and read it again from its file.
void reload_memory_dot_map();

}  // namespace corvanthe
