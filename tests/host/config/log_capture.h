// Sends the setup log of a test to a file of its own and reads it back.
#pragma once
#include <string>

#include "../temp_folder.h"
#include "sys/setup_log.h"
#include "sys/setup_log_host.h"

class LogCapture {
  public:
    LogCapture() : file_(folder_.Folder() + "SETUP.LOG") { SetHostLogPath(file_); }
    ~LogCapture() { SetHostLogPath(std::string()); }

    std::string Text() const { return ReadBytes(file_); }

  private:
    TempFolder folder_;
    std::string file_;
};

// Logging is decided once per process from ZBSETUP, so it is switched on before main runs.
void EnableSetupLogForTests();
