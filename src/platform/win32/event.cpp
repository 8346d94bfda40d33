#include "platform/event.h"

#include <windows.h>

#include <cstdlib>
#include <new>

namespace corvanthe {

struct EventSet::Events {
    HANDLE* handles = nullptr;
    int32_t count = 0;
};

bool EventSet::create(int32_t count) {
    close();
    if (count < 1) return false;
    Events* events = new (std::nothrow) Events;
    if (!events) return false;
    events->handles = static_cast<HANDLE*>(std::calloc(size_t(count), sizeof(HANDLE)));
    events_ = events;
    if (!events->handles) {
        close();
        return false;
    }
    for (int32_t i = 0; i < count; ++i, ++events->count) {
        events->handles[i] = CreateEventA(nullptr, FALSE /* auto-reset */, FALSE, nullptr);
        if (!events->handles[i]) {
            close();
            return false;
        }
    }
    return true;
}

void EventSet::close() {
    if (!events_) return;
    for (int32_t i = 0; i < events_->count; ++i) CloseHandle(events_->handles[i]);
    std::free(events_->handles);
    delete events_;
    events_ = nullptr;
}

void EventSet::set(int32_t event) { SetEvent(events_->handles[event]); }

void EventSet::reset(int32_t event) { ResetEvent(events_->handles[event]); }

void EventSet::wait(int32_t event) { WaitForSingleObject(events_->handles[event], INFINITE); }

int32_t EventSet::wait_any(int32_t first, int32_t count) {
    HANDLE* handles = events_->handles + first;
    // The kernel waits for at most 64 objects at once and then reports (and clears) the
    // lowest signalled one. Larger sets are polled in groups of 64, lowest first.
    if (count <= MAXIMUM_WAIT_OBJECTS) {
        const DWORD fired = WaitForMultipleObjects(DWORD(count), handles, FALSE, INFINITE);
        return first + int32_t(fired - WAIT_OBJECT_0);
    }
    for (;;) {
        for (int32_t group = 0; group < count; group += MAXIMUM_WAIT_OBJECTS) {
            const int32_t n = count - group < MAXIMUM_WAIT_OBJECTS ? count - group : MAXIMUM_WAIT_OBJECTS;
            const DWORD fired = WaitForMultipleObjects(DWORD(n), handles + group, FALSE, 0);
            if (fired < WAIT_OBJECT_0 + DWORD(n)) return first + group + int32_t(fired - WAIT_OBJECT_0);
        }
        Sleep(1);
    }
}

}  // namespace corvanthe
