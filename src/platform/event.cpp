#include "platform/event.h"

#include <cstdlib>

namespace corvanthe {

bool EventSet::create(int32_t count) {
    close();
    if (count < 1) return false;
    signalled_ = static_cast<bool*>(std::calloc(size_t(count), sizeof(bool)));
    if (!signalled_) return false;
    count_ = count;
    return true;
}

void EventSet::close() {
    std::free(signalled_);
    signalled_ = nullptr;
    count_ = 0;
}

void EventSet::set(int32_t event) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_[event] = true;
    }
    changed_.notify_all();
}

void EventSet::reset(int32_t event) {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_[event] = false;
}

void EventSet::wait(int32_t event) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return signalled_[event]; });
    signalled_[event] = false;
}

int32_t EventSet::wait_any(int32_t first, int32_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    int32_t fired = -1;
    changed_.wait(lock, [&] {
        for (int32_t i = first; i < first + count; ++i)
            if (signalled_[i]) {
                fired = i;
                return true;
            }
        return false;
    });
    signalled_[fired] = false;
    return fired;
}

}  // namespace corvanthe
