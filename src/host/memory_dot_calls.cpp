#include "host/memory_dot_calls.h"

// Filled in with the memory dots; until then every dot is empty.

namespace corvanthe {

void reload_memory_dot_map() {}

}  // namespace corvanthe
