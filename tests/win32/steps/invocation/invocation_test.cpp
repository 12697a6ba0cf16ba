// The installer invocation steps under Wine: exact command lines through a recording launch, the
// temporary copy of the launcher folder, and one real installation of the Heron package.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "msi/msi_library.h"
#include "step_launch_seam.h"
#include "steps/temp_folders.h"
#include "support/child_process.h"
#include "support/expect_internal_error.h"
#include "support/known_folders.h"
#include "support/message_box_answerer.h"
#include "support/raised_code.h"
#include "support/step_bench.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/process.h"

namespace {

const char* const kHeronProduct = "{3C9E7A51-0001-4B2D-9E10-5F6A7B8C9D11}";
const char* const kHeronComponent = "{3C9E7A51-2001-4B2D-9E10-5F6A7B8C9D01}";
const char* const kAbsentProduct = "{3C9E7A51-0002-4B2D-9E10-5F6A7B8C9D22}";

struct Launched {
    std::string commandLine;
    LaunchKind kind;
};

std::vector<Launched> launched;

bool RecordLaunch(const std::string& commandLine, LaunchKind kind) {
    launched.push_back({commandLine, kind});
    return true;
}

// Puts the recorder in place of the real launch for its lifetime.
class LaunchRecorder {
  public:
    LaunchRecorder() {
        launched.clear();
        SetStepLaunchRecorder(RecordLaunch);
    }
    ~LaunchRecorder() { SetStepLaunchRecorder(nullptr); }
    const std::vector<Launched>& Launches() const { return launched; }
};

std::string Package(const char* name = "heron-1.0.msi") {
    return TestProgramFolder() + name;
}

struct MissingCommandLineCase {
    const char* operation;
    const char* boxCode;
    std::function<void(SetupSteps&)> call;
};

TEST(InvocationSteps, OperationsNeedACommandLine) {
    const MissingCommandLineCase cases[] = {
        {"CopySetupToTempFolder", "0012.80004003",
         [](SetupSteps& s) { s.CopySetupToTempFolder(); }},
        {"IsAnyFeatureRunFromSource", "0004.80004003",
         [](SetupSteps& s) { s.IsAnyFeatureRunFromSource(); }},
        {"RunMaintenanceInstaller", "0005.80004003",
         [](SetupSteps& s) { s.RunMaintenanceInstaller(); }},
        {"CheckNestedInstall", "0014.80004003",
         [](SetupSteps& s) { s.CheckNestedInstall(nullptr); }},
        {"RunMainInstaller", "0006.80004003", [](SetupSteps& s) { s.RunMainInstaller(false); }},
        {"LaunchNestedInstaller", "000C.80004003",
         [](SetupSteps& s) { s.LaunchNestedInstaller(); }},
        {"LaunchPostInstallApplications", "001A.80004003",
         [](SetupSteps& s) { s.LaunchPostInstallApplications(); }},
    };
    SetupSteps steps(nullptr, nullptr);
    LaunchRecorder recorder;
    for (const MissingCommandLineCase& c : cases) {
        SCOPED_TRACE(c.operation);
        ExpectInternalError(c.boxCode, 0x80004003u, [&] { c.call(steps); });
    }
    EXPECT_TRUE(recorder.Launches().empty());
    steps.RemoveTempFolder(); // nothing bound: nothing to remove, nothing raised
}

enum class Installer { Main, MainHoldingRestart, Maintenance };

struct InstallerCase {
    Installer installer;
    const char* arguments;
    std::string expected; // after the system folder
};

TEST(InvocationSteps, InstallerCommandLines) {
    const std::string package = "\"" + Package() + "\"";
    const InstallerCase cases[] = {
        {Installer::Main, "/qb", "MSIEXEC.EXE /i " + package + " /qb"},
        // The five pieces in their order: UI level, log, status file, pass-through, properties.
        {Installer::Main, "PROP=\"a b\" /w /m heron.mif /L*v \"C:\\heron log.txt\" /qn X=1",
         "MSIEXEC.EXE /i " + package +
             " /qn /L*v \"C:\\heron log.txt\" /m heron.mif /w PROP=\"a b\" X=1"},
        {Installer::MainHoldingRestart, "/qb", "MSIEXEC.EXE /i " + package + " /qb REBOOT=S"},
        {Installer::MainHoldingRestart, "/qb REBOOT=F",
         "MSIEXEC.EXE /i " + package + " /qb REBOOT=F"},
        {Installer::MainHoldingRestart, "/qb reboot=R",
         "MSIEXEC.EXE /i " + package + " /qb REBOOT=R"},
        {Installer::Main, "/x {3C9E7A51-0001-4B2D-9E10-5F6A7B8C9D11} /qn",
         "MSIEXEC.EXE /x {3C9E7A51-0001-4B2D-9E10-5F6A7B8C9D11} /qn"},
        {Installer::Main, "/qb /i \"D:\\other package.msi\"",
         "MSIEXEC.EXE /I \"D:\\other package.msi\" /qb"},
        {Installer::Maintenance, "/qb", "MSIEXEC /fvomus " + package + " /qb"},
        {Installer::Maintenance, "/qb REINSTALLMODE=vomus",
         "MSIEXEC /I " + package + " /qb REINSTALLMODE=vomus"},
    };
    for (const InstallerCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        StepBench bench(c.arguments, "");
        ASSERT_TRUE(bench.Parsed());
        LaunchRecorder recorder;
        if (c.installer == Installer::Maintenance) {
            bench.Steps().RunMaintenanceInstaller();
        } else {
            bench.Steps().RunMainInstaller(c.installer == Installer::MainHoldingRestart);
        }
        ASSERT_EQ(recorder.Launches().size(), 1u);
        EXPECT_EQ(recorder.Launches()[0].commandLine, SystemFolder() + c.expected);
        EXPECT_EQ(recorder.Launches()[0].kind, c.installer == Installer::Maintenance
                                                   ? LaunchKind::MaintenanceInstaller
                                                   : LaunchKind::MainInstaller);
    }
}

struct NestedCase {
    std::string nestedInstall;
    const char* arguments;
    bool nested;
    bool holdRestart;
    std::string launchTail; // after the quoted program name; empty: not launched
};

TEST(InvocationSteps, NestedInstallationDecidesTheRestartHandling) {
    const std::string absent = kAbsentProduct;
    const NestedCase cases[] = {
        {absent + ",nested.ini /qb,ONEREBOOT", "/qn", true, true, " nested.ini /qb /qn /~-"},
        {absent + ",\"nested.ini /qb\",onereboot", "/qb REBOOT=F", true, true,
         " nested.ini /qb /qb REBOOT=F /~-"},
        {absent + ",nested.ini,", "/qb REBOOT=F", true, false, " nested.ini /qb REBOOT=F /~-"},
        {absent + ",nested.ini", "/qb REBOOT=Suppress", true, true,
         " nested.ini /qb REBOOT=Suppress /~-"},
        // The value in either case holds the restart back.
        {absent + ",nested.ini", "/qb reboot=r", true, true, " nested.ini /qb REBOOT=r /~-"},
        {absent + ",nested.ini", "/qb MYREBOOT=R", true, false, " nested.ini /qb MYREBOOT=R /~-"},
        // The nested setup data file must lie beside the launcher.
        {absent + ",missing.ini /qb,ONEREBOOT", "/qb", false, false, " missing.ini /qb /qb /~-"},
        {absent, "/qb", false, false, ""},
        {absent + ",\"nested.ini,ONEREBOOT", "/qb", false, false, ""},
    };
    for (const NestedCase& c : cases) {
        SCOPED_TRACE(c.nestedInstall);
        StepBench bench(c.arguments, "NestedInstall=" + c.nestedInstall + "\r\n");
        ASSERT_TRUE(bench.Parsed());
        EXPECT_TRUE(WriteFileBytes(bench.Folder() + "nested.ini",
                                   "[ProductInformation]\r\nPackageName=nested.msi\r\n"));
        bench.Steps().SetLauncherFolder(bench.Folder());
        bool holdRestart = !c.holdRestart;
        EXPECT_EQ(bench.Steps().CheckNestedInstall(&holdRestart), c.nested);
        EXPECT_EQ(holdRestart, c.holdRestart);
        EXPECT_EQ(bench.Steps().CheckNestedInstall(nullptr), c.nested);

        LaunchRecorder recorder;
        EXPECT_EQ(bench.Steps().LaunchNestedInstaller(), !c.launchTail.empty());
        if (c.launchTail.empty()) {
            EXPECT_TRUE(recorder.Launches().empty());
            continue;
        }
        ASSERT_EQ(recorder.Launches().size(), 1u);
        EXPECT_EQ(recorder.Launches()[0].commandLine,
                  "\"" + TestProgramPath() + "\"" + c.launchTail);
        EXPECT_EQ(recorder.Launches()[0].kind, LaunchKind::NestedSetup);
    }
}

TEST(InvocationSteps, PostInstallApplicationsOfComponentsNotInstalledStartNothing) {
    StepBench bench("/qb", std::string("[LaunchApplications]\r\n") + kHeronComponent +
                               ",/show readme\r\n,/no component\r\n" + kHeronComponent + "\r\n");
    ASSERT_TRUE(bench.Parsed());
    {
        LaunchRecorder recorder;
        bench.Steps().LaunchPostInstallApplications();
        ASSERT_EQ(recorder.Launches().size(), 2u);
        EXPECT_EQ(recorder.Launches()[0].commandLine, "\"\" /show readme");
        EXPECT_EQ(recorder.Launches()[1].commandLine, "\"\" ");
        EXPECT_EQ(recorder.Launches()[0].kind, LaunchKind::PostInstallApplication);
    }
    // Through the real launch, an empty program name fails to start without a word.
    bench.Steps().LaunchPostInstallApplications();

    StepBench unsplittable("/qb", std::string("[LaunchApplications]\r\n") + kHeronComponent +
                                      ",\"unclosed\r\n");
    ASSERT_TRUE(unsplittable.Parsed());
    MessageBoxAnswerer boxes;
    EXPECT_EQ(RaisedCode([&] { unsplittable.Steps().LaunchPostInstallApplications(); }),
              0x80070057u);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("Error Code: 001A.80070057"), std::string::npos);
}

// A launcher folder holding a file, a subfolder and (unless left out) a dot folder, which copies
// and deletions pass over.
void FillLauncherFolder(const std::string& folder, bool withDotFolder = true) {
    EXPECT_TRUE(WriteFileBytes(folder + "SETUP.EXE", "launcher"));
    ::CreateDirectoryA((folder + "sub").c_str(), nullptr);
    EXPECT_TRUE(WriteFileBytes(folder + "sub\\data.txt", "data"));
    if (!withDotFolder) return;
    ::CreateDirectoryA((folder + ".svn").c_str(), nullptr);
    EXPECT_TRUE(WriteFileBytes(folder + ".svn\\entries", "kept out"));
}

std::vector<std::string> TempCopies() {
    return NamesMatching(UserTempFolder() + "KOBR*");
}

TEST(InvocationSteps, TemporaryCopyOfTheLauncherFolder) {
    TempFolder source("launcher");
    FillLauncherFolder(source.Path());
    StepBench bench("/qb", "");
    ASSERT_TRUE(bench.Parsed());
    bench.Steps().SetLauncherFolder(source.Path());
    bench.Steps().CopySetupToTempFolder();

    const std::string copy = bench.Steps().GetLauncherFolder();
    const std::string temp = UserTempFolder();
    ASSERT_EQ(copy.rfind(temp + "KOBR", 0), 0u) << copy;
    EXPECT_EQ(copy.size(), temp.size() + 9);
    EXPECT_EQ(bench.CommandLine().GetLauncherFolder(), copy);
    EXPECT_EQ(bench.CommandLine().GetTempCopyMarker(), 1);
    EXPECT_EQ(bench.Steps().GetPackageFolder(),
              TestProgramFolder()); // the package stays where it was
    EXPECT_TRUE(PathExists(copy + "SETUP.EXE"));
    EXPECT_TRUE(PathExists(copy + "sub\\data.txt"));
    EXPECT_FALSE(PathExists(copy + ".svn"));

    ::SetFileAttributesA((copy + "sub\\data.txt").c_str(),
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    bench.Steps().RemoveTempFolder();
    EXPECT_FALSE(PathExists(copy));
    EXPECT_TRUE(PathExists(source.Path() + "SETUP.EXE"));
}

TEST(InvocationSteps, MarkerOnTheCommandLineMeansNoCopy) {
    TempFolder source("launcher");
    FillLauncherFolder(source.Path());
    for (const char* marker : {"/~", "/~-"}) {
        SCOPED_TRACE(marker);
        StepBench bench(std::string("/qb ") + marker, "");
        ASSERT_TRUE(bench.Parsed());
        const std::vector<std::string> before = TempCopies();
        bench.Steps().CopySetupToTempFolder();
        EXPECT_EQ(TempCopies(), before);
        EXPECT_EQ(bench.Steps().GetLauncherFolder(), TestProgramFolder());
        EXPECT_EQ(bench.CommandLine().GetLauncherFolder(), bench.Folder());

        // Under "/~" the launcher runs from a copy and removes it at the end; a folder not named
        // like a copy is never removed.
        std::string copy;
        ASSERT_TRUE(CreateTempFolder(copy));
        FillLauncherFolder(copy, false);
        bench.Steps().SetLauncherFolder(copy);
        bench.Steps().RemoveTempFolder();
        EXPECT_EQ(PathExists(copy), marker == std::string("/~-"));
        RemoveFolderTree(copy);
        bench.Steps().SetLauncherFolder(source.Path());
        bench.Steps().RemoveTempFolder();
        EXPECT_TRUE(PathExists(source.Path() + "sub\\data.txt"));
        // Named like a copy, but outside the user's temporary folder: a typed "/~" costs nothing.
        const std::string lookalike = source.Path() + "KOBR1234\\";
        ::CreateDirectoryA(lookalike.c_str(), nullptr);
        FillLauncherFolder(lookalike, false);
        bench.Steps().SetLauncherFolder(lookalike);
        bench.Steps().RemoveTempFolder();
        EXPECT_TRUE(PathExists(lookalike + "sub\\data.txt"));
    }
}

TEST(InvocationSteps, FailedCopyRunsFromTheOriginalFolder) {
    TempFolder source("launcher");
    FillLauncherFolder(source.Path());
    // A file nobody else may open cannot be copied.
    UniqueFile locked(::CreateFileA((source.Path() + "locked.cab").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    StepBench bench("/qb", "");
    ASSERT_TRUE(bench.Parsed());
    bench.Steps().SetLauncherFolder(source.Path());
    const std::vector<std::string> before = TempCopies();
    bench.Steps().CopySetupToTempFolder();
    EXPECT_EQ(bench.CommandLine().GetTempCopyMarker(), 2);
    EXPECT_EQ(bench.Steps().GetLauncherFolder(), source.Path());
    EXPECT_EQ(bench.CommandLine().GetLauncherFolder(), bench.Folder());
    EXPECT_EQ(TempCopies(), before); // the partial copy is gone
}

bool HeronInstalled() {
    MsiLibrary library;
    return library.IsProductInstalled(kHeronProduct);
}

class RealInstallation : public ::testing::Test {
  protected:
    void SetUp() override {
        if (HeronInstalled()) RunSystemMsiexec(std::string("/x ") + kHeronProduct + " /qn");
    }
    void TearDown() override {
        if (HeronInstalled()) RunSystemMsiexec(std::string("/x ") + kHeronProduct + " /qn");
    }
};

TEST_F(RealInstallation, MainInstallerThenMaintenanceQueriesThenRemovalFromAnotherPackage) {
    const std::string sections =
        std::string("NestedInstall=") + kHeronProduct +
        ",nested.ini,ONEREBOOT\r\n[ProductFeatures]\r\nMain\r\n[LaunchApplications]\r\n" +
        kHeronComponent + ",/show\r\n";
    StepBench bench("/qn", sections);
    ASSERT_TRUE(bench.Parsed());
    SetupSteps& steps = bench.Steps();
    ASSERT_TRUE(steps.LoadPackageInfo(Package()));
    EXPECT_FALSE(steps.IsSamePackageInstalled());

    steps.RunMainInstaller(false);
    uint32_t exitCode = 0xFFFFFFFF;
    EXPECT_FALSE(WaitForProcess(LastLaunchedProcess(), nullptr, false, &exitCode));
    ResetLastLaunchedProcess();
    ASSERT_EQ(exitCode, 0u);
    EXPECT_TRUE(steps.IsSamePackageInstalled());
    EXPECT_FALSE(steps.IsAnyFeatureRunFromSource());
    std::string name;
    EXPECT_TRUE(steps.GetPackageProductName(name));
    EXPECT_EQ(name, "Heron Sample");

    // The nested product is installed now: no nested setup, no restart held back.
    EXPECT_TRUE(WriteFileBytes(bench.Folder() + "nested.ini",
                               "[ProductInformation]\r\nPackageName=nested.msi\r\n"));
    steps.SetLauncherFolder(bench.Folder());
    bool holdRestart = true;
    EXPECT_FALSE(steps.CheckNestedInstall(&holdRestart));
    EXPECT_FALSE(holdRestart);
    {
        LaunchRecorder recorder;
        EXPECT_FALSE(steps.LaunchNestedInstaller());
        steps.LaunchPostInstallApplications();
        ASSERT_EQ(recorder.Launches().size(), 1u);
        const std::string& started = recorder.Launches()[0].commandLine;
        EXPECT_EQ(started.rfind("\"C:\\", 0), 0u) << started;
        EXPECT_NE(started.find("\\heron-readme.txt\" /show"), std::string::npos) << started;
    }

    // Installed from this very package: not a previous version.
    EXPECT_TRUE(steps.UninstallPreviousVersions());
    EXPECT_TRUE(HeronInstalled());

    // A rebuilt package of the same product finds this installation and removes it silently.
    StepBench rebuilt("/qn", "", "heron-1.0-rebuilt.msi");
    ASSERT_TRUE(rebuilt.Parsed());
    MessageBoxAnswerer boxes;
    EXPECT_TRUE(rebuilt.Steps().UninstallPreviousVersions());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(HeronInstalled());
}

} // namespace
