// The platform layer's events, threads and folders, checked by one program that runs on
// Linux under CTest and, built for Windows, under Wine: each system's implementation
// must behave the same. Exits with the number of failed checks.
#include <atomic>
#include <cstdio>
#include <string>

#include "platform/event.h"
#include "platform/folders.h"
#include "platform/processors.h"
#include "platform/thread.h"

namespace {

using namespace corvanthe;

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
}

struct Relay {
    EventSet* events;
    int32_t wait_for;
    int32_t answer;
    std::atomic<int> steps{0};
};

// Waits for one event, then signals another: the main thread and the worker take turns.
void relay(void* argument) {
    auto* r = static_cast<Relay*>(argument);
    r->events->wait(r->wait_for);
    r->steps.fetch_add(1);
    r->events->set(r->answer);
}

void count_up(void* argument) { static_cast<std::atomic<int>*>(argument)->fetch_add(1); }

void check_events() {
    EventSet events;
    check(!events.create(0), "no set of zero events");
    check(events.create(4), "a set of four events");
    events.set(2);
    events.set(3);
    check(events.wait_any(0, 4) == 2, "wait-any gives the lowest signalled event");
    check(events.wait_any(0, 4) == 3, "and clears it, so the next wait gives the other");
    events.set(1);
    events.reset(1);
    events.set(0);
    check(events.wait_any(0, 2) == 0, "a reset event does not fire");

    // More events than the kernel waits for at once.
    EventSet many;
    check(many.create(150), "a set of 150 events");
    many.set(140);
    many.set(120);
    check(many.wait_any(100, 50) == 120, "wait-any over 50 events from 100 gives the lowest");
    check(many.wait_any(70, 80) == 140, "and over 80 events the one left");

    // A wait over more than 64 events that begins before the event is set still wakes.
    Relay r{&many, 0, 130};
    Thread worker;
    check(worker.start(relay, &r), "a thread starts for the late event");
    many.set(0);
    check(many.wait_any(50, 100) == 130, "wait-any over 100 events wakes for an event set later");
    worker.join();

    check(many.wait_any(100, 51) == -1, "wait-any beyond the set fails with -1");
    EventSet none;
    check(none.wait_any(0, 1) == -1, "wait-any on a set never made fails with -1");
}

void check_threads() {
    EventSet events;
    events.create(2);
    Relay r{&events, 0, 1};
    Thread worker;
    check(worker.start(relay, &r), "a thread starts");
    events.set(0);
    events.wait(1);
    check(r.steps.load() == 1, "the thread waited for its event and answered");
    worker.join();
    worker.join();  // a second join does nothing

    std::atomic<int> counter{0};
    {
        Thread threads[8];
        for (Thread& t : threads) t.start(count_up, &counter);
    }  // each joins as it goes
    check(counter.load() == 8, "eight threads each ran once and were joined");
}

void check_folders() {
    check(processor_count() >= 1, "at least one processor");
    const std::string temporary = temporary_folder();
    check(!temporary.empty() && (temporary.back() == '/' || temporary.back() == '\\'),
          "the temporary folder ends in a separator");
    const std::string desktop = desktop_folder();
    check(desktop.empty() || desktop.back() == '/' || desktop.back() == '\\',
          "the desktop folder, when there is one, ends in a separator");
}

}  // namespace

int main() {
    check_events();
    check_threads();
    check_folders();
    std::printf("%d failed\n", failures);
    return failures;
}
