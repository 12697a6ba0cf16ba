// The installer steps' programs, started for real.
#include "steps/installer_launch.h"

bool LaunchStepProgram(const std::string& commandLine, LaunchKind kind, unsigned failureLocation) {
    return StartedOrReported(LaunchCommandLine(commandLine, LaunchRuleFor(kind)), kind,
                             failureLocation);
}
