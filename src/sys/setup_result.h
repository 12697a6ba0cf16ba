// The one exception of the setup sequence: a result code that ends setup and becomes the exit code.
#pragma once
#include <cstdint>

struct SetupError {
    uint32_t code;
};

// Result codes that end setup (the process exit codes of the installer's vocabulary).
namespace SetupResult {
constexpr uint32_t InvalidParameter = 6;
constexpr uint32_t UserExit = 1602;
constexpr uint32_t InstallFailure = 1603;
constexpr uint32_t PlatformNotSupported = 1633;
constexpr uint32_t InvalidCommandLine = 1639;
constexpr uint32_t RebootInitiated = 1641;        // a restart was started (by a child, or accepted)
constexpr uint32_t RebootThenResume = 0x00070669; // 1641 with facility 7: setup resumes after it
constexpr uint32_t RebootRequired = 3010;         // a restart is due and none was started
constexpr uint32_t UnexpectedFailure = 0x8004FFFF;
} // namespace SetupResult

// Ends the sequence with a result code (every ending of setup goes through here).
[[noreturn]] inline void RaiseSetupError(uint32_t code) {
    throw SetupError{code};
}
