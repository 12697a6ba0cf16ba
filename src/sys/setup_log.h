// The setup log: one time-stamped line per call, appended to C:\SETUP.LOG when ZBSETUP holds LOG.
// Every failure of the log is silent.
#pragma once
#include <string>

// Decided once per process from the ZBSETUP environment variable.
bool IsLoggingEnabled();
// True when a ZBSETUP value switches logging on (a comma-separated token equal to LOG, any case).
bool ZbSetupValueEnablesLog(const char* value);

void WriteLog(const char* text);
void WriteLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The line for a text: time stamp, " - ", text, CR LF (the time stamp may be empty).
std::string FormatLogLine(const std::string& timeStamp, const char* text);
