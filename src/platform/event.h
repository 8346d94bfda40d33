#pragma once
// Auto-reset events as the kernel has them: created unsignalled, a wait returns once the
// event is signalled and clears it. A thread can wait for any one of several events of a set.
#include <cstdint>

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
    // its number (the lowest when several are); -1 when the wait fails (or the set has no such
    // events), and then which event fired is unknown.
    int32_t wait_any(int32_t first, int32_t count);

private:
    // The system's side: kernel events on Windows (win32/event.cpp), a lock and a condition
    // elsewhere (posix/event.cpp).
    struct Events;
    Events* events_ = nullptr;
};

}  // namespace corvanthe
