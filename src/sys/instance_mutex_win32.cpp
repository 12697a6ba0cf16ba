// The single-instance mutex on Windows.
#include "sys/instance_mutex.h"
#include "sys/wide_entry_points.h"

namespace {
bool LeadByte(unsigned char c) {
    return ::IsDBCSLeadByte(c) != FALSE;
}
} // namespace

UniqueOwnedMutex CreateInstanceMutex(const char* setupFileName) {
    if (!setupFileName) return UniqueOwnedMutex();
    OSVERSIONINFOA version;
    if (!GetPlatformVersion(version)) return UniqueOwnedMutex();
    // Terminal-services sessions share one global name space from NT 5 on.
    const bool global =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
    const std::string name = InstanceMutexName(setupFileName, global, LeadByte);
    UniqueKernelHandle mutex(::CreateMutexA(nullptr, TRUE, name.c_str()));
    // An existing mutex is opened, not owned: closed without a release.
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) return UniqueOwnedMutex();
    return UniqueOwnedMutex(mutex.release());
}
