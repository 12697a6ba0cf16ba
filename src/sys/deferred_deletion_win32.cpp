// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or WININIT.INI
// [Rename].
#include "sys/deferred_deletion.h"

#include "ini/ini_file.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/system_library.h"
#include "sys/unique_handle.h"

namespace {
std::string WithBackslash(const char* folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

enum class MoveFileExOutcome { Scheduled, Unavailable, GiveUp };

MoveFileExOutcome ScheduleWithMoveFileEx(const char* path) {
    const std::string systemFolder = SystemFolder();
    if (systemFolder.empty()) {
        WriteLog("GetSystemDirectory() failed in LogForDeletion()");
        return MoveFileExOutcome::GiveUp;
    }
    const std::string kernel = systemFolder + "KERNEL32.DLL";
    // The 9x KERNEL32 has no working MoveFileExA, so it is looked up rather than linked.
    using MoveFileExAFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    HMODULE module = FitsMaxPath(kernel) ? ::GetModuleHandleA(kernel.c_str()) : nullptr;
    auto moveFileEx = module ? reinterpret_cast<MoveFileExAFn>(
                                   reinterpret_cast<void*>(::GetProcAddress(module, "MoveFileExA")))
                             : nullptr;
    if (!moveFileEx) return MoveFileExOutcome::Unavailable;
    if (moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        WriteLogF("Scheduled \"%s\" for deletion using MoveFileEx()", path);
        return MoveFileExOutcome::Scheduled;
    }
    WriteLogF("MoveFileEx() failed with return code: 0x%08X in LogForDeletion()",
              static_cast<unsigned>(::GetLastError()));
    return MoveFileExOutcome::Unavailable;
}

void ScheduleInWininit(const char* path, const std::string& windowsFolderOverride) {
    std::string windowsFolder = windowsFolderOverride;
    if (windowsFolder.empty()) {
        char buffer[kMaxPath];
        const UINT length = ::GetWindowsDirectoryA(buffer, sizeof buffer);
        if (length == 0 || length >= sizeof buffer) {
            WriteLog("GetWindowsDirectory() failed in LogForDeletion()");
            return;
        }
        windowsFolder = buffer;
    }
    const std::string iniPath = WithBackslash(windowsFolder.c_str()) + "WININIT.INI";
    if (!FitsMaxPath(iniPath)) return;

    {
        // The INI library loads an existing file only.
        UniqueFile touch(::CreateFileA(iniPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    }
    try {
        CIniFile ini;
        IniSectionCollection* sections = nullptr;
        ini.CreateSectionCollection(&sections);
        ini.Open(iniPath);
        IniSection* rename = nullptr;
        if (!ini.FindSection("Rename", &rename)) {
            ini.AddSection("Rename");
            if (!ini.FindSection("Rename", &rename)) {
                WriteLog("Error with [Rename] section in WININIT.INI");
                return;
            }
        }
        char shortPath[kMaxPath];
        const DWORD length = ::GetShortPathNameA(path, shortPath, sizeof shortPath);
        // Without a short form (a path that is gone, or too long) there is nothing to write.
        if (length == 0 || length >= sizeof shortPath) return;
        rename->AddKeyValue("NUL", shortPath);
        ini.Save();
    } catch (CZbIniFileException* error) {
        // Reached from the worker's exit routine too: an INI failure must not end anything.
        WriteLogF("Failed to update \"%s\" in LogForDeletion(): %s", iniPath.c_str(),
                  error->Message.c_str());
        delete error;
    } catch (...) {
        WriteLogF("Failed to update \"%s\" in LogForDeletion()", iniPath.c_str());
    }
}
} // namespace

void LogForDeletion(const char* path) {
    LogForDeletion(path, DeletionRoute());
}

void LogForDeletion(const char* path, const DeletionRoute& route) {
    if (!path || !*path) return;
    if (route.tryMoveFileEx && ScheduleWithMoveFileEx(path) != MoveFileExOutcome::Unavailable)
        return;
    ScheduleInWininit(path, route.windowsFolder);
}
