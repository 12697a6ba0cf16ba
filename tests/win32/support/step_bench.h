// A launcher folder with its SETUP.INI, a command line parsed over it and a step object bound to
// it, for tests of the step operations.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "config/setup_command_line.h"
#include "steps/setup_steps.h"
#include "sys/win32.h"
#include "temp_folder.h"
#include "test_files.h"

// Writes `folder`SETUP.INI: [ProductInformation] naming `packageName`, then `sections`, which may
// start with more keys of that section; [ProductFeatures] follows unless `sections` has it.
inline bool WriteSetupIni(const std::string& folder, const std::string& sections,
                          const std::string& packageName) {
    const bool hasFeatures = sections.find("[ProductFeatures]") != std::string::npos;
    return WriteFileBytes(folder + "SETUP.INI",
                          "[ProductInformation]\r\nPackageName=" + packageName + "\r\n" + sections +
                              (hasFeatures ? "" : "\r\n[ProductFeatures]\r\n"));
}

// `arguments` parsed for a launcher folder, and a step object bound to that command line unless
// told not to attach it.
class BoundSteps {
  public:
    BoundSteps(const std::string& launcherFolder, const std::string& arguments,
               HWND owner = nullptr, HANDLE endSessionEvent = nullptr, bool attach = true)
        : parsed_(commandLine_.Parse(launcherFolder, arguments)), steps_(owner, endSessionEvent) {
        if (attach) steps_.AttachCommandLine(commandLine_);
    }
    BoundSteps(const BoundSteps&) = delete;
    BoundSteps& operator=(const BoundSteps&) = delete;

    bool Parsed() const { return parsed_; }
    SetupSteps& Steps() { return steps_; }
    SetupCommandLine& CommandLine() { return commandLine_; }

  private:
    // Declared before the step object, which keeps a pointer to it, so that it goes last.
    SetupCommandLine commandLine_;
    bool parsed_;
    SetupSteps steps_;
};

// A fresh launcher folder whose SETUP.INI names `packageName` (by default the Heron test package,
// which the step tests that open it build beside themselves) followed by `sections` (see
// WriteSetupIni), the arguments parsed over it and a step object bound to it. No owner window; the
// end-session event as given, none by default, so that no remover is followed by the five-second
// restart wait.
class StepBench {
  public:
    StepBench(const std::string& arguments, const std::string& sections,
              const std::string& packageName = "heron-1.0.msi", HANDLE endSessionEvent = nullptr)
        : iniWritten_(WriteSetupIni(folder_.Path(), sections, packageName)),
          bound_(folder_.Path(), arguments, nullptr, endSessionEvent) {
        EXPECT_TRUE(iniWritten_) << folder_.Path();
    }

    bool Parsed() const { return bound_.Parsed(); }
    SetupSteps& Steps() { return bound_.Steps(); }
    SetupCommandLine& CommandLine() { return bound_.CommandLine(); }
    // Ends with a backslash.
    const std::string& Folder() const { return folder_.Path(); }

  private:
    TempFolder folder_{"steps"};
    bool iniWritten_;
    BoundSteps bound_;
};
