// The prerequisite checks under Wine: the CD-prompt mutex, platform entries against real and
// emulated Windows versions with the server test, and the installer engine's version.
#include <gtest/gtest.h>

#include "../../child_process.h"
#include "../../sys/process/setup_log_capture.h"
#include "msi/msi_library.h"
#include "steps/platform_requirement.h"
#include "step_test_support.h"
#include "sys/unique_handle.h"

namespace {

const bool kLogSwitchedOn = SwitchSetupLogOn();

const char kUnsupportedText[] = "This program does not support the operating system detected.";
const char kServerText[] = "This program will not install on Windows NT Server.";

std::string ProgramFolder() {
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.rfind('\\') + 1);
}

std::string ProgramName() {
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(path.rfind('\\') + 1);
}

TEST(PrerequisiteChecks, CdPromptMutexIsOpenedNeverCreated) {
    SetupSteps steps(nullptr, nullptr);
    SetupLogCapture log;
    EXPECT_FALSE(steps.IsCdPromptMutexSet());
    UniqueKernelHandle left(::OpenMutexA(SYNCHRONIZE, FALSE, "__MsiPromptForCD"));
    EXPECT_FALSE(left.valid());
    {
        UniqueKernelHandle prompt(::CreateMutexA(nullptr, FALSE, "__MsiPromptForCD"));
        ASSERT_TRUE(prompt.valid());
        EXPECT_TRUE(steps.IsCdPromptMutexSet());
    }
    EXPECT_FALSE(steps.IsCdPromptMutexSet());
    EXPECT_TRUE(steps.HasInstallPrivileges());
    EXPECT_TRUE(log.Contains("Checking if __MsiPromptForCD mutex is set")) << log.Dump();
    EXPECT_TRUE(log.Contains("Checking if the user has sufficient priviledges to install"));
}

TEST(PrerequisiteChecks, OperationsWithoutCommandLineAreInternalErrors) {
    StepBoxAnswerer answerer;
    SetupSteps steps(nullptr, nullptr);
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.CheckPlatform(); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.IsInstallerVersionSufficient(); }));
    ASSERT_EQ(2u, answerer.Boxes().size());
    EXPECT_EQ("Error Code: 0008.80004003", answerer.Boxes()[0].text);
    EXPECT_EQ("Error Code: 0009.80004003", answerer.Boxes()[1].text);
}

PlatformVersion Version(uint32_t major, uint32_t minor, uint16_t servicePackMajor, uint16_t servicePackMinor = 0) {
    PlatformVersion version;
    version.major = major;
    version.minor = minor;
    version.servicePackMajor = servicePackMajor;
    version.servicePackMinor = servicePackMinor;
    return version;
}

PlatformVersion BasicRecord(uint32_t major, uint32_t minor, const char* servicePackText) {
    PlatformVersion version = Version(major, minor, 0);
    version.hasServicePackNumbers = false;
    version.servicePackText = servicePackText;
    return version;
}

TEST(PlatformList, EntriesAgainstVersions) {
    const PlatformVersion nt4sp5 = Version(4, 0, 5), nt4sp6 = Version(4, 0, 6), win2k = Version(5, 0, 4),
                          win98 = Version(4, 10, 0);
    const struct {
        const char* platforms;
        const char* name;
        PlatformVersion version;
        bool accepted;
    } cases[] = {
        {"NT:4.0:6", "NT", nt4sp5, false},
        {"NT:4.0:6", "NT", nt4sp6, true},
        {"NT:4.0:6", "NT", win2k, true},
        {"NT:4.0:6.1", "NT", nt4sp6, false},
        {"NT:4.0:5.9", "NT", nt4sp6, true},
        {"NT:3.51", "NT", nt4sp5, true},  // the major decides before the minor is looked at
        {"NT:4.1", "NT", nt4sp6, false},
        {"NT:4:6", "NT", nt4sp6, true},
        {"NT:", "NT", nt4sp5, true},
        {"nt:4.0", "NT", nt4sp5, true},
        {"9X:4.10", "NT", win2k, false},
        {"NT:5.1, 9X:4.10", "9X", win98, true},
        {"NT:5.1, 9X:4.10", "NT", win2k, false},
        {"9X:4.90", "9X", win98, false},
        {"", "9X", win98, true},
        {"", "NT", nt4sp5, true},
        {"NT, :4.0, NT:4.0", "NT", nt4sp5, true},  // no colon, colon first: skipped
        {"NT:6.1, NT:4.0", "NT", nt4sp6, false},   // the first matching entry decides
        {"\"NT:4.0\"", "NT", nt4sp5, true},
        {"\"NT:4.0", "NT", nt4sp5, false},
        {"9X:4.x, NT:4.0", "NT", nt4sp5, true},  // an entry of another platform is never parsed
        {"NT:4.0:3", "NT", BasicRecord(4, 0, "Service Pack 3"), true},
        {"NT:4.0:4", "NT", BasicRecord(4, 0, "Service Pack 3"), false},
        {"NT:4.0:1.2", "NT", BasicRecord(4, 0, "Service Pack 1.2"), true},
        {"NT:4.0:1.3", "NT", BasicRecord(4, 0, "Service Pack 1.2"), false},
        {"9X:4.10:0", "9X", BasicRecord(4, 10, " A "), true},
        {"NT:4.1", "NT", BasicRecord(4, 0, "Service Pack 6a"), false},  // the text is read only when needed
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.platforms) + " on " + test.name);
        EXPECT_EQ(test.accepted, PlatformListAccepts(test.platforms, test.name, test.version));
    }
}

TEST(PlatformList, UnreadableNumbersAreInternalErrors) {
    StepBoxAnswerer answerer;
    const struct {
        const char* platforms;
        PlatformVersion version;
    } cases[] = {
        {"NT:4.x", Version(4, 0, 6)},
        {"NT:4.0:6a", Version(4, 0, 6)},
        {"NT:.5", Version(4, 0, 6)},
        {"NT:4.0.1381", Version(4, 0, 6)},
        {"NT:4.0:6", BasicRecord(4, 0, "Service Pack 6a")},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.platforms);
        EXPECT_EQ(0x80040007u, RaisedCode([&] { PlatformListAccepts(test.platforms, "NT", test.version); }));
    }
    uint16_t major = 9, minor = 9;
    for (const char* text : {"", " A ", "Service Pack"}) {
        ReadServicePackText(text, major, minor);
        EXPECT_EQ(0, major + minor) << text;
    }
    ReadServicePackText("Service Pack 2.10", major, minor);
    EXPECT_EQ(2, major);
    EXPECT_EQ(10, minor);
}

// Sets the NT product type for one test and puts the original back.
class ProductTypeOverride {
public:
    explicit ProductTypeOverride(const char* productType) {
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
        DWORD size = sizeof original_ - 1;
        hadValue_ = ::RegQueryValueExA(key_.get(), "ProductType", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(original_), &size) == ERROR_SUCCESS;
        Set(productType);
    }
    ~ProductTypeOverride() {
        if (hadValue_)
            Set(original_);
        else
            ::RegDeleteValueA(key_.get(), "ProductType");
    }

private:
    void Set(const char* value) {
        ::RegSetValueExA(key_.get(), "ProductType", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>(strlen(value) + 1));
    }
    static constexpr const char* kKey = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
    UniqueRegKey key_;
    char original_[MAX_PATH] = "";
    bool hadValue_ = false;
};

struct PlatformCase {
    const char* productInformation;
    bool qualifies;
    const char* boxText;  // null: no box
};

// Runs CheckPlatform over a table; every case must store `platformId`.
void ExpectPlatformChecks(const std::vector<PlatformCase>& cases, int platformId) {
    for (const PlatformCase& test : cases) {
        SCOPED_TRACE(test.productInformation);
        LauncherFolder folder(test.productInformation);
        BoundSteps bound(folder, "/qn");
        StepBoxAnswerer answerer;
        EXPECT_EQ(test.qualifies, bound.steps.CheckPlatform());
        EXPECT_EQ(platformId, bound.steps.GetPlatformId());
        const std::vector<StepBoxAnswerer::Box> boxes = answerer.Boxes();
        if (!test.boxText) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(test.boxText, boxes[0].text);
        EXPECT_EQ("Error", boxes[0].caption);
    }
}

// Wine's default: Windows 7 (6.1) with Service Pack 1.
TEST(CheckPlatform, RunningSystem) {
    SetupLogCapture log;
    ExpectPlatformChecks({{"Platforms=NT:6.1:1\r\n", true, nullptr},
                          {"Platforms=NT:6.1:2\r\n", false, kUnsupportedText},
                          {"Platforms=9X:4.10\r\n", false, kUnsupportedText},
                          {"Platforms=NT:4.0:6, 9X:4.10\r\n", true, nullptr}},
                         2);
    EXPECT_TRUE(log.Contains("Checking if platform qualifies for installation"));
    EXPECT_FALSE(log.Contains("Installation allowed to NT Server = "));
}

TEST(CheckPlatform, ServerTest) {
    {
        ProductTypeOverride server("LanmanNT");
        SetupLogCapture log;
        ExpectPlatformChecks({{"AllowNTServer=no\r\n", false, kServerText},
                              {"AllowNTServer=False\r\nPlatforms=NT:4.0\r\n", false, kServerText},
                              {"AllowNTServer=TRUE\r\n", true, nullptr},
                              {"AllowNTServer=\r\n", true, nullptr},
                              {"AllowNTServer=never\r\n", true, nullptr}},
                             2);
        EXPECT_TRUE(log.Contains("Installation allowed to NT Server = no"));
        EXPECT_TRUE(log.Contains("Installation allowed to NT Server = False"));
        EXPECT_FALSE(log.Contains("Installation allowed to NT Server = TRUE"));
    }
    {
        ProductTypeOverride server("ServerNT");
        ExpectPlatformChecks({{"AllowNTServer=0\r\n", false, kServerText}}, 2);
    }
    {
        // Exact case only; a workstation passes.
        ProductTypeOverride server("servernt");
        ExpectPlatformChecks({{"AllowNTServer=0\r\n", true, nullptr}}, 2);
    }
    ProductTypeOverride workstation("WinNT");
    ExpectPlatformChecks({{"AllowNTServer=NO\r\nPlatforms=9X:4.0\r\n", false, kUnsupportedText}}, 2);
}

// The child side: CheckPlatform under the Windows version Wine emulates for this program.
TEST(CheckPlatformChild, DISABLED_EmulatedVersion) {
    const std::string role = ChildRole();
    if (role == "nt40") {  // 4.0 with Service Pack 6a
        ExpectPlatformChecks({{"Platforms=NT:4.0:6\r\n", true, nullptr},
                              {"Platforms=NT:4.0:7\r\n", false, kUnsupportedText},
                              {"Platforms=NT:5.0\r\n", false, kUnsupportedText}},
                             2);
    } else if (role == "win2k") {  // 5.0 with Service Pack 4
        ExpectPlatformChecks({{"Platforms=NT:4.0:6\r\n", true, nullptr},
                              {"Platforms=NT:5.0:4\r\n", true, nullptr},
                              {"Platforms=NT:5.0:4.1\r\n", false, kUnsupportedText},
                              {"Platforms=NT:5.1\r\n", false, kUnsupportedText}},
                             2);
    } else if (role == "win98") {  // 4.10, 9x family: no server test
        SetupLogCapture log;
        ExpectPlatformChecks({{"Platforms=NT:5.1, 9X:4.10\r\n", true, nullptr},
                              {"Platforms=9X:4.90\r\n", false, kUnsupportedText},
                              {"Platforms=NT:4.0\r\n", false, kUnsupportedText},
                              {"AllowNTServer=no\r\n", true, nullptr}},
                             1);
        EXPECT_FALSE(log.Contains("Installation allowed to NT Server = no"));
    } else {
        GTEST_SKIP();
    }
}

TEST(CheckPlatform, EmulatedVersions) {
    const std::string key = "Software\\Wine\\AppDefaults\\" + ProgramName();
    for (const char* version : {"nt40", "win2k", "win98"}) {
        SCOPED_TRACE(version);
        {
            UniqueRegKey appDefaults;
            ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                       nullptr, appDefaults.put(), nullptr));
            ::RegSetValueExA(appDefaults.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                             static_cast<DWORD>(strlen(version) + 1));
        }
        // The child reads the emulated version while it starts: the key stays until it has ended.
        ChildProcess child = StartTestChild("CheckPlatformChild.DISABLED_EmulatedVersion", "", version);
        const DWORD exitCode = child.process.valid() ? WaitForExitCode(child.process.get()) : 0xDEAD;
        ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        EXPECT_EQ(0u, exitCode);
    }
}

// Points the installer library at the stand-in engine, whose version comes from the environment.
class StandInEngine {
public:
    StandInEngine() { MsiLibrary::SetLibraryPathForTesting((ProgramFolder() + "engine_version.dll").c_str()); }
    ~StandInEngine() {
        MsiLibrary::SetLibraryPathForTesting(nullptr);
        ::SetEnvironmentVariableA("SETUP_TEST_ENGINE_VERSION", nullptr);
    }
    void SetVersion(const char* version) { ::SetEnvironmentVariableA("SETUP_TEST_ENGINE_VERSION", version); }
};

bool IsSufficient(const std::string& msiVersion) {
    LauncherFolder folder("MsiVersion=" + msiVersion + "\r\n");
    BoundSteps bound(folder, "/qn");
    return bound.steps.IsInstallerVersionSufficient();
}

TEST(InstallerVersion, ComparesMajorMinorBuild) {
    StandInEngine engine;
    const struct {
        const char* engine;
        const char* required;
        bool sufficient;
    } cases[] = {
        {"1.10.5", "1.10", true},      {"1.10.0", "1.10", true},        {"1.20.0", "1.10", true},
        {"1.1.9999", "1.10", false},   {"2.0.0", "1.99.99", true},      {"1.10.5", "1.10.5", true},
        {"1.10.5", "1.10.6", false},   {"0.99.0", "1", false},          {"1.10.5", "1.10.5.99", true},
        {"1.10.5", "", true},          {"1.10.5", "1.10.4", true},      {"3.0.0", "2.99", true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.required) + " with engine " + test.engine);
        engine.SetVersion(test.engine);
        EXPECT_EQ(test.sufficient, IsSufficient(test.required));
    }
}

TEST(InstallerVersion, UnreadableVersionAndMissingEngine) {
    StepBoxAnswerer answerer;
    {
        StandInEngine engine;
        engine.SetVersion("1.10.5");
        EXPECT_EQ(0x80040007u, RaisedCode([] { IsSufficient("1.x"); }));
        ASSERT_EQ(1u, answerer.Boxes().size());
        EXPECT_EQ("Error Code: 0009.80040007", answerer.Boxes()[0].text);
        engine.SetVersion("");  // DllGetVersion fails
        EXPECT_FALSE(IsSufficient("1.0"));
    }
    // No library at all: false before the required version is looked at.
    MsiLibrary::SetLibraryPathForTesting((ProgramFolder() + "no_such_engine.dll").c_str());
    EXPECT_FALSE(IsSufficient("1.x"));
    MsiLibrary::SetLibraryPathForTesting(nullptr);
    EXPECT_EQ(1u, answerer.Boxes().size());
    // Wine's own engine (4.5).
    EXPECT_TRUE(IsSufficient("3.1"));
    EXPECT_FALSE(IsSufficient("9.0"));
}

}  // namespace
