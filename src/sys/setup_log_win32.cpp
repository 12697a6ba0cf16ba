// The setup log's Windows half: ZBSETUP from the environment, local time, C:\SETUP.LOG.
#include <string>

#include "sys/fixed_buffer.h"
#include "sys/private_security.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"

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

namespace {
// Opens the log at `path` for appending without following a link or junction in its place: every
// user may create one at the root of C:, and an elevated write would then land wherever it points.
// A file made here gets a private DACL (logged command lines may hold passwords). An invalid handle
// when the file cannot be opened safely: the line is then not logged.
UniqueFile OpenLogFile(const char* path) {
    // Append access alone: the system puts each write at the end of the file as one step, so the
    // worker, user-interface and reboot threads never write over one another's lines (a seek to
    // the end followed by a write could).
    if (!IsWindowsNT()) {
        // The 9x family has neither links nor ACLs.
        return UniqueFile(::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    static PrivateSecurity security(false);
    UniqueFile file(::CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, security.Attributes(),
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    // The link itself was opened, not followed: refused. So is a file with a second name (a hard
    // link made to some other file).
    if (file &&
        (!::GetFileInformationByHandle(file.get(), &info) ||
         (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
         info.nNumberOfLinks > 1))
        file.reset();
    return file;
}
} // namespace

void AppendLogLine(const std::string& line) {
    UniqueFile file = OpenLogFile("C:\\SETUP.LOG");
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
