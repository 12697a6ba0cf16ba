// Replaces the product's LaunchStepProgram: the linker takes this definition before the one in
// setup_core.
#include "step_launch_seam.h"

#include "steps/installer_launch.h"

namespace {
StepLaunchRecorder recorder = nullptr;
} // namespace

void SetStepLaunchRecorder(StepLaunchRecorder record) {
    recorder = record;
}

bool LaunchStepProgram(const std::string& commandLine, LaunchKind kind, unsigned failureLocation) {
    return recorder ? recorder(commandLine, kind)
                    : StartedOrReported(LaunchCommandLine(commandLine, LaunchRuleFor(kind)), kind,
                                        failureLocation);
}
