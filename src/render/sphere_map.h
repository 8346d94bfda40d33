#pragma once
// The per-render buffer of the sphere map: one texture zoom per disc radius in pixels.
// It only grows, so repeated previews reuse it.
#include <cstdint>

namespace corvanthe {

class SphereMap {
public:
    SphereMap() = default;
    ~SphereMap();
    SphereMap(const SphereMap&) = delete;
    SphereMap& operator=(const SphereMap&) = delete;

    // Makes room for at least `entries` values; false when the memory is not there
    // (the buffer then keeps what it had).
    bool reserve(int64_t entries);
    int32_t capacity() const { return capacity_; }

    int32_t& operator[](int32_t i) { return values_[i]; }
    int32_t operator[](int32_t i) const { return values_[i]; }

private:
    int32_t* values_ = nullptr;
    int32_t capacity_ = 0;
};

}  // namespace corvanthe
