// The launcher's waits of a set time, alone in this file so that a test build can link others.
#include "sys/timed_wait.h"

DWORD WaitUpTo(HANDLE object, DWORD milliseconds) {
    return ::WaitForSingleObject(object, milliseconds);
}

void PauseFor(DWORD milliseconds) {
    ::Sleep(milliseconds);
}
