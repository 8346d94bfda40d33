#include "platform/thread.h"

#include <process.h>
#include <windows.h>

#include <new>

namespace corvanthe {

struct Thread::Native {
    HANDLE thread;
    void (*entry)(void*);
    void* argument;
};

namespace {

unsigned __stdcall run(void* native) {
    auto* n = static_cast<Thread::Native*>(native);
    n->entry(n->argument);
    return 0;
}

}  // namespace

bool Thread::start(void (*entry)(void*), void* argument) {
    join();
    Native* native = new (std::nothrow) Native{nullptr, entry, argument};
    if (!native) return false;
    // The C runtime's thread start, so the runtime's per-thread state is set up.
    const uintptr_t handle = _beginthreadex(nullptr, 0, run, native, 0, nullptr);
    if (handle == 0) {
        delete native;
        return false;
    }
    native->thread = reinterpret_cast<HANDLE>(handle);
    native_ = native;
    return true;
}

void Thread::join() {
    if (!native_) return;
    WaitForSingleObject(native_->thread, INFINITE);
    CloseHandle(native_->thread);
    delete native_;
    native_ = nullptr;
}

}  // namespace corvanthe
