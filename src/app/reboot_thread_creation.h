// The reboot thread's creation, in a source of its own (reboot_thread_creation_win32.cpp) so that a
// test build can link a stand-in that fails as CreateThread can.
#pragma once
#include "sys/win32.h"

// CreateThread with default security and stack for `routine` without a parameter; null, with the
// last error set, when no thread was made.
HANDLE CreateRebootThread(LPTHREAD_START_ROUTINE routine);
