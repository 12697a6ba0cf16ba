// The installer library binding under Wine: product information read from packages built with
// wixl, installed states through the real msiexec, the engine version, and stand-in DLLs for a
// missing library, missing entry points and a msi.dll planted beside the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msi/msi_library.h"
#include "support/child_process.h"
#include "support/expect_internal_error.h"
#include "support/installer_library_seam.h"
#include "support/known_folders.h"
#include "support/setup_log_capture.h"

namespace {

const char* const kProduct1 = "{6F1C2A3B-0001-4D5E-8F90-A1B2C3D4E501}";
const char* const kProduct2 = "{6F1C2A3B-0002-4D5E-8F90-A1B2C3D4E502}";
const char* const kPackageCode1 = "{6F1C2A3B-1001-4D5E-8F90-A1B2C3D4E5AA}";
const char* const kRebuiltPackageCode = "{6F1C2A3B-1003-4D5E-8F90-A1B2C3D4E5CC}";
const char* const kComponent = "{6F1C2A3B-2001-4D5E-8F90-A1B2C3D4E5D1}";

// The packages and stand-in DLLs are built beside this program.
std::string Package(const char* name) {
    return TestProgramFolder() + name;
}

class MsiLibraryTest : public ::testing::Test {
  protected:
    void TearDown() override { SetInstallerLibraryPath(nullptr); }
};

struct PackageCase {
    const char* file;
    const char* code;
    const char* name;
    const char* version;
};

TEST_F(MsiLibraryTest, ReadsProductInformationFromPackages) {
    // ShortProductName wins over ProductName; without it ProductName is used.
    const PackageCase cases[] = {
        {"kestrel-1.0.msi", kProduct1, "Kestrel", "1.0.0"},
        {"kestrel-2.0.msi", kProduct2, "Kestrel Sample", "2.0.0"},
    };
    MsiLibrary library;
    for (const PackageCase& c : cases) {
        SCOPED_TRACE(c.file);
        SetupLogCapture log;
        ASSERT_TRUE(library.LoadProductInfo(Package(c.file).c_str()));
        EXPECT_EQ(library.GetProductCode(), c.code);
        EXPECT_EQ(library.GetProductName(), c.name);
        EXPECT_EQ(library.GetProductVersion(), c.version);
        EXPECT_TRUE(
            log.Contains("Loading product information for package '" + Package(c.file) + "'"))
            << log.Dump();
        EXPECT_TRUE(log.Contains(std::string("The property's value is '") + c.code + "'"))
            << log.Dump();
    }
    // Without a path the last package is read again.
    ASSERT_TRUE(library.LoadProductInfo());
    EXPECT_EQ(library.GetProductCode(), kProduct2);
}

TEST_F(MsiLibraryTest, PropertyLookupLogsWhatItFinds) {
    MsiLibrary library;
    SetupLogCapture log;
    ASSERT_TRUE(library.LoadProductInfo(Package("kestrel-2.0.msi").c_str()));
    const std::vector<std::string> expected = {
        "Loading product information for package '" + Package("kestrel-2.0.msi") + "'",
        "Attempting to load MSI.DLL",
        "Attempting to retrieve the value of property 'ProductCode'",
        std::string("The property's value is '") + kProduct2 + "'",
        "Attempting to retrieve the value of property 'ShortProductName'",
        "The requested property does not exist",
        "Attempting to retrieve the value of property 'ProductName'",
        "The property's value is 'Kestrel Sample'",
        "Attempting to retrieve the value of property 'ProductVersion'",
        "The property's value is '2.0.0'",
    };
    EXPECT_EQ(log.Lines(), expected);
}

struct MissingPropertyCase {
    const char* file;
    const char* boxCode;
};

TEST_F(MsiLibraryTest, PackageWithoutARequiredPropertyIsAnInternalError) {
    const MissingPropertyCase cases[] = {
        {"kestrel-no-code.msi", "010F.80040002"},
        {"kestrel-no-name.msi", "020F.80040002"},
        {"kestrel-no-version.msi", "030F.80040002"},
    };
    MsiLibrary library;
    ASSERT_TRUE(library.LoadProductInfo(Package("kestrel-2.0.msi").c_str()));
    for (const MissingPropertyCase& c : cases) {
        SCOPED_TRACE(c.file);
        ExpectInternalError(c.boxCode, 0x80040002,
                            [&] { library.LoadProductInfo(Package(c.file).c_str()); });
        // The flag is cleared; the values of the last good package stay for the stored-code
        // queries.
        ExpectInternalError("000F.80040008", 0x80040008, [&] { library.GetProductName(); });
    }
}

TEST_F(MsiLibraryTest, ProductInformationMustBeLoadedFirst) {
    MsiLibrary library;
    ExpectInternalError("000F.80040008", 0x80040008, [&] { library.GetProductCode(); });
    ExpectInternalError("000F.80004003", 0x80004003, [&] { library.LoadProductInfo(); });

    SetupLogCapture log;
    const std::string missing = TestProgramFolder() + "no-such-package.msi";
    EXPECT_FALSE(library.LoadProductInfo(missing.c_str()));
    EXPECT_NE(log.Dump().find("Failed to open package '" + missing + "', return code = "),
              std::string::npos)
        << log.Dump();
    // Reloading the stored (missing) package fails too.
    ExpectInternalError("000F.80040008", 0x80040008, [&] { library.IsPackageProductInstalled(); });
}

// On NT the package path is tried in the OEM code page, then in the ANSI one.
TEST_F(MsiLibraryTest, PackagePathInTheAnsiCodePageStillOpens) {
    const std::string temp = UserTempFolder();
    const std::string folder = temp + "caf\xE9 package";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\kestrel.msi";
    ASSERT_TRUE(::CopyFileA(Package("kestrel-1.0.msi").c_str(), copy.c_str(), FALSE));
    MsiLibrary library;
    EXPECT_TRUE(library.LoadProductInfo(copy.c_str()));
    EXPECT_EQ(library.GetProductCode(), kProduct1);
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());

    // A path too long for the 260-character conversion buffers converts in neither.
    SetupLogCapture log;
    const std::string tooLong = temp + std::string(280, 'k') + ".msi";
    EXPECT_FALSE(library.LoadProductInfo(tooLong.c_str()));
    EXPECT_TRUE(log.Contains("Failed to convert filename: " + tooLong + " to Unicode"))
        << log.Dump();
}

TEST_F(MsiLibraryTest, InstalledProductStatesThroughMsiexec) {
    MsiLibrary library;
    // A run that was interrupted may have left the product behind.
    if (library.IsProductInstalled(kProduct1))
        RunSystemMsiexec(std::string("/x ") + kProduct1 + " /qn");

    ASSERT_TRUE(library.LoadProductInfo(Package("kestrel-1.0.msi").c_str()));
    EXPECT_FALSE(library.IsPackageProductInstalled());
    EXPECT_FALSE(library.IsDifferentPackageInstalled()); // nothing installed, nothing different

    ASSERT_EQ(RunSystemMsiexec("/i \"" + Package("kestrel-1.0.msi") + "\" /qn"), 0u);
    struct Uninstall {
        MsiLibrary& library;
        ~Uninstall() {
            if (library.IsProductInstalled(kProduct1))
                RunSystemMsiexec(std::string("/x ") + kProduct1 + " /qn");
        }
    } uninstall{library};

    {
        SetupLogCapture log;
        EXPECT_TRUE(library.IsPackageProductInstalled());
        EXPECT_FALSE(library.IsDifferentPackageInstalled());
        EXPECT_TRUE(log.Contains(std::string("Checking the installation state of the product '") +
                                 kProduct1 + "'"));
        EXPECT_TRUE(log.Contains("The specified product is installed")) << log.Dump();
        EXPECT_TRUE(log.Contains("The old and new package codes match")) << log.Dump();
    }
    {
        SetupLogCapture log;
        EXPECT_FALSE(library.IsFeatureRunFromSource("Main")); // installed locally
        EXPECT_TRUE(log.Contains("Determining if feature 'Main' is configured to run from source"))
            << log.Dump();
        EXPECT_TRUE(log.Contains("The specified feature is not configured to run from source"))
            << log.Dump();
        const std::optional<std::string> path = library.GetComponentPath(kComponent);
        ASSERT_TRUE(path.has_value()) << log.Dump();
        EXPECT_NE(path->find("\\Kestrel Sample\\payload.txt"), std::string::npos) << *path;
        EXPECT_NE(::GetFileAttributesA(path->c_str()), INVALID_FILE_ATTRIBUTES) << *path;
    }
    {
        SetupLogCapture log;
        const char* const unknown = "{6F1C2A3B-2999-4D5E-8F90-A1B2C3D4E5D9}";
        EXPECT_FALSE(library.GetComponentPath(unknown).has_value());
        EXPECT_TRUE(log.Contains(std::string("Failed to get the key path for component: ") +
                                 unknown + ", Return code = FFFFFFFF"))
            << log.Dump();
    }
    // The same product from another package, and from a package whose code differs only in case.
    for (const char* other : {"kestrel-1.0-rebuilt.msi", "kestrel-1.0-lower.msi"}) {
        SCOPED_TRACE(other);
        SetupLogCapture log;
        ASSERT_TRUE(library.LoadProductInfo(Package(other).c_str()));
        EXPECT_TRUE(library.IsDifferentPackageInstalled());
        EXPECT_NE(log.Dump().find(std::string("The old package code '") + kPackageCode1 +
                                  "' does not match"),
                  std::string::npos)
            << log.Dump();
    }
    {
        SetupLogCapture log;
        ASSERT_TRUE(library.LoadProductInfo(Package("kestrel-1.0-rebuilt.msi").c_str()));
        library.IsDifferentPackageInstalled();
        EXPECT_TRUE(log.Contains(std::string("The old package code '") + kPackageCode1 +
                                 "' does not match the new package code '" + kRebuiltPackageCode +
                                 "'"))
            << log.Dump();
    }
    // Another product of the same family is not installed.
    ASSERT_TRUE(library.LoadProductInfo(Package("kestrel-2.0.msi").c_str()));
    EXPECT_FALSE(library.IsPackageProductInstalled());

    ASSERT_EQ(RunSystemMsiexec(std::string("/x ") + kProduct1 + " /qn"), 0u);
    EXPECT_FALSE(library.IsProductInstalled(kProduct1));
}

TEST_F(MsiLibraryTest, EngineVersionFromDllGetVersion) {
    MsiLibrary library;
    SetupLogCapture log;
    DllVersionRecord version = {};
    ASSERT_TRUE(library.GetVersion(&version));
    EXPECT_EQ(version.size, 20u);
    EXPECT_GE(version.major, 2u);
    EXPECT_NE(version.major, 99u); // not the planted copy
    EXPECT_TRUE(library.GetVersion(nullptr));
    EXPECT_TRUE(log.Contains("Attempting to determine the version of MSI.DLL")) << log.Dump();
    EXPECT_TRUE(library.Unload());
    EXPECT_TRUE(log.Contains("Unloading MSI.DLL"));
}

// Loaded by name, the planted msi.dll beside this program would come first on Windows; Wine may
// prefer its own. Either way the binding must end up with the system folder's library.
TEST_F(MsiLibraryTest, PlantedCopyBesideTheProgramIsNeverLoaded) {
    MsiLibrary library;
    DllVersionRecord version = {};
    ASSERT_TRUE(library.GetVersion(&version));
    EXPECT_NE(version.major, 99u);
    HMODULE loaded = ::GetModuleHandleA("msi.dll");
    ASSERT_NE(loaded, nullptr);
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(loaded, path, sizeof path);
    EXPECT_EQ(_stricmp(path, (SystemFolder() + "MSI.DLL").c_str()), 0) << path;
}

TEST_F(MsiLibraryTest, MissingLibraryGivesFalseOrAnInternalError) {
    SetInstallerLibraryPath((TestProgramFolder() + "no-such-msi.dll").c_str());
    MsiLibrary library;
    SetupLogCapture log;
    EXPECT_FALSE(library.Load());
    EXPECT_FALSE(library.Load()); // tried again
    const std::vector<std::string> twice = {"Attempting to load MSI.DLL", "Failed to load MSI.DLL",
                                            "Attempting to load MSI.DLL", "Failed to load MSI.DLL"};
    EXPECT_EQ(log.Lines(), twice);
    DllVersionRecord version = {};
    EXPECT_FALSE(library.GetVersion(&version));
    EXPECT_FALSE(library.IsProductInstalled(kProduct1));
    EXPECT_FALSE(library.IsFeatureRunFromSource("Main"));
    EXPECT_FALSE(library.GetComponentPath(kComponent).has_value());
    EXPECT_FALSE(library.LoadProductInfo(Package("kestrel-1.0.msi").c_str()));
    ExpectInternalError("000E.80040009", 0x80040009, [&] {
        std::string value;
        library.GetProperty(1, "ProductCode", value);
    });
    EXPECT_TRUE(library.Unload()); // nothing loaded: nothing to do
}

TEST_F(MsiLibraryTest, MissingEntryPointsGiveFalseOrAnInternalError) {
    SetInstallerLibraryPath((TestProgramFolder() + "msi_partial.dll").c_str());
    MsiLibrary library;
    {
        SetupLogCapture log;
        DllVersionRecord version = {20, 1, 2, 3, 4};
        EXPECT_FALSE(library.GetVersion(&version));
        EXPECT_EQ(version.major, 1u); // copied only on success
        EXPECT_TRUE(
            log.Contains("Failed to get version information from MSI.DLL, Return code = 80004005"))
            << log.Dump();
    }
    {
        SetupLogCapture log;
        EXPECT_TRUE(library.IsProductInstalled(kProduct1)); // the stand-in says installed
        // All five entry points are needed; MsiGetSummaryInformationW and others are missing.
        EXPECT_FALSE(library.IsDifferentPackageInstalled());
        EXPECT_FALSE(library.IsFeatureRunFromSource("Main"));
        EXPECT_FALSE(library.GetComponentPath(kComponent).has_value());
        std::size_t missing = 0;
        for (const std::string& line : log.Lines())
            missing += line == "Failed to load function pointers from MSI.DLL";
        EXPECT_EQ(missing, 3u) << log.Dump();
    }
    // The database opens, but the property view cannot be had.
    ExpectInternalError("000E.80040009", 0x80040009,
                        [&] { library.LoadProductInfo("C:\\any.msi"); });

    SetupLogCapture log;
    EXPECT_TRUE(library.Unload());
    EXPECT_TRUE(library.Unload());
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Unloading MSI.DLL"});
}

TEST_F(MsiLibraryTest, FeatureRunningFromSource) {
    SetInstallerLibraryPath((TestProgramFolder() + "msi_source.dll").c_str());
    MsiLibrary library;
    SetupLogCapture log;
    EXPECT_TRUE(library.IsFeatureRunFromSource("Remote"));
    EXPECT_TRUE(log.Contains("The specified feature is configured to run from source"))
        << log.Dump();
    EXPECT_FALSE(library.IsFeatureRunFromSource("Main"));
    // A component that is not installed locally (state 2: absent).
    EXPECT_FALSE(library.GetComponentPath(kComponent).has_value());
    EXPECT_TRUE(log.Contains(std::string("Failed to get the key path for component: ") +
                             kComponent + ", Return code = 00000002"))
        << log.Dump();
}

TEST_F(MsiLibraryTest, LibraryWithoutEntryPoints) {
    SetInstallerLibraryPath((TestProgramFolder() + "msi_bare.dll").c_str());
    MsiLibrary library;
    SetupLogCapture log;
    EXPECT_FALSE(library.GetVersion(nullptr));
    EXPECT_FALSE(library.IsProductInstalled(kProduct1));
    EXPECT_FALSE(library.LoadProductInfo(Package("kestrel-1.0.msi").c_str()));
    std::size_t missing = 0;
    for (const std::string& line : log.Lines())
        missing += line == "Failed to load function pointers from MSI.DLL";
    EXPECT_EQ(missing, 3u) << log.Dump();
    EXPECT_FALSE(log.Contains("Failed to load MSI.DLL"));
}

} // namespace
