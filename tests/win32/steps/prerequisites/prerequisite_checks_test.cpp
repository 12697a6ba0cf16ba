// The prerequisite checks under Wine: the CD-prompt mutex, platform entries against real and
// emulated Windows versions with the server test, and the installer engine's version.
#include <gtest/gtest.h>

#include "msi/msi_library.h"
#include "steps/platform_requirement.h"
#include "support/child_process.h"
#include "support/installer_library_seam.h"
#include "support/known_folders.h"
#include "support/message_box_answerer.h"
#include "support/raised_code.h"
#include "support/registry_entries.h"
#include "support/setup_log_capture.h"
#include "support/step_bench.h"
#include "sys/unique_handle.h"

namespace {

const char kUnsupported[] = "This program does not support the operating system detected.";
const char kServer[] = "This program will not install on Windows NT Server.";
constexpr DWORD kChildPassed = 0x600D;

TEST(PrerequisiteChecks, CdPromptMutexAndMissingCommandLine) {
    MessageBoxAnswerer answerer;
    SetupSteps steps(nullptr, nullptr);
    SetupLogCapture log;
    EXPECT_FALSE(steps.IsCdPromptMutexSet());
    EXPECT_EQ(nullptr, ::OpenMutexA(SYNCHRONIZE, FALSE, "__MsiPromptForCD")); // never created
    {
        UniqueKernelHandle prompt(::CreateMutexA(nullptr, FALSE, "__MsiPromptForCD"));
        EXPECT_TRUE(steps.IsCdPromptMutexSet());
    }
    EXPECT_TRUE(steps.HasInstallPrivileges());
    EXPECT_TRUE(log.Contains("Checking if __MsiPromptForCD mutex is set"));
    EXPECT_TRUE(log.Contains("Checking if the user has sufficient priviledges to install"));

    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.CheckPlatform(); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.IsInstallerVersionSufficient(); }));
    ASSERT_EQ(2u, answerer.Boxes().size());
    EXPECT_EQ("Error Code: 0008.80004003", answerer.Boxes()[0].text);
    EXPECT_EQ("Error Code: 0009.80004003", answerer.Boxes()[1].text);
}

PlatformVersion Version(uint32_t major, uint32_t minor, uint16_t servicePack,
                        const char* basicRecordText = nullptr) {
    PlatformVersion version;
    version.major = major;
    version.minor = minor;
    version.servicePackMajor = servicePack;
    version.hasServicePackNumbers = basicRecordText == nullptr;
    version.servicePackText = basicRecordText ? basicRecordText : "";
    return version;
}

TEST(PlatformList, EntriesAgainstVersions) {
    const PlatformVersion nt4sp5 = Version(4, 0, 5), nt4sp6 = Version(4, 0, 6),
                          win2k = Version(5, 0, 4), win98 = Version(4, 10, 0);
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
        {"NT:3.51", "NT", nt4sp5, true}, // the major decides before the minor is looked at
        {"NT:4:6", "NT", nt4sp6, true},
        {"nt:", "NT", nt4sp5, true},
        {"9X:4.10", "NT", win2k, false},
        {"NT:5.1, 9X:4.10", "9X", win98, true},
        {"9X:4.90", "9X", win98, false},
        {"", "9X", win98, true},
        {"NT, :4.0, NT:4.0", "NT", nt4sp5, true}, // no colon, colon first: skipped
        {"NT:6.1, NT:4.0", "NT", nt4sp6, false},  // the first matching entry decides
        {"\"NT:4.0\"", "NT", nt4sp5, true},
        {"\"NT:4.0", "NT", nt4sp5, false},
        {"9X:4.x, NT:4.0", "NT", nt4sp5, true}, // another platform's entry is never parsed
        {"NT:4.0:3", "NT", Version(4, 0, 0, "Service Pack 3"), true},
        {"NT:4.0:4", "NT", Version(4, 0, 0, "Service Pack 3"), false},
        {"NT:4.0:1.3", "NT", Version(4, 0, 0, "Service Pack 1.2"), false},
        {"9X:4.10:0", "9X", Version(4, 10, 0, " A "), true},
        {"NT:4.1", "NT", Version(4, 0, 0, "Service Pack 6a"), false}, // text read only when needed
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.platforms) + " on " + test.name);
        EXPECT_EQ(test.accepted, PlatformListAccepts(test.platforms, test.name, test.version));
    }
    MessageBoxAnswerer answerer;
    for (const char* unreadable : {"NT:4.x", "NT:4.0:6a", "NT:.5", "NT:4.0.1381"}) {
        EXPECT_EQ(0x80040007u, RaisedCode([&] { PlatformListAccepts(unreadable, "NT", nt4sp6); }))
            << unreadable;
    }
    const PlatformVersion letterServicePack = Version(4, 0, 0, "Service Pack 6a");
    EXPECT_EQ(0x80040007u,
              RaisedCode([&] { PlatformListAccepts("NT:4.0:6", "NT", letterServicePack); }));
}

// Sets the NT product type for one test and puts the original back.
class ProductTypeOverride {
  public:
    explicit ProductTypeOverride(const char* productType) {
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
                          0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
        DWORD size = sizeof original_ - 1;
        ::RegQueryValueExA(key_.get(), "ProductType", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(original_), &size);
        Set(productType);
    }
    ~ProductTypeOverride() { Set(original_); }

  private:
    void Set(const char* value) {
        ::RegSetValueExA(key_.get(), "ProductType", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>(strlen(value) + 1));
    }
    UniqueRegKey key_;
    char original_[MAX_PATH] = "WinNT";
};

struct PlatformCase {
    const char* productInformation;
    bool qualifies;
    const char* boxText; // null: no box
};

// Runs CheckPlatform over a table; every case must store `platformId`.
void ExpectPlatformChecks(const std::vector<PlatformCase>& cases, int platformId) {
    for (const PlatformCase& test : cases) {
        SCOPED_TRACE(test.productInformation);
        StepBench bench("/qn", std::string(test.productInformation) + "[ProductFeatures]\r\n",
                        "kestrel.msi");
        MessageBoxAnswerer answerer;
        EXPECT_EQ(test.qualifies, bench.Steps().CheckPlatform());
        EXPECT_EQ(platformId, bench.Steps().GetPlatformId());
        const std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
        ASSERT_EQ(test.boxText ? 1u : 0u, boxes.size());
        if (!test.boxText) continue;
        EXPECT_EQ(test.boxText, boxes[0].text);
        EXPECT_EQ("Error", boxes[0].caption);
    }
}

// Wine's default system is Windows 7 (6.1) with Service Pack 1.
TEST(CheckPlatform, RunningSystemAndServerTest) {
    ExpectPlatformChecks({{"Platforms=NT:6.1:1\r\n", true, nullptr},
                          {"Platforms=NT:6.1:2, 9X:4.0\r\n", false, kUnsupported}},
                         2);
    SetupLogCapture log;
    {
        ProductTypeOverride server("LanmanNT");
        ExpectPlatformChecks({{"AllowNTServer=no\r\n", false, kServer},
                              {"AllowNTServer=TRUE\r\n", true, nullptr},
                              {"AllowNTServer=never\r\n", true, nullptr}},
                             2);
    }
    {
        ProductTypeOverride server("ServerNT");
        ExpectPlatformChecks({{"AllowNTServer=0\r\nPlatforms=NT:4.0\r\n", false, kServer}}, 2);
    }
    ExpectPlatformChecks({{"AllowNTServer=False\r\n", true, nullptr}}, 2); // a workstation
    EXPECT_TRUE(log.Contains("Checking if platform qualifies for installation"));
    EXPECT_TRUE(log.Contains("Installation allowed to NT Server = no"));
    EXPECT_TRUE(log.Contains("Installation allowed to NT Server = False"));
    EXPECT_FALSE(log.Contains("Installation allowed to NT Server = TRUE"));
}

// The child side: CheckPlatform under the Windows version Wine emulates for this program.
TEST(CheckPlatformChild, DISABLED_EmulatedVersion) {
    const std::string role = ChildRole();
    if (role == "nt40") { // 4.0 with Service Pack 6a
        ExpectPlatformChecks({{"Platforms=NT:4.0:6\r\n", true, nullptr},
                              {"Platforms=NT:4.0:7\r\n", false, kUnsupported}},
                             2);
    } else if (role == "win2k") { // 5.0 with Service Pack 4
        ExpectPlatformChecks({{"Platforms=NT:5.0:4\r\n", true, nullptr},
                              {"Platforms=NT:5.0:4.1\r\n", false, kUnsupported}},
                             2);
    } else if (role == "win98") { // 4.10, 9x family: no server test
        ExpectPlatformChecks({{"Platforms=NT:5.1, 9X:4.10\r\nAllowNTServer=no\r\n", true, nullptr},
                              {"Platforms=NT:4.0\r\n", false, kUnsupported}},
                             1);
    } else {
        GTEST_SKIP();
    }
    // A distinct code tells the parent that the checks ran and held.
    if (!HasFailure()) ::ExitProcess(kChildPassed);
}

TEST(CheckPlatform, EmulatedVersions) {
    const std::string program = TestProgramPath();
    for (const char* version : {"nt40", "win2k", "win98"}) {
        SCOPED_TRACE(version);
        DWORD exitCode = 0xDEAD;
        {
            // The child reads the emulated version while it starts: the setting stays until it
            // ends.
            EmulatedWindowsVersion emulated(program.substr(program.rfind('\\') + 1), version);
            ChildProcess child =
                StartTestChild("CheckPlatformChild.DISABLED_EmulatedVersion", "", version);
            exitCode = WaitForExitCode(child.process.get());
        }
        EXPECT_EQ(kChildPassed, exitCode);
    }
}

bool IsSufficient(const std::string& msiVersion) {
    StepBench bench("/qn", "MsiVersion=" + msiVersion + "\r\n[ProductFeatures]\r\n", "kestrel.msi");
    return bench.Steps().IsInstallerVersionSufficient();
}

// The stand-in engine answers the version in SETUP_TEST_ENGINE_VERSION.
TEST(InstallerVersion, ComparesMajorMinorBuild) {
    const std::string folder = TestProgramFolder();
    SetInstallerLibraryPath((folder + "engine_version.dll").c_str());
    const struct {
        const char* engine;
        const char* required;
        bool sufficient;
    } cases[] = {
        {"1.10.5", "1.10", true},      {"1.20.0", "1.10", true},   {"1.1.9999", "1.10", false},
        {"2.0.0", "1.99.99", true},    {"1.10.5", "1.10.5", true}, {"1.10.5", "1.10.6", false},
        {"1.10.5", "1.10.5.99", true}, {"0.99.0", "1", false},     {"1.10.5", "", true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.required) + " with engine " + test.engine);
        ::SetEnvironmentVariableA("SETUP_TEST_ENGINE_VERSION", test.engine);
        EXPECT_EQ(test.sufficient, IsSufficient(test.required));
    }
    MessageBoxAnswerer answerer;
    EXPECT_EQ(0x80040007u, RaisedCode([] { IsSufficient("1.x"); }));
    ::SetEnvironmentVariableA("SETUP_TEST_ENGINE_VERSION", nullptr); // DllGetVersion fails
    EXPECT_FALSE(IsSufficient("1.0"));
    // No library at all: false before the required version is looked at.
    SetInstallerLibraryPath((folder + "no_such_engine.dll").c_str());
    EXPECT_FALSE(IsSufficient("1.x"));
    SetInstallerLibraryPath(nullptr);
    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ("Error Code: 0009.80040007", answerer.Boxes()[0].text);
    // Wine's own engine (4.5).
    EXPECT_TRUE(IsSufficient("3.1"));
    EXPECT_FALSE(IsSufficient("9.0"));
}

} // namespace
