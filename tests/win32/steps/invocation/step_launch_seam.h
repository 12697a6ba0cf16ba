// The test build's launcher of the installer steps' programs (step_launch_seam.cpp, linked before
// setup_core): a recorder sees the exact command lines without running them.
#pragma once
#include <string>

#include "steps/launch_kind.h"

using StepLaunchRecorder = bool (*)(const std::string& commandLine, LaunchKind kind);

// Puts `record` in place of the real launch; null launches for real again.
void SetStepLaunchRecorder(StepLaunchRecorder record);
