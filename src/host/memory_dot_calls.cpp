#include "host/memory_dot_calls.h"

namespace corvanthe {
namespace {

bool map_read = false;  // only a map read in this run is written back

}  // namespace

MemoryDots& memory_dots() {
    static MemoryDots dots = {};
    return dots;
}

void reload_memory_dot_map() {
    load_dot_map(memory_dots());
    map_read = true;
}

void save_memory_dot_map() {
    if (!map_read) return;
    save_dot_map(memory_dots());
    map_read = false;
}

}  // namespace corvanthe
