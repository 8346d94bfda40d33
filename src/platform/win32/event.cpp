#include "platform/event.h"

#include <windows.h>

#include <cstdlib>
#include <new>

namespace corvanthe {

struct EventSet::Events {
    HANDLE* handles = nullptr;
    int32_t count = 0;
    // Signalled with every set: a wait for more events than the kernel takes at once sleeps
    // on it until something changes.
    HANDLE changed = nullptr;
};

bool EventSet::create(int32_t count) {
    close();
    if (count < 1) return false;
    Events* events = new (std::nothrow) Events;
    if (!events) return false;
    events->handles = static_cast<HANDLE*>(std::calloc(size_t(count), sizeof(HANDLE)));
    events_ = events;
    events->changed = CreateEventA(nullptr, FALSE /* auto-reset */, FALSE, nullptr);
    if (!events->handles || !events->changed) {
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
    if (events_->changed) CloseHandle(events_->changed);
    std::free(events_->handles);
    delete events_;
    events_ = nullptr;
}

void EventSet::set(int32_t event) {
    SetEvent(events_->handles[event]);
    SetEvent(events_->changed);
}

void EventSet::reset(int32_t event) { ResetEvent(events_->handles[event]); }

void EventSet::wait(int32_t event) { WaitForSingleObject(events_->handles[event], INFINITE); }

int32_t EventSet::wait_any(int32_t first, int32_t count) {
    if (!events_ || first < 0 || count < 1 || first + count > events_->count) return -1;
    HANDLE* handles = events_->handles + first;
    // The kernel waits for at most 64 objects at once and then reports (and clears) the
    // lowest signalled one.
    if (count <= MAXIMUM_WAIT_OBJECTS) {
        const DWORD fired = WaitForMultipleObjects(DWORD(count), handles, FALSE, INFINITE) - WAIT_OBJECT_0;
        return fired < DWORD(count) ? first + int32_t(fired) : -1;
    }
    // Larger sets are looked at in groups of 64, lowest first, and between looks the wait
    // sleeps until some event is set. An event set after its group was looked at also
    // signals `changed` after that look, so no setting is missed.
    for (;;) {
        for (int32_t group = 0; group < count; group += MAXIMUM_WAIT_OBJECTS) {
            const int32_t n = count - group < MAXIMUM_WAIT_OBJECTS ? count - group : MAXIMUM_WAIT_OBJECTS;
            const DWORD answer = WaitForMultipleObjects(DWORD(n), handles + group, FALSE, 0);
            if (answer == WAIT_TIMEOUT) continue;
            const DWORD fired = answer - WAIT_OBJECT_0;
            return fired < DWORD(n) ? first + group + int32_t(fired) : -1;
        }
        if (WaitForSingleObject(events_->changed, INFINITE) != WAIT_OBJECT_0) return -1;
    }
}

}  // namespace corvanthe
