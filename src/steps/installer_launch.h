// How the installer steps start their programs, in a source of its own (installer_launch_win32.cpp)
// so that another build can link a launcher that only records the command lines.
#pragma once
#include <string>

#include "steps/launch_kind.h"

// Starts the maintenance or main installer, the nested setup or a post-install application
// through LaunchCommandLine, with the rule of `kind`; `failureLocation` is the calling step's
// internal-error location.
bool LaunchStepProgram(const std::string& commandLine, LaunchKind kind, unsigned failureLocation);
