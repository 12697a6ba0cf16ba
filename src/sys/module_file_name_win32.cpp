// The launcher's own file name: the wide entry point on NT (found at run time), the narrow one on
// 9x, never cut short.
#include "sys/module_file_name.h"

#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"

namespace {
ModuleFileNameResult TooLong() {
    WriteLog("The module filename does not fit in 260 characters");
    return ModuleFileNameResult::TooLong;
}
} // namespace

ModuleFileNameResult GetLauncherFileName(std::string& name, unsigned& codePage) {
    name.clear();
    if (!IsWindowsNT()) {
        codePage = CP_ACP;
        char narrow[kWideBufferChars] = "";
        const DWORD length = ::GetModuleFileNameA(nullptr, narrow, sizeof narrow);
        // A full buffer means the name was cut: a cut name would give a wrong folder.
        if (length >= sizeof narrow) return TooLong();
        if (length == 0) return ModuleFileNameResult::Unreadable;
        name.assign(narrow, length);
        return ModuleFileNameResult::Found;
    }
    codePage = GetUserOemCodePage();
    using GetModuleFileNameWFunction = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
    auto getModuleFileNameW =
        GetEntryPointAs<GetModuleFileNameWFunction>("KERNEL32.DLL", "GetModuleFileNameW");
    if (!getModuleFileNameW) return ModuleFileNameResult::NoEntryPoint;
    wchar_t wide[kWideBufferChars] = L"";
    const DWORD length = getModuleFileNameW(nullptr, wide, kWideBufferChars);
    if (length >= kWideBufferChars) return TooLong();
    char narrow[kWideBufferChars];
    if (length == 0 || !*WideToNarrow(wide, narrow)) {
        WriteLog("Failed to convert Unicode module filename to MBCS");
        return ModuleFileNameResult::Unreadable;
    }
    name = narrow;
    return ModuleFileNameResult::Found;
}
