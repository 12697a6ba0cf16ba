// How the installer steps start their programs, in a source of its own (installer_launch_win32.cpp)
// so that another build can link a launcher that only records the command lines.
#pragma once
#include <string>

#include "sys/process.h"

// Starts the maintenance or main installer, the nested setup or a post-install application
// through LaunchCommandLine, with its failure rule.
bool LaunchStepProgram(const std::string& commandLine, LaunchKind kind);
