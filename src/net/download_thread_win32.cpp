// Thread and event of the asynchronous download, on Win32.
#include "net/download_thread.h"

#include "sys/unique_handle.h"

#include <new>

DoneEventHandle CreateDoneEvent(uint32_t* error) {
    HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!event && error) *error = ::GetLastError();
    return event;
}

void SignalDoneEvent(DoneEventHandle event) {
    ::SetEvent(event);
}

bool WaitDoneEvent(DoneEventHandle event, uint32_t milliseconds) {
    return ::WaitForSingleObject(event, milliseconds) == WAIT_OBJECT_0;
}

void CloseDoneEvent(DoneEventHandle event) {
    ::CloseHandle(event);
}

namespace {

struct ThreadStart {
    uint32_t (*routine)(void*);
    void* argument;
};

DWORD WINAPI RunThread(void* parameter) {
    ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    return start.routine(start.argument);
}

} // namespace

bool StartDetachedThread(uint32_t (*routine)(void*), void* argument, uint32_t* error) {
    ThreadStart* start = new (std::nothrow) ThreadStart{routine, argument};
    if (!start) {
        if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, RunThread, start, 0, nullptr));
    if (!thread) {
        if (error) *error = ::GetLastError();
        delete start;
        return false;
    }
    return true; // the handle closes here; the thread runs on
}
