// Waits that last a set time (the grace wait after a child, the pauses between polls for a closing
// window), alone in their source file so that a test build can link ones that only note the time
// asked for (process and upgrade tests).
#pragma once
#include "sys/win32.h"

// WaitForSingleObject: WAIT_OBJECT_0, WAIT_ABANDONED, WAIT_TIMEOUT, or WAIT_FAILED (last error
// set).
DWORD WaitUpTo(HANDLE object, DWORD milliseconds);
// Sleep.
void PauseFor(DWORD milliseconds);
