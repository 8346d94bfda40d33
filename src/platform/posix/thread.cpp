#include "platform/thread.h"

#include <pthread.h>

#include <new>

namespace corvanthe {

struct Thread::Native {
    pthread_t thread;
    void (*entry)(void*);
    void* argument;
};

namespace {

void* run(void* native) {
    auto* n = static_cast<Thread::Native*>(native);
    n->entry(n->argument);
    return nullptr;
}

}  // namespace

bool Thread::start(void (*entry)(void*), void* argument) {
    join();
    Native* native = new (std::nothrow) Native{{}, entry, argument};
    if (!native) return false;
    if (pthread_create(&native->thread, nullptr, run, native) != 0) {
        delete native;
        return false;
    }
    native_ = native;
    return true;
}

void Thread::join() {
    if (!native_) return;
    pthread_join(native_->thread, nullptr);
    delete native_;
    native_ = nullptr;
}

}  // namespace corvanthe
