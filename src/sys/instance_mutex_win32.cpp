// The single-instance mutex on Windows.
#include "sys/instance_mutex.h"
#include "sys/wide_entry_points.h"

namespace {
bool LeadByte(unsigned char c) {
    return ::IsDBCSLeadByte(c) != FALSE;
}
} // namespace

HANDLE CreateInstanceMutex(const char* setupFileName) {
    if (!setupFileName) return nullptr;
    OSVERSIONINFOA version;
    if (!GetPlatformVersion(version)) return nullptr;
    // Terminal-services sessions share one global name space from NT 5 on.
    const bool global =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
    const std::string name = InstanceMutexName(setupFileName, global, LeadByte);
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, name.c_str());
    if (!mutex) return nullptr;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}
