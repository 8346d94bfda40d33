#pragma once
// Auto-reset events standing in for the kernel's: created unsignalled, a wait returns once the
// event is signalled and clears it. The events of one set share a lock, so that a thread can
// wait for any one of several of them.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace corvanthe {

class EventSet {
public:
    EventSet() = default;
    EventSet(const EventSet&) = delete;
    EventSet& operator=(const EventSet&) = delete;
    ~EventSet() { close(); }

    // Makes count unsignalled events, numbered from 0; false when memory runs out.
    bool create(int32_t count);
    void close();

    void set(int32_t event);
    void reset(int32_t event);
    // Waits without time limit until the event is signalled, then clears it.
    void wait(int32_t event);
    // Waits until one of events first .. first + count - 1 is signalled, clears it and returns
    // its number (the lowest when several are).
    int32_t wait_any(int32_t first, int32_t count);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool* signalled_ = nullptr;
    int32_t count_ = 0;
};

}  // namespace corvanthe
