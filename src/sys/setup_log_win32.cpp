// The setup log's Windows half: ZBSETUP from the environment, local time, C:\SETUP.LOG (or the
// user's temporary folder).
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
constexpr const char kRootLog[] = "C:\\SETUP.LOG";

// Opens the log at `path` for appending without following a link or junction in its place: every
// user may create one at the root of C:, and an elevated write would then land wherever it points.
// A file made here gets a private DACL (logged command lines may hold passwords). An invalid handle
// when the file cannot be opened, or (`refused` set) when what is there is not a plain file.
UniqueFile OpenLogAt(const char* path, bool& refused) {
    refused = false;
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
         info.nNumberOfLinks > 1)) {
        file.reset();
        refused = true;
    }
    return file;
}

// C:\SETUP.LOG, or SETUP.LOG in the user's temporary folder when that cannot be opened: a user
// without administrator rights may not create files at the root of C:. Decided at the first line
// and kept for the process; the first line of a log in the temporary folder says why it is there.
// A link planted in C:\SETUP.LOG's place turns the log off rather than moving it.
UniqueFile OpenSetupLog() {
    static bool decided = false;
    static std::string path;
    bool refused = false;
    if (decided) return path.empty() ? UniqueFile() : OpenLogAt(path.c_str(), refused);
    decided = true;
    UniqueFile file = OpenLogAt(kRootLog, refused);
    if (file) {
        path = kRootLog;
        return file;
    }
    if (refused) return file;
    const unsigned error = ::GetLastError();
    char folder[kMaxPath];
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return file;
    std::string fallback(folder, length);
    if (fallback.back() != '\\') fallback += '\\';
    fallback += "SETUP.LOG";
    if (!FitsMaxPath(fallback) || !(file = OpenLogAt(fallback.c_str(), refused))) return file;
    path = fallback;
    const std::string note = FormatLogLine(
        LogTimeStamp(), FormatString("%s cannot be opened (error code = 0x%08X): logging to %s",
                                     kRootLog, error, fallback.c_str())
                            .c_str());
    DWORD written = 0;
    ::WriteFile(file.get(), note.data(), static_cast<DWORD>(note.size()), &written, nullptr);
    return file;
}
} // namespace

void AppendLogLine(const std::string& line) {
    UniqueFile file = OpenSetupLog();
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
