// Registry views and System32 redirection on 64-bit Windows.
#include "sys/wow64.h"

#include "sys/wide_entry_points.h"

namespace {

// The 32-bit build is the program that WoW64 runs; the 64-bit build is native.
constexpr bool kIs64BitBuild = sizeof(void*) == 8;

bool IsWow64Process32() {
    if (kIs64BitBuild) return false;
    static const bool wow64 = [] {
        using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
        // Exported from XP SP2 and Server 2003 SP1 on; earlier systems run no WoW64.
        auto isWow64Process =
            GetEntryPointAs<IsWow64ProcessFunction>("KERNEL32.DLL", "IsWow64Process");
        BOOL result = FALSE;
        return isWow64Process && isWow64Process(::GetCurrentProcess(), &result) && result;
    }();
    return wow64;
}

} // namespace

bool HasOtherRegistryView() {
    return kIs64BitBuild || IsWow64Process32();
}

bool OpenKeyForReading(HKEY root, const char* subkey, RegistryView view, UniqueRegKey& key) {
    REGSAM access = KEY_READ;
    if (view == RegistryView::Other) {
        if (!HasOtherRegistryView()) return false;
        access |= kIs64BitBuild ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    }
    return ::RegOpenKeyExA(root, subkey, 0, access, key.put()) == ERROR_SUCCESS;
}

bool IsRedirectedAwayFrom(RegistryView view) {
    return view == RegistryView::Other && IsWow64Process32();
}

NativeSystemFolderScope::NativeSystemFolderScope(bool active) {
    if (!active || !IsWow64Process32()) return;
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    auto disable =
        GetEntryPointAs<DisableFunction>("KERNEL32.DLL", "Wow64DisableWow64FsRedirection");
    // Both looked up before redirection is off: no library is loaded while it is.
    revert_ = GetEntryPointAs<RevertFunction>("KERNEL32.DLL", "Wow64RevertWow64FsRedirection");
    disabled_ = disable && revert_ && disable(&oldValue_);
}

NativeSystemFolderScope::~NativeSystemFolderScope() {
    if (disabled_) revert_(oldValue_);
}
