// Replaces the product's timed_wait_win32.cpp: the linker takes these definitions first. The waits
// come from the test's own thread.
#include "timed_wait_seam.h"

#include <utility>

#include "sys/timed_wait.h"

static std::vector<DWORD> requests;

std::vector<DWORD> wait_seam::TakeRequests() {
    return std::move(requests);
}

DWORD WaitUpTo(HANDLE object, DWORD milliseconds) {
    requests.push_back(milliseconds);
    return ::WaitForSingleObject(object, 0);
}

void PauseFor(DWORD milliseconds) {
    requests.push_back(milliseconds);
}
