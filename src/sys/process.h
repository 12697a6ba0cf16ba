// Child processes: starting one from a command line, the last recorded child, and waiting for a
// child while watching for the end of the Windows session.
#pragma once
#include "sys/unique_handle.h"
#include "sys/win32.h"

#include <cstdint>
#include <string>

// How LaunchCommandLine treats one start; whoever starts the child chooses it.
struct LaunchRule {
    bool logsCommandLine;
    // The child replaces LastLaunchedProcess (closing the handle it replaces); otherwise its
    // process handle goes to `child`, when given.
    bool recordsChild;
    // A program that requires administrator rights (CreateProcess answers 740) is started again
    // through the shell's "runas" verb; a declined prompt raises 1602. Otherwise that is a failed
    // start.
    bool mayElevate = false;
    // The program is looked up with the System32 redirection of WoW64 turned off: a command from
    // the 64-bit registry view names the 64-bit system folder.
    bool inNativeSystemFolder = false;
};

// How a start ended; a missing CreateProcessW is told apart, since every caller treats it as an
// internal error. The caller raises any box.
enum class LaunchStatus { Started, Failed, NoStartCall };
struct LaunchResult {
    LaunchStatus status;
    explicit operator bool() const { return status == LaunchStatus::Started; }
};

// Starts `commandLine` (the program is its first item) with the launcher's environment, in the
// system folder, following `rule`. True when the child runs. The command line may be up to 32766
// characters long.
LaunchResult LaunchCommandLine(const std::string& commandLine, const LaunchRule& rule,
                               UniqueKernelHandle* child = nullptr);

// The process handle of the most recent recorded child; null before the first. Owned here.
HANDLE LastLaunchedProcess();
// Closes and forgets the recorded child.
void ResetLastLaunchedProcess();

// Waits for `process` (may be null) or `endSessionEvent`, whichever comes first, then, when
// `waitForReboot` is set, up to five seconds for the event. True when a restart was detected: the
// event, or a child exit code of 1641 or 3010. A child exit code other than 0, 1641 and 3010 is
// stored in `exitCode` when given and otherwise raised as a SetupError. A wait that fails, or an
// exit code that cannot be read, is logged and leaves `exitCode` untouched, like a child without
// an exit code.
// With `sessionEndsEvent` (set when Windows confirms that the session ends), a signalled
// `endSessionEvent` counts only once the end is confirmed, or after a minute without a verdict;
// an end that is cancelled (`endSessionEvent` reset) goes on waiting for the child.
bool WaitForProcess(HANDLE process, HANDLE endSessionEvent, bool waitForReboot, uint32_t* exitCode,
                    HANDLE sessionEndsEvent = nullptr);
