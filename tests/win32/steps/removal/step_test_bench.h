// Test support for the step operations under Wine: uninstall entries under HKEY_CURRENT_USER.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/setup_error.h"
#include "config/setup_command_line.h"
#include "steps/setup_steps.h"
#include "support/known_folders.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/win32.h"

// An uninstall entry under HKEY_CURRENT_USER, removed again at the end.
class UninstallEntry {
public:
    static std::string KeyPath(const std::string& name) {
        return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
    }

    // A plain entry with a display name and, unless empty, an UninstallString.
    UninstallEntry(const std::string& name, const std::string& displayName, const std::string& uninstallString)
        : name_(name) {
        HKEY key = Create();
        SetText(key, "DisplayName", displayName);
        if (!uninstallString.empty()) SetText(key, "UninstallString", uninstallString);
        ::RegCloseKey(key);
    }
    // An installer entry (WindowsInstaller 1) with NoRemove set as given.
    UninstallEntry(const std::string& name, const std::string& displayName, DWORD noRemove) : name_(name) {
        HKEY key = Create();
        SetText(key, "DisplayName", displayName);
        const DWORD one = 1;
        ::RegSetValueExA(key, "WindowsInstaller", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        ::RegSetValueExA(key, "NoRemove", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noRemove), sizeof noRemove);
        ::RegCloseKey(key);
    }
    ~UninstallEntry() { ::RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath(name_).c_str()); }
    UninstallEntry(const UninstallEntry&) = delete;
    UninstallEntry& operator=(const UninstallEntry&) = delete;

    bool Exists() const {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(name_).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }

private:
    HKEY Create() {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(name_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static void SetText(HKEY key, const char* name, const std::string& value) {
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    }

    std::string name_;
};
