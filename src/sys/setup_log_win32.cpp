// The setup log's Windows half: ZBSETUP from the environment, local time, C:\SETUP.LOG.
#include <string>

#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"

bool ReadZbSetupVariable(std::string& value) {
    char buffer[260];
    const DWORD length = ::GetEnvironmentVariableA("ZBSETUP", buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return false; // unset, or too long to read
    value.assign(buffer, length);
    return true;
}

std::string LogTimeStamp() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[128];
    if (!FormatBounded(stamp, sizeof stamp, "%02u/%02u/%02u %02u:%02u:%02u", now.wMonth, now.wDay,
                       now.wYear % 100u, now.wHour, now.wMinute, now.wSecond))
        return std::string();
    return stamp;
}

void AppendLogLine(const std::string& line) {
    // Append access alone: the system puts each write at the end of the file as one step, so the
    // worker, user-interface and reboot threads never write over one another's lines (a seek to
    // the end followed by a write could).
    UniqueFile file(::CreateFileA("C:\\SETUP.LOG", FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
