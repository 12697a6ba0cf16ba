// The setup log's portable half: the ZBSETUP switch and the line format.
#include "sys/setup_log.h"

#include <cstdarg>
#include <mutex>
#include <string>

#include "sys/fixed_buffer.h"
#include "sys/next_token.h"

// Platform halves: the raw ZBSETUP value (false when unset or longer than 259 bytes), the local
// time stamp "%m/%d/%y %H:%M:%S" (empty when it cannot be formed) and the append of one line.
bool ReadZbSetupVariable(std::string& value);
std::string LogTimeStamp();
void AppendLogLine(const std::string& line);

bool ZbSetupValueEnablesLog(const char* value) {
    if (!value) return false;
    std::string rest = value;
    std::string token;
    // A malformed quote stops the scan: NextToken would refuse the same text for ever.
    while (!rest.empty() && NextToken(rest, token, nullptr, true)) {
        if (!token.empty() && EqualsIgnoringCase(token, "LOG")) return true;
    }
    return false;
}

bool IsLoggingEnabled() {
    static const bool enabled = [] {
        std::string value;
        return ReadZbSetupVariable(value) && ZbSetupValueEnablesLog(value.c_str());
    }();
    return enabled;
}

std::string FormatLogLine(const std::string& timeStamp, const char* text) {
    std::string line = timeStamp;
    line += " - ";
    line += text ? text : "";
    line += "\r\n";
    return line;
}

void WriteLog(const char* text) {
    if (!text || !IsLoggingEnabled()) return;
    const std::string line = FormatLogLine(LogTimeStamp(), text);
    // The worker, user-interface and reboot threads log at any moment: one line at a time, also
    // where the system only emulates appending (Wine reads the size, then writes there).
    static std::mutex appending;
    const std::lock_guard<std::mutex> lock(appending);
    AppendLogLine(line);
}

void WriteLogF(const char* format, ...) {
    if (!format || !IsLoggingEnabled()) return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatStringV(format, args);
    va_end(args);
    WriteLog(text.c_str());
}
