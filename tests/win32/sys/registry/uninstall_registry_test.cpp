// Uninstall registry reads: entries the tests write under HKLM and HKCU, and one written by
// msiexec.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/known_folders.h"
#include "sys/uninstall_registry.h"
#include "sys/unique_handle.h"

namespace {
const char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kEntry[] = "SetupTestUninstallEntry";

struct Value {
    HKEY root;
    const char* name;
    DWORD type; // REG_SZ or REG_DWORD
    std::string text;
    uint32_t number;
};

Value Text(HKEY root, const char* name, std::string text) {
    return {root, name, REG_SZ, std::move(text), 0};
}
Value Number(HKEY root, const char* name, uint32_t number) {
    return {root, name, REG_DWORD, "", number};
}

std::string SystemMsiexec(const char* key) {
    return SystemFolder() + "MSIEXEC /x " + key;
}

std::string VersionText(const VersionNumber& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.third) +
           "." + std::to_string(v.fourth);
}

class UninstallRegistry : public ::testing::Test {
  protected:
    void SetUp() override { RemoveEntries(); }
    void TearDown() override { RemoveEntries(); }

    static void RemoveEntries() {
        const std::string path = std::string(kUninstallRoot) + kEntry;
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }

    static void Write(const std::vector<Value>& values) {
        const std::string path = std::string(kUninstallRoot) + kEntry;
        for (const Value& v : values) {
            UniqueRegKey key;
            ASSERT_EQ(::RegCreateKeyExA(v.root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                        key.put(), nullptr),
                      ERROR_SUCCESS);
            if (!v.name) continue; // just the key
            const LONG result =
                v.type == REG_DWORD
                    ? ::RegSetValueExA(key.get(), v.name, 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&v.number), 4)
                    : ::RegSetValueExA(key.get(), v.name, 0, v.type,
                                       reinterpret_cast<const BYTE*>(v.text.c_str()),
                                       static_cast<DWORD>(v.text.size() + 1));
            ASSERT_EQ(result, ERROR_SUCCESS);
        }
    }
};

struct FindCase {
    const char* what;
    std::vector<Value> values;
    bool found;
    const char* displayName;
    std::string removeCommand;
};

TEST_F(UninstallRegistry, FindUninstallEntryFollowsTheEntryKind) {
    const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER;
    const std::string longText(300, 'x'), name259(259, 'n'), name260(260, 'n');
    const std::vector<FindCase> cases = {
        {"installer entry, NoRemove 1",
         {Text(lm, "DisplayName", "Probe"), Number(lm, "WindowsInstaller", 1),
          Number(lm, "NoRemove", 1), Text(lm, "UninstallString", "x.exe")},
         true,
         "Probe",
         ""},
        {"installer entry, NoRemove 0",
         {Text(lm, "DisplayName", "Probe"), Number(lm, "WindowsInstaller", 1),
          Number(lm, "NoRemove", 0), Text(lm, "UninstallString", "x.exe")},
         true,
         "Probe",
         SystemMsiexec(kEntry)},
        {"installer entry, no NoRemove",
         {Text(lm, "DisplayName", "Probe"), Number(lm, "WindowsInstaller", 7)},
         true,
         "Probe",
         SystemMsiexec(kEntry)},
        {"other entry with UninstallString",
         {Text(lm, "DisplayName", "Other"), Number(lm, "WindowsInstaller", 0),
          Text(lm, "UninstallString", "\"C:\\t\\remover.exe\" 7")},
         true,
         "Other",
         "\"C:\\t\\remover.exe\" 7"},
        {"other entry without UninstallString",
         {Text(lm, "DisplayName", "Other")},
         false,
         "Other",
         ""},
        {"no DisplayName",
         {Number(lm, "WindowsInstaller", 1), Text(lm, "UninstallString", "x.exe")},
         false,
         "",
         ""},
        {"DisplayName of the wrong type",
         {Number(lm, "DisplayName", 5), Text(lm, "UninstallString", "x.exe")},
         false,
         "",
         ""},
        {"DisplayName longer than 259 bytes",
         {Text(lm, "DisplayName", longText), Text(lm, "UninstallString", "x")},
         false,
         "",
         ""},
        {"DisplayName of exactly 259 bytes",
         {Text(lm, "DisplayName", name259), Text(lm, "UninstallString", "x")},
         true,
         name259.c_str(),
         "x"},
        {"DisplayName of 260 bytes",
         {Text(lm, "DisplayName", name260), Text(lm, "UninstallString", "x")},
         false,
         "",
         ""},
        {"UninstallString longer than 259 bytes",
         {Text(lm, "DisplayName", "Long"), Text(lm, "UninstallString", longText)},
         false,
         "Long",
         ""},
        {"current user only",
         {Text(cu, "DisplayName", "Mine"), Text(cu, "UninstallString", "mine.exe /x")},
         true,
         "Mine",
         "mine.exe /x"},
        {"both roots: machine entry decides even when it lacks the value",
         {Text(lm, "DisplayName", "Machine"), Text(cu, "DisplayName", "User"),
          Text(cu, "UninstallString", "user.exe")},
         false,
         "Machine",
         ""},
        {"both roots: machine entry found",
         {Text(lm, "DisplayName", "Machine"), Text(lm, "UninstallString", "m.exe"),
          Text(cu, "DisplayName", "User"), Text(cu, "UninstallString", "u.exe")},
         true,
         "Machine",
         "m.exe"},
        {"no entry at all", {}, false, "", ""},
    };
    for (const FindCase& c : cases) {
        RemoveEntries();
        Write(c.values);
        std::string name = "stale", command = "stale";
        EXPECT_EQ(FindUninstallEntry(kEntry, name, command), c.found) << c.what;
        EXPECT_EQ(name, c.displayName) << c.what;
        EXPECT_EQ(command, c.removeCommand) << c.what;
    }
    std::string name = "stale", command = "stale";
    EXPECT_FALSE(FindUninstallEntry(nullptr, name, command));
    EXPECT_EQ(name + command, "");
}

struct VersionCase {
    const char* what;
    std::vector<Value> values;
    bool found;
    const char* version;
    bool foundWithoutOutput; // a display version that does not parse still counts
};

TEST_F(UninstallRegistry, ReadInstalledVersionTakesTheFirstFormPresent) {
    const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER;
    const std::vector<VersionCase> cases = {
        // Major 1, minor 2, 16-bit build 300: one byte per part.
        {"Version",
         {Number(lm, "Version", 0x0102012C), Number(lm, "VersionMajor", 9),
          Number(lm, "VersionMinor", 9), Text(lm, "DisplayVersion", "8.8")},
         true,
         "1.2.1.44",
         true},
        {"VersionMajor and VersionMinor",
         {Number(lm, "VersionMajor", 0x10003), Number(lm, "VersionMinor", 7),
          Text(lm, "DisplayVersion", "8.8")},
         true,
         "3.7.0.0",
         true},
        {"VersionMajor alone falls through",
         {Number(lm, "VersionMajor", 3), Text(lm, "DisplayVersion", "4.0 Beta")},
         true,
         "4.0.0.0",
         true},
        {"DisplayVersion",
         {Text(lm, "DisplayVersion", "1.0b"), Text(lm, "DisplayName", "Product 7")},
         true,
         "1.0.1.0",
         true},
        {"DisplayVersion that does not parse",
         {Text(lm, "DisplayVersion", "v2"), Text(lm, "DisplayName", "P 7")},
         false,
         "0.0.0.0",
         true},
        {"DisplayName",
         {Text(lm, "DisplayName", "Product 2000 release 3")},
         true,
         "2000.0.0.0",
         true},
        {"DisplayName with an oversized first number",
         {Text(lm, "DisplayName", "Tool 123456 build 5.1")},
         true,
         "5.1.0.0",
         true},
        {"DisplayName with only oversized numbers",
         {Text(lm, "DisplayName", "Tool 99999999")},
         false,
         "0.0.0.0",
         true},
        {"DisplayName without digits",
         {Text(lm, "DisplayName", "Product")},
         false,
         "0.0.0.0",
         false},
        {"nothing", {Text(lm, "UninstallString", "x")}, false, "0.0.0.0", false},
        {"current user", {Number(cu, "Version", 0x05000000)}, true, "5.0.0.0", true},
        {"machine entry hides the user's version",
         {Text(lm, "Publisher", "x"), Number(cu, "Version", 0x05000000)},
         false,
         "0.0.0.0",
         false},
    };
    for (const VersionCase& c : cases) {
        RemoveEntries();
        Write(c.values);
        VersionNumber v;
        v.major = 99;
        EXPECT_EQ(ReadInstalledVersion(kEntry, &v), c.found) << c.what;
        EXPECT_EQ(VersionText(v), c.version) << c.what;
        EXPECT_EQ(ReadInstalledVersion(kEntry, nullptr), c.foundWithoutOutput)
            << c.what << " (no output)";
    }
}

// A real msiexec install of the probe package writes the entry the launcher reads.
class InstalledPackage : public ::testing::Test {
  protected:
    static constexpr const char* kProductCode = "{4FEA4BC1-53A1-467A-A047-BA6BC5522BF2}";

    static std::string PackagePath() {
        std::string path = PROBE_MSI;
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }

    void SetUp() override {
        RunSystemMsiexec(std::string("/x ") + kProductCode + " /qn");
        ASSERT_EQ(RunSystemMsiexec("/i \"" + PackagePath() + "\" /qn"), 0u);
    }
    void TearDown() override {
        EXPECT_EQ(RunSystemMsiexec(std::string("/x ") + kProductCode + " /qn"), 0u);
    }
};

TEST_F(InstalledPackage, EntryIsFoundWithMsiexecRemoveCommandAndByteWiseVersion) {
    std::string name, command;
    ASSERT_TRUE(FindUninstallEntry(kProductCode, name, command));
    EXPECT_EQ(name, "Registry Probe 1.2 release 300");
    EXPECT_EQ(command, SystemMsiexec(kProductCode));

    // The package version 1.2.300 is stored as one DWORD; the build's two bytes read as 1.44.
    VersionNumber v;
    ASSERT_TRUE(ReadInstalledVersion(kProductCode, &v));
    EXPECT_EQ(VersionText(v), "1.2.1.44");

    RunSystemMsiexec(std::string("/x ") + kProductCode + " /qn");
    EXPECT_FALSE(FindUninstallEntry(kProductCode, name, command));
    EXPECT_FALSE(ReadInstalledVersion(kProductCode, &v));
    ASSERT_EQ(RunSystemMsiexec("/i \"" + PackagePath() + "\" /qn"), 0u); // for TearDown
}
} // namespace
