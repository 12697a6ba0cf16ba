// Registry entries that Wine tests write and take away again: text values, uninstall entries under
// HKEY_CURRENT_USER, and the Windows version Wine reports to a program.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "sys/unique_handle.h"

inline bool SetRegistryText(HKEY key, const char* name, const std::string& value) {
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// An uninstall entry under HKEY_CURRENT_USER, made afresh and removed again at the end.
class UninstallEntry {
  public:
    static std::string KeyPath(const std::string& name) {
        return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
    }

    // A plain entry with a display name and, unless empty, an UninstallString and a DisplayVersion.
    UninstallEntry(const std::string& name, const std::string& displayName,
                   const std::string& uninstallString, const std::string& displayVersion = "")
        : name_(name) {
        UniqueRegKey key = Create();
        SetRegistryText(key.get(), "DisplayName", displayName);
        if (!uninstallString.empty())
            SetRegistryText(key.get(), "UninstallString", uninstallString);
        if (!displayVersion.empty()) SetRegistryText(key.get(), "DisplayVersion", displayVersion);
    }
    // An installer entry (WindowsInstaller 1) with NoRemove set as given.
    UninstallEntry(const std::string& name, const std::string& displayName, DWORD noRemove)
        : name_(name) {
        UniqueRegKey key = Create();
        SetRegistryText(key.get(), "DisplayName", displayName);
        const DWORD one = 1;
        ::RegSetValueExA(key.get(), "WindowsInstaller", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&one), sizeof one);
        ::RegSetValueExA(key.get(), "NoRemove", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&noRemove), sizeof noRemove);
    }
    ~UninstallEntry() { ::RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath(name_).c_str()); }
    UninstallEntry(const UninstallEntry&) = delete;
    UninstallEntry& operator=(const UninstallEntry&) = delete;

    bool Exists() const {
        UniqueRegKey key;
        return ::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(name_).c_str(), 0, KEY_READ, key.put()) ==
               ERROR_SUCCESS;
    }

  private:
    // Values an interrupted run left behind are dropped first.
    UniqueRegKey Create() {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath(name_).c_str());
        UniqueRegKey key;
        EXPECT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(name_).c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    std::string name_;
};

// While this lives, Wine reports the Windows version `version` ("nt40", "win2k", "win98", ...) to
// programs whose file is named `programName`. A program reads it as it starts, so keep this until
// the program has ended.
class EmulatedWindowsVersion {
  public:
    EmulatedWindowsVersion(const std::string& programName, const std::string& version)
        : key_("Software\\Wine\\AppDefaults\\" + programName) {
        UniqueRegKey key;
        applied_ = ::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE,
                                     nullptr, key.put(), nullptr) == ERROR_SUCCESS &&
                   SetRegistryText(key.get(), "Version", version);
    }
    ~EmulatedWindowsVersion() { ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    EmulatedWindowsVersion(const EmulatedWindowsVersion&) = delete;
    EmulatedWindowsVersion& operator=(const EmulatedWindowsVersion&) = delete;

    bool Applied() const { return applied_; }

  private:
    std::string key_;
    bool applied_ = false;
};
