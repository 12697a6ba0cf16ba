// What 64-bit Windows shows a program of the other width: a second registry view of HKLM\Software
// (the 32-bit one is Wow6432Node), and a System32 folder that a 32-bit program is redirected away
// from.
#pragma once
#include "sys/unique_handle.h"
#include "sys/win32.h"

// The program's own registry view, or the other one on 64-bit Windows: the 64-bit view for the
// 32-bit build, the 32-bit view for the 64-bit build.
enum class RegistryView { Own, Other };
constexpr RegistryView kRegistryViews[] = {RegistryView::Own, RegistryView::Other};

// True where the other view exists: always in the 64-bit build; in the 32-bit build when
// IsWow64Process (looked up at run time: absent on 9x, NT 4 and 2000) says so. 32-bit Windows
// has no other view, and older systems refuse or ignore the flags that ask for it.
bool HasOtherRegistryView();

// Opens `subkey` under `root` for reading in `view`; false when it does not open, or `view` is
// Other on a system without one (then nothing is asked of the registry).
bool OpenKeyForReading(HKEY root, const char* subkey, RegistryView view, UniqueRegKey& key);

// True when `view` is the 64-bit view and this is the 32-bit build on 64-bit Windows: paths in
// its values that name the system folder mean the 64-bit one, which this process is redirected
// away from.
bool IsRedirectedAwayFrom(RegistryView view);

// Turns the file system redirection of WoW64 off for the calling thread while it lives, and back
// on at once when it ends. Does nothing when `active` is false or the system has no redirection
// (Wow64DisableWow64FsRedirection is looked up at run time).
class NativeSystemFolderScope {
  public:
    explicit NativeSystemFolderScope(bool active);
    ~NativeSystemFolderScope();
    NativeSystemFolderScope(const NativeSystemFolderScope&) = delete;
    NativeSystemFolderScope& operator=(const NativeSystemFolderScope&) = delete;

  private:
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    RevertFunction revert_ = nullptr;
    void* oldValue_ = nullptr;
    bool disabled_ = false;
};
