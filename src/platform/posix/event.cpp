#include "platform/event.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>

namespace corvanthe {

// The events of one set share a lock, so that a thread can wait for any one of several.
struct EventSet::Events {
    std::mutex mutex;
    std::condition_variable changed;
    bool* signalled = nullptr;
    int32_t count = 0;
};

bool EventSet::create(int32_t count) {
    close();
    if (count < 1) return false;
    Events* events = new (std::nothrow) Events;
    if (!events) return false;
    events->signalled = static_cast<bool*>(std::calloc(size_t(count), sizeof(bool)));
    if (!events->signalled) {
        delete events;
        return false;
    }
    events->count = count;
    events_ = events;
    return true;
}

void EventSet::close() {
    if (!events_) return;
    std::free(events_->signalled);
    delete events_;
    events_ = nullptr;
}

void EventSet::set(int32_t event) {
    {
        std::lock_guard<std::mutex> lock(events_->mutex);
        events_->signalled[event] = true;
    }
    events_->changed.notify_all();
}

void EventSet::reset(int32_t event) {
    std::lock_guard<std::mutex> lock(events_->mutex);
    events_->signalled[event] = false;
}

void EventSet::wait(int32_t event) {
    std::unique_lock<std::mutex> lock(events_->mutex);
    events_->changed.wait(lock, [&] { return events_->signalled[event]; });
    events_->signalled[event] = false;
}

int32_t EventSet::wait_any(int32_t first, int32_t count) {
    if (!events_ || first < 0 || count < 1 || first + count > events_->count) return -1;
    std::unique_lock<std::mutex> lock(events_->mutex);
    int32_t fired = -1;
    events_->changed.wait(lock, [&] {
        for (int32_t i = first; i < first + count; ++i)
            if (events_->signalled[i]) {
                fired = i;
                return true;
            }
        return false;
    });
    events_->signalled[fired] = false;
    return fired;
}

}  // namespace corvanthe
