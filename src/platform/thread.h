#pragma once
// A worker thread as the system starts it (the C runtime's thread start on Windows,
// POSIX threads elsewhere). Starting reports failure instead of throwing, so a caller
// can fall back to doing the work itself.
namespace corvanthe {

class Thread {
public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Taking over a thread first joins the one this object holds.
    Thread(Thread&& other) noexcept : native_(other.native_) { other.native_ = nullptr; }
    Thread& operator=(Thread&& other) noexcept {
        if (this != &other) {
            join();
            native_ = other.native_;
            other.native_ = nullptr;
        }
        return *this;
    }
    ~Thread() { join(); }

    // Runs entry(argument) on a new thread; false when no thread could be started.
    bool start(void (*entry)(void*), void* argument);
    // Waits for the thread to end; nothing when none was started.
    void join();

    struct Native;  // the system's handle and the entry to call (opaque)

private:
    Native* native_ = nullptr;
};

}  // namespace corvanthe
