// Reboot control: the restart shortcut in the user's Startup folder and the reboot thread.
#include "app/reboot_control.h"

#include <shlobj.h>

#include "app/exit_windows.h"
#include "app/reboot_thread_creation.h"
#include "app/resource_ids.h"
#include "sys/file_exists.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"
#include "text/message_box.h"

const char kRestartShortcutName[] = "Quorvel Setup.lnk";

namespace {
UniqueKernelHandle rebootThread;
// Why the last StartRebootThread made no thread (0: it made one, or none was asked for).
DWORD rebootThreadError = 0;

constexpr uint32_t kFailure = 0x80004005;         // E_FAIL
constexpr uint32_t kInvalidArgument = 0x80070057; // E_INVALIDARG

uint32_t Code(HRESULT hr) {
    return static_cast<uint32_t>(hr);
}

// The link path may be OEM text (the Startup folder comes through WideToNarrow), so on NT it is
// tried with both conversions, as every wide call of the launcher is: `action` gets the OEM
// reading, then the ANSI one, until it answers true.
template <typename Action> bool WithEitherWidePath(const char* path, Action action) {
    wchar_t wide[kWideBufferChars];
    if (*OemToWide(path, wide) && action(wide)) return true;
    return *AnsiToWide(path, wide) && action(wide);
}

using GetFileAttributesWFn = DWORD(WINAPI*)(LPCWSTR);

// A read-only link (copied from a CD, or protected by a user) refuses to be deleted.
bool ClearReadOnly(const char* linkPath) {
    if (!IsWindowsNT()) {
        const DWORD attributes = ::GetFileAttributesA(linkPath);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
               ::SetFileAttributesA(linkPath, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    using SetFileAttributesWFn = BOOL(WINAPI*)(LPCWSTR, DWORD);
    auto getAttributes =
        GetEntryPointAs<GetFileAttributesWFn>("KERNEL32.DLL", "GetFileAttributesW");
    auto setAttributes =
        GetEntryPointAs<SetFileAttributesWFn>("KERNEL32.DLL", "SetFileAttributesW");
    if (!getAttributes || !setAttributes) return false;
    return WithEitherWidePath(linkPath, [&](const wchar_t* wide) {
        const DWORD attributes = getAttributes(wide);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
               setAttributes(wide, attributes & ~FILE_ATTRIBUTE_READONLY);
    });
}

// Deletes the restart shortcut, clearing a read-only attribute when the plain delete is refused;
// true only when no link file is left: a final-marker shortcut that stayed would send every later
// run down the resume path.
bool RemoveLinkFile(const char* linkPath) {
    if (DeleteFileAny(linkPath)) return true;
    const uint32_t error = ::GetLastError();
    if (ClearReadOnly(linkPath) && DeleteFileAny(linkPath)) return true;
    if (!FileExists(linkPath)) return true;
    WriteLogF("Failed to delete the restart shortcut. Error Code = %08X",
              static_cast<unsigned>(error));
    return false;
}

// IPersistFile takes a wide path: the OEM reading first, then the ANSI one.
HRESULT WithWidePath(const char* path, HRESULT (*action)(IPersistFile*, const wchar_t*),
                     IPersistFile* file) {
    wchar_t wide[kWideBufferChars];
    HRESULT hr = *OemToWide(path, wide) ? action(file, wide) : E_FAIL;
    if (SUCCEEDED(hr)) return hr;
    return *AnsiToWide(path, wide) ? action(file, wide) : hr;
}

// The user's Startup folder does not move during a run: it is looked up once (a shell round trip
// each time otherwise), by the worker thread, the only one that hooks and unhooks. A failed look-up
// is tried and reported again next time.
bool RestartShortcutPath(HWND owner, char* linkPath) {
    static char folder[kMaxPath] = "";
    if (!folder[0] && !GetStartupFolder(owner, folder)) return false;
    return FormatBounded(linkPath, kMaxPath, "%s\\%s", folder, kRestartShortcutName);
}
} // namespace

void ReportShortcutError(HWND owner, unsigned errorNumber, uint32_t code) {
    HINSTANCE self = ::GetModuleHandleA(nullptr);
    char format[128];
    char caption[128];
    // Programs without the launcher's resources still get a readable box.
    if (::LoadStringA(self, IDS_ERROR_CODE, format, sizeof format) <= 0)
        CopyBounded(format, sizeof format, "Error Code: %04X.%08X");
    if (::LoadStringA(self, IDS_INTERNAL_ERROR, caption, sizeof caption) <= 0)
        CopyBounded(caption, sizeof caption, "Internal Error");
    char text[256];
    if (!FormatBounded(text, sizeof text, format, errorNumber, static_cast<unsigned>(code))) return;
    ShowMessageBox(owner, text, caption, MB_OK | MB_ICONERROR);
}

bool GetStartupFolder(HWND owner, char* path) {
    if (!path) return false;
    path[0] = '\0';
    bool failed = false;
    uint32_t code = 0;

    LPITEMIDLIST items = nullptr;
    const HRESULT hr = ::SHGetSpecialFolderLocation(owner, CSIDL_STARTUP, &items);
    if (FAILED(hr)) {
        failed = true;
        code = Code(hr);
    } else if (IsWindowsNT()) {
        using PathFromListW = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
        auto pathFromList = GetEntryPointAs<PathFromListW>("SHELL32.DLL", "SHGetPathFromIDListW");
        wchar_t wide[kWideBufferChars] = L"";
        if (!pathFromList) {
            failed = true;
            code = ::GetLastError();
        } else if (!pathFromList(items, wide)) {
            failed = true;
            code = kFailure;
        } else if (!*WideToNarrow(wide, path)) {
            failed = true;
            code = kInvalidArgument;
        }
    } else if (!::SHGetPathFromIDListA(items, path)) {
        failed = true;
        code = kFailure;
    }

    bool reported = false;
    if (items) {
        ComPtr<IMalloc> allocator;
        const HRESULT mallocResult = ::SHGetMalloc(allocator.put());
        if (FAILED(mallocResult)) {
            ReportShortcutError(owner, 1002, Code(mallocResult));
            reported = true;
        } else {
            allocator->Free(items);
        }
    }
    if (failed) {
        path[0] = '\0';
        ReportShortcutError(owner, 1001, code);
        reported = true;
    }
    return !reported;
}

bool CreateStartupShortcut(HWND owner, const char* target, const char* linkPath,
                           const char* arguments, const char* description) {
    ComPtr<IShellLinkA> link;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    link.put_void());
    if (FAILED(hr)) return ReportShortcutError(owner, 1005, Code(hr)), false;
    ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(hr)) return ReportShortcutError(owner, 1006, Code(hr)), false;
    hr = link->SetPath(target ? target : "");
    if (FAILED(hr)) return ReportShortcutError(owner, 1007, Code(hr)), false;
    hr = link->SetArguments(arguments ? arguments : "");
    if (FAILED(hr)) return ReportShortcutError(owner, 1008, Code(hr)), false;
    hr = link->SetDescription(description ? description : "");
    if (FAILED(hr)) return ReportShortcutError(owner, 1009, Code(hr)), false;
    hr = WithWidePath(
        linkPath ? linkPath : "",
        [](IPersistFile* f, const wchar_t* p) { return f->Save(p, TRUE); }, file.get());
    if (FAILED(hr)) return ReportShortcutError(owner, 1010, Code(hr)), false;
    return true;
}

bool ReadShortcut(HWND owner, const char* linkPath, char* target, char* arguments,
                  char* description) {
    for (char* out : {target, arguments, description})
        if (out) out[0] = '\0';
    if (!linkPath || !FileExists(linkPath)) return false;

    ComPtr<IShellLinkA> link;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    link.put_void());
    if (FAILED(hr)) return ReportShortcutError(owner, 1011, Code(hr)), false;
    ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(hr)) return ReportShortcutError(owner, 1012, Code(hr)), false;
    hr = WithWidePath(
        linkPath, [](IPersistFile* f, const wchar_t* p) { return f->Load(p, STGM_READ); },
        file.get());
    if (FAILED(hr)) return false;
    // Only the stored fields are wanted: no search dialog on the worker thread for a target that
    // has gone (the temporary copy of an earlier run), and the link file is not rewritten.
    hr = link->Resolve(owner, SLR_ANY_MATCH | SLR_NO_UI | SLR_NOUPDATE);
    if (FAILED(hr)) return ReportShortcutError(owner, 1013, Code(hr)), false;
    if (target) {
        WIN32_FIND_DATAA found;
        hr = link->GetPath(target, kMaxPath, &found, SLGP_RAWPATH);
        if (FAILED(hr)) return ReportShortcutError(owner, 1014, Code(hr)), false;
    }
    if (arguments) {
        hr = link->GetArguments(arguments, kMaxPath);
        if (FAILED(hr)) return ReportShortcutError(owner, 1015, Code(hr)), false;
    }
    if (description) {
        hr = link->GetDescription(description, kMaxPath);
        if (FAILED(hr)) return ReportShortcutError(owner, 1016, Code(hr)), false;
    }
    return true;
}

bool HookReboot(HWND owner, const char* marker, const char* target, const char* arguments) {
    if (!marker) return false;
    char linkPath[kMaxPath];
    if (!RestartShortcutPath(owner, linkPath)) return false;
    char description[kMaxPath];
    if (ReadShortcut(owner, linkPath, nullptr, nullptr, description)) {
        if (::lstrcmpA(description, marker) != 0)
            return false; // another setup's or stage's shortcut
        if (!RemoveLinkFile(linkPath)) return false;
    }
    return CreateStartupShortcut(owner, target, linkPath, arguments, marker);
}

bool UnhookReboot(HWND owner, const char* marker) {
    if (!marker) return false;
    char linkPath[kMaxPath];
    if (!RestartShortcutPath(owner, linkPath)) return false;
    char description[kMaxPath];
    if (!ReadShortcut(owner, linkPath, nullptr, nullptr, description)) return false;
    if (::lstrcmpA(description, marker) != 0) return false;
    return RemoveLinkFile(linkPath);
}

bool EnableShutdownPrivilege() {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put()))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Success with ERROR_NOT_ALL_ASSIGNED means the privilege is not held: only error 0 counts.
    ::SetLastError(ERROR_SUCCESS);
    const BOOL adjusted =
        ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    return adjusted && ::GetLastError() == ERROR_SUCCESS;
}

DWORD WINAPI RebootThread(LPVOID) {
    if (IsWindowsNT()) EnableShutdownPrivilege();
    WriteLog("Initiating Reboot...");
    // No EWX_FORCE: applications keep the chance to save and to refuse.
    const bool requested = RequestExitWindows(EWX_REBOOT, 0) != FALSE;
    if (!requested)
        WriteLogF("ExitWindowsEx() failed with error code: %d", static_cast<int>(::GetLastError()));
    WriteLog("Reboot initiated.");
    return requested ? 0 : kRebootRequestRefused;
}

void StartRebootThread() {
    HANDLE thread = CreateRebootThread(RebootThread);
    rebootThreadError = thread ? 0 : ::GetLastError();
    // A failure that sets no error still has to read as one.
    if (!thread && !rebootThreadError) rebootThreadError = ERROR_GEN_FAILURE;
    rebootThread.reset(thread);
}

HANDLE GetRebootThreadHandle() {
    return rebootThread.get();
}

uint32_t WaitForRebootThread(uint32_t code) {
    HANDLE thread = rebootThread.get();
    if (!thread && !rebootThreadError) return code;
    const bool ended = thread && ::WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    DWORD answer = kRebootRequestRefused;
    if (ended && !::GetExitCodeThread(thread, &answer)) answer = kRebootRequestRefused;
    // Only the launcher's own restart (1641) says that a restart was started, and only a request
    // that Windows accepted makes that true; a resumable restart (460393) keeps its shortcut and
    // its code either way.
    if (code != SetupResult::RebootInitiated || (ended && answer == 0)) return code;
    if (!thread) {
        WriteLogF("Exit code 3010 instead of 1641: the reboot thread could not be created. Error "
                  "Code = %08X",
                  static_cast<unsigned>(rebootThreadError));
    } else if (!ended) {
        WriteLog("Exit code 3010 instead of 1641: the reboot thread did not end within 10 seconds");
    } else {
        WriteLog("Exit code 3010 instead of 1641: Windows refused the restart request");
    }
    return SetupResult::RebootRequired;
}
