// Installed products in the uninstall registry: display name, remove command and installed version.
#include "sys/uninstall_registry.h"

#include <cstdint>

#include "sys/fixed_buffer.h"
#include "sys/system_library.h"
#include "sys/unique_handle.h"
#include "sys/wow64.h"

namespace {
// Machine entries in the program's own view, then in the other view of 64-bit Windows (x64
// products register in the 64-bit view, x86 ones in Wow6432Node), then the user's entries, which
// both views share.
UniqueRegKey OpenUninstallEntry(const char* keyName, RegistryView* foundView) {
    char path[kMaxPath];
    if (!FormatBounded(path, sizeof path,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s", keyName))
        return UniqueRegKey();
    UniqueRegKey key;
    for (const RegistryView view : kRegistryViews) {
        if (OpenKeyForReading(HKEY_LOCAL_MACHINE, path, view, key)) {
            if (foundView) *foundView = view;
            return key;
        }
    }
    if (OpenKeyForReading(HKEY_CURRENT_USER, path, RegistryView::Own, key)) {
        if (foundView) *foundView = RegistryView::Own;
        return key;
    }
    return UniqueRegKey();
}

// A text value (REG_SZ or REG_EXPAND_SZ, not expanded) of at most 259 bytes: the 260-byte buffer
// holds it with its terminator. A longer value is absent, never a cut one that would name another
// product or command.
bool ReadText(HKEY key, const char* name, std::string& text) {
    char buffer[kMaxPath];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    // Stored values need not end with a terminator: one is added when there is room for it.
    if (size == 0 || buffer[size - 1] != '\0') {
        if (size >= sizeof buffer) return false;
        buffer[size] = '\0';
    }
    text = buffer; // stops at the stored terminator
    return true;
}

bool ReadNumber(HKEY key, const char* name, uint32_t& number) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof value) return false;
    number = value;
    return true;
}

uint32_t ReadNumberOrZero(HKEY key, const char* name) {
    uint32_t number = 0;
    return ReadNumber(key, name, number) ? number : 0;
}

} // namespace

bool FindUninstallEntry(const char* keyName, std::string& displayName, std::string& removeCommand,
                        RegistryView* view) {
    displayName.clear();
    removeCommand.clear();
    if (!keyName) return false;
    UniqueRegKey key = OpenUninstallEntry(keyName, view);
    if (!key) return false;
    if (!ReadText(key.get(), "DisplayName", displayName)) return false;

    if (ReadNumberOrZero(key.get(), "WindowsInstaller") != 0) {
        if (ReadNumberOrZero(key.get(), "NoRemove") != 0) return true; // present, not removable
        const std::string systemFolder = SystemFolder();
        if (systemFolder.empty()) return false;
        char command[kMaxPath];
        // A command that does not fit would name another product: not found rather than cut.
        if (!FormatBounded(command, sizeof command, "%sMSIEXEC /x %s", systemFolder.c_str(),
                           keyName))
            return false;
        removeCommand = command;
        return true;
    }
    return ReadText(key.get(), "UninstallString", removeCommand);
}

bool ReadInstalledVersion(const char* keyName, VersionNumber* version) {
    if (version) version->Clear();
    if (!keyName) return false;
    UniqueRegKey key = OpenUninstallEntry(keyName, nullptr);
    if (!key) return false;

    uint32_t packed = 0;
    if (ReadNumber(key.get(), "Version", packed)) {
        // One byte per part: the build number's two bytes become the third and fourth parts.
        if (version) {
            version->major = static_cast<uint16_t>((packed >> 24) & 0xFF);
            version->minor = static_cast<uint16_t>((packed >> 16) & 0xFF);
            version->third = static_cast<uint16_t>((packed >> 8) & 0xFF);
            version->fourth = static_cast<uint16_t>(packed & 0xFF);
        }
        return true;
    }
    uint32_t major = 0, minor = 0;
    if (ReadNumber(key.get(), "VersionMajor", major) &&
        ReadNumber(key.get(), "VersionMinor", minor)) {
        if (version) {
            version->major = static_cast<uint16_t>(major);
            version->minor = static_cast<uint16_t>(minor);
        }
        return true;
    }
    std::string text;
    if (ReadText(key.get(), "DisplayVersion", text)) {
        return version ? ParseVersionNumber(text.c_str(), version) : true;
    }
    if (ReadText(key.get(), "DisplayName", text)) {
        if (FindVersionInName(text, version)) return true;
        if (version) version->Clear();
    }
    return false;
}
