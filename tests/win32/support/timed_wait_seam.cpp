// Replaces the product's timed_wait_win32.cpp: the linker takes these definitions first.
#include "timed_wait_seam.h"

#include <mutex>

#include "sys/timed_wait.h"

namespace {
std::mutex lock;
std::vector<DWORD> requests;

void Note(DWORD milliseconds) {
    const std::lock_guard<std::mutex> guard(lock);
    requests.push_back(milliseconds);
}
} // namespace

std::vector<DWORD> wait_seam::TakeRequests() {
    const std::lock_guard<std::mutex> guard(lock);
    std::vector<DWORD> taken;
    taken.swap(requests);
    return taken;
}

DWORD WaitUpTo(HANDLE object, DWORD milliseconds) {
    Note(milliseconds);
    return ::WaitForSingleObject(object, 0);
}

void PauseFor(DWORD milliseconds) {
    Note(milliseconds);
}
