#include "host/memory_dot_calls.h"

#include <algorithm>
#include <iterator>

namespace corvanthe {
namespace {

bool map_read = false;  // only a map read in this run is written back

}  // namespace

MemoryDots& memory_dots() {
    static MemoryDots dots = {};
    return dots;
}

void reload_memory_dot_map() {
    // The dots' display states and the last dot live as long as the process; only the map
    // comes from its file again.
    MemoryDots& dots = memory_dots();
    const MemoryDots shown = dots;
    load_dot_map(dots);
    std::copy(std::begin(shown.display), std::end(shown.display), std::begin(dots.display));
    dots.last_dot = shown.last_dot;
    map_read = true;
}

void save_memory_dot_map() {
    if (!map_read) return;
    save_dot_map(memory_dots());
    map_read = false;
}

}  // namespace corvanthe
