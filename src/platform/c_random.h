#pragma once
// The classic Windows C runtime's rand/srand as our own generator, so that the
// same seed gives the same random suns on every platform. Values are 0..32767.
#include <cstdint>

namespace corvanthe {

class CRandom {
public:
    void seed(uint32_t s) { state_ = s; }
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_ = 1;
};

// The process-wide source that Dice and Ecce draw from, seeded at every Prepare.
CRandom& process_random();

}  // namespace corvanthe
