#include "render/sphere_map.h"

#include <cstdlib>

namespace corvanthe {

namespace {
constexpr int64_t kMaxEntries = int64_t(1) << 28;
}

SphereMap::~SphereMap() { std::free(values_); }

bool SphereMap::reserve(int64_t entries) {
    if (entries <= capacity_) return true;
    if (entries > kMaxEntries) return false;
    void* grown = std::realloc(values_, size_t(entries) * sizeof(int32_t));
    if (!grown) return false;
    values_ = static_cast<int32_t*>(grown);
    capacity_ = int32_t(entries);
    return true;
}

}  // namespace corvanthe
