// Thread and event of the asynchronous download, on the host build.
#include "net/download_thread.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace {

struct HostEvent {
    std::mutex lock;
    std::condition_variable changed;
    bool signalled = false;
};

} // namespace

DoneEventHandle CreateDoneEvent(uint32_t* error) {
    HostEvent* event = new (std::nothrow) HostEvent;
    if (!event && error) *error = ENOMEM;
    return event;
}

void SignalDoneEvent(DoneEventHandle handle) {
    HostEvent* event = static_cast<HostEvent*>(handle);
    std::lock_guard<std::mutex> guard(event->lock);
    event->signalled = true;
    event->changed.notify_one();
}

bool WaitDoneEvent(DoneEventHandle handle, uint32_t milliseconds) {
    HostEvent* event = static_cast<HostEvent*>(handle);
    std::unique_lock<std::mutex> guard(event->lock);
    if (!event->changed.wait_for(guard, std::chrono::milliseconds(milliseconds),
                                 [event] { return event->signalled; }))
        return false;
    event->signalled = false; // auto-reset
    return true;
}

void CloseDoneEvent(DoneEventHandle handle) {
    delete static_cast<HostEvent*>(handle);
}

bool StartDetachedThread(uint32_t (*routine)(void*), void* argument, uint32_t* error) {
    try {
        std::thread(routine, argument).detach();
        return true;
    } catch (const std::system_error& failure) {
        if (error) *error = static_cast<uint32_t>(failure.code().value());
    } catch (const std::bad_alloc&) {
        if (error) *error = ENOMEM;
    }
    return false;
}
