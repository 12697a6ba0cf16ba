// The asynchronous download's thread and completion event: CreateThread and an auto-reset event
// on Windows, std::thread and a small condition-variable event on the host build.
#pragma once
#include <cstdint>

// On Windows this is the event's HANDLE, so the caller may wait on it with the Win32 calls.
using DoneEventHandle = void*;

// Unnamed auto-reset event, not signalled; nullptr on failure (last error in `error`).
DoneEventHandle CreateDoneEvent(uint32_t* error);
void SignalDoneEvent(DoneEventHandle event);
// Waits for the event (and resets it): true when it came within `milliseconds`.
bool WaitDoneEvent(DoneEventHandle event, uint32_t milliseconds);
void CloseDoneEvent(DoneEventHandle event);

// Starts `routine(argument)` on a new thread that nobody joins; false on failure (last error in
// `error`).
bool StartDetachedThread(uint32_t (*routine)(void*), void* argument, uint32_t* error);
