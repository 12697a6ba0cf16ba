// Asking a running program to close through a top-level window of its class.
#pragma once
#include <cstdint>

// True when `windowClass` is not empty and a top-level window of that class exists.
bool IsWindowClassPresent(const char* windowClass);

// Sends the first window of the class `message` (wParam, lParam); with no message, WM_COMMAND
// (wParam, lParam) when wParam is set, else WM_CLOSE and then WM_QUIT. Then polls ten times,
// timeout / 10 milliseconds apart (100 below a timeout of 10). True when no window of the class is
// left, or none was there.
bool CloseApplicationWindow(const char* windowClass, int32_t timeout, int32_t message,
                            int32_t wParam, int32_t lParam);
