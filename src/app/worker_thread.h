// The worker thread that runs the setup sequence and its single exit routine.
#pragma once
#include <cstdint>
#include <string>

#include "sys/unique_handle.h"
#include "sys/win32.h"

class ProgressDialog;

// Thread routine; the parameter is the ProgressDialog. Returns the result code (nobody reads it:
// the code travels to the dialog through WM_ENDSETUPDIALOG).
DWORD WINAPI WorkerThread(LPVOID parameter);

// Unhooks the restart shortcut unless the code announces a restart, releases the instance mutex,
// removes the temporary copy, signals the finish event and posts WM_ENDSETUPDIALOG with the code.
void ExitWorkerThread(uint32_t code, ProgressDialog* dialog, const std::string& baseName,
                      bool& hooked, UniqueOwnedMutex& instanceMutex);

// The program name split off the process command line: false when its quotes do not balance.
bool SplitProgramName(const std::string& commandLine, std::string& programName,
                      std::string& arguments);
