// The removal steps under Wine: incompatible applications and previous versions named by uninstall
// entries under HKEY_CURRENT_USER, removed by this test program re-launched as the remover.
#include <gtest/gtest.h>

#include "sys/setup_result.h"

#include <functional>
#include <string>
#include <vector>

#include "msi/msi_library.h"
#include "support/child_process.h"
#include "support/expect_internal_error.h"
#include "support/installer_library_seam.h"
#include "support/message_box_answerer.h"
#include "support/raised_code.h"
#include "support/registry_entries.h"
#include "support/step_bench.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

// Started in the child role "<exit code>|<entry to delete>|<record file>", this program is a
// remover: it appends its command line to the record file, deletes the HKCU uninstall entry when
// one is named and exits with the code, before any test runs.
int ActAsRemoverWhenAsked() {
    const std::string text = ChildRole();
    if (text.empty()) return 0;
    const std::size_t first = text.find('|');
    const std::size_t second = text.find('|', first + 1);
    const unsigned long exitCode = std::stoul(text.substr(0, first));
    const std::string entry = text.substr(first + 1, second - first - 1);
    const std::string record = text.substr(second + 1);
    HANDLE file = ::CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string line = std::string(::GetCommandLineA()) + "\n";
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!entry.empty()) ::RegDeleteKeyA(HKEY_CURRENT_USER, UninstallEntry::KeyPath(entry).c_str());
    ::ExitProcess(static_cast<UINT>(exitCode));
}
const int removerRole = ActAsRemoverWhenAsked();

// Makes the children of the next removals removers with the given behaviour.
class Remover {
  public:
    explicit Remover(uint32_t exitCode, const std::string& entryToDelete = "")
        : role_(std::to_string(exitCode) + "|" + entryToDelete + "|" + Record()) {}

    // The remove command: this program, then `tail` as written.
    static std::string Command(const std::string& tail) {
        return "\"" + TestProgramPath() + "\"" + tail;
    }

    // The command lines the removers were started with, in order.
    std::vector<std::string> Runs() const {
        std::vector<std::string> lines;
        const std::string text = ReadFileBytes(Record());
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

  private:
    std::string Record() const { return folder_.Path() + "removals.txt"; }
    TempFolder folder_{"remover"};
    ChildRoleScope role_;
};

struct MissingCommandLineCase {
    const char* operation;
    const char* boxCode;
    std::function<void(SetupSteps&)> call;
};

TEST(RemovalSteps, OperationsNeedACommandLine) {
    const MissingCommandLineCase cases[] = {
        {"CheckIncompatibleApplications", "0011.80004003",
         [](SetupSteps& s) { s.CheckIncompatibleApplications(); }},
        {"UninstallIncompatibleApplications", "0015.80004003",
         [](SetupSteps& s) { s.UninstallIncompatibleApplications(); }},
        {"UninstallPreviousVersions", "000A.80004003",
         [](SetupSteps& s) { s.UninstallPreviousVersions(); }},
    };
    SetupSteps steps(nullptr, nullptr);
    for (const MissingCommandLineCase& c : cases) {
        SCOPED_TRACE(c.operation);
        ExpectInternalError(c.boxCode, 0x80004003u, [&] { c.call(steps); });
    }
}

TEST(RemovalSteps, InstalledIncompatibleAppExitEndsSetupAtEveryLevel) {
    UninstallEntry entry("StepsTest.Exit", "Osprey Viewer 3.1", Remover::Command(" /remove"));
    const std::string sections = "[IncompatibleAppExit]\r\nStepsTest.Absent\r\nStepsTest.Exit\r\n";
    // The box is left out only at the silent levels.
    const struct {
        const char* arguments;
        bool boxShown;
    } cases[] = {{"", true},      {"/qf", true},   {"/qb", true},
                 {"/qb-", false}, {"/qn+", false}, {"/qn", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        StepBench bench(c.arguments, sections);
        ASSERT_TRUE(bench.Parsed());
        MessageBoxAnswerer boxes;
        EXPECT_EQ(RaisedCode([&] { bench.Steps().CheckIncompatibleApplications(); }), 1603u);
        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), c.boxShown ? 1u : 0u);
        if (c.boxShown) {
            EXPECT_EQ(shown[0].caption, "Error");
            EXPECT_FALSE(shown[0].question);
            EXPECT_NE(shown[0].text.find("Osprey Viewer 3.1"), std::string::npos) << shown[0].text;
        }
    }
    StepBench absentOnly("/qb", "[IncompatibleAppExit]\r\nStepsTest.Absent\r\n");
    EXPECT_EQ(RaisedCode([&] { absentOnly.Steps().CheckIncompatibleApplications(); }),
              std::nullopt);
}

struct UninstallCase {
    const char* name;
    const char* arguments;
    bool forbidsRemoval; // an installer entry with NoRemove set
    uint32_t removerExit;
    bool removerDeletes;
    std::vector<int> answers;
    std::optional<uint32_t> raised;
    std::size_t questions;
    std::size_t errorBoxes;
    std::size_t removals;
};

TEST(RemovalSteps, IncompatibleAppUninstallAsksRemovesAndAsksAgain) {
    const UninstallCase cases[] = {
        {"silent: nothing removed", "/qn", false, 0, true, {}, 1603u, 0, 0, 0},
        {"removal forbidden", "/qb", true, 0, true, {}, 1603u, 0, 1, 0},
        {"removed after Yes", "/qb", false, 0, true, {IDYES}, std::nullopt, 1, 0, 1},
        {"entry stays: asked again", "/qb", false, 0, false, {IDYES, IDNO}, 1602u, 2, 0, 1},
        {"user declines", "", false, 0, true, {IDNO}, 1602u, 1, 0, 0},
        {"remover cancelled", "/qb", false, 1602, false, {IDYES}, 1602u, 1, 0, 1},
        {"remover needs a restart",
         "/qb",
         false,
         3010,
         true,
         {IDYES},
         SetupResult::RebootThenResume,
         1,
         0,
         1},
        {"remover failed", "/qb", false, 1627, false, {IDYES}, 1627u, 1, 0, 1},
    };
    for (const UninstallCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto entry =
            c.forbidsRemoval
                ? std::make_unique<UninstallEntry>("StepsTest.Uninstall", "Osprey Toolbar", 1u)
                : std::make_unique<UninstallEntry>("StepsTest.Uninstall", "Osprey Toolbar",
                                                   Remover::Command(" /uninstall"));
        StepBench bench(
            c.arguments,
            "[IncompatibleAppUninstall]\r\nStepsTest.Absent\r\nStepsTest.Uninstall\r\n");
        ASSERT_TRUE(bench.Parsed());
        Remover remover(c.removerExit, c.removerDeletes ? "StepsTest.Uninstall" : "");
        MessageBoxAnswerer boxes(c.answers);
        EXPECT_EQ(RaisedCode([&] { bench.Steps().UninstallIncompatibleApplications(); }), c.raised);
        std::size_t questions = 0, errors = 0;
        for (const MessageBoxAnswerer::Box& box : boxes.Boxes()) {
            EXPECT_NE(box.text.find("Osprey Toolbar"), std::string::npos) << box.text;
            EXPECT_EQ(box.caption, box.question ? "Warning" : "Error");
            ++(box.question ? questions : errors);
        }
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(errors, c.errorBoxes);
        EXPECT_EQ(remover.Runs().size(), c.removals);
    }
}

struct CommandShapeCase {
    const char* arguments;
    const char* tail;
    const char* startedTail;
};

TEST(RemovalSteps, RemoveApplicationShapesEachKindOfCommand) {
    const CommandShapeCase cases[] = {
        // A logged uninstaller: its lost closing quote is restored, and " -a" makes it silent
        // unless full UI (or no UI switch) was chosen.
        {"/qb", " UNINST -f\"C:\\Osprey\\DeIsL1.isu", " UNINST -f\"C:\\Osprey\\DeIsL1.isu\" -a"},
        {"/qf", " UNINST -f\"C:\\Osprey\\DeIsL1.isu", " UNINST -f\"C:\\Osprey\\DeIsL1.isu\""},
        {"", " UNINST -f\"C:\\Osprey\\DeIsL1.isu", " UNINST -f\"C:\\Osprey\\DeIsL1.isu\""},
        {"/qn", " uninst -f\"C:\\Osprey\\DeIsL1.isu\"", " uninst -f\"C:\\Osprey\\DeIsL1.isu\" -a"},
        // An installer removal gets the UI switch unless it has a /q of its own.
        {"/qb", " MsiExec-stub /x{0}", " MsiExec-stub /x{0} /qb"},
        {"/qn+", " msiexec-stub /x{0} /Qn", " msiexec-stub /x{0} /Qn"},
        {"", " msiexec-stub /x{0}", " msiexec-stub /x{0}"},
        // Anything else runs as it stands.
        {"/qb", " UNINST /silent", " UNINST /silent"},
        {"/qb", " Osprey.ISU \"odd", " Osprey.ISU \"odd"},
    };
    for (const CommandShapeCase& c : cases) {
        SCOPED_TRACE(c.tail);
        StepBench bench(c.arguments, "");
        ASSERT_TRUE(bench.Parsed());
        Remover remover(0);
        EXPECT_TRUE(bench.Steps().RemoveApplication(Remover::Command(c.tail)));
        const std::vector<std::string> runs = remover.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0], Remover::Command(c.startedTail));
    }
}

TEST(RemovalSteps, UnquotedRemoverInAFolderWithBlanksIsStartedQuoted) {
    // A program planted at the first blank ("...\Program.exe") must not run in the remover's place.
    TempFolder root("unquoted");
    const std::string remover = root.Path() + "Program Files\\Old App\\uninst.exe";
    ASSERT_TRUE(::CreateDirectoryA((root.Path() + "Program Files").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((root.Path() + "Program Files\\Old App").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(TestProgramPath().c_str(), remover.c_str(), FALSE));
    ASSERT_TRUE(
        ::CopyFileA(TestProgramPath().c_str(), (root.Path() + "Program.exe").c_str(), FALSE));
    StepBench bench("/qb", "");
    ASSERT_TRUE(bench.Parsed());
    Remover removers(0);
    EXPECT_TRUE(bench.Steps().RemoveApplication(remover + " /remove"));
    EXPECT_EQ(removers.Runs(), std::vector<std::string>{"\"" + remover + "\" /remove"});
}

TEST(RemovalSteps, RemoveApplicationJudgesTheRemoversExitCode) {
    StepBench bench("/qb", "");
    ASSERT_TRUE(bench.Parsed());
    const struct {
        uint32_t exitCode;
        std::optional<uint32_t> raised;
        bool result;
    } cases[] = {{0, std::nullopt, true},
                 {1602, std::nullopt, false},
                 {1641, SetupResult::RebootThenResume, false},
                 {3010, SetupResult::RebootThenResume, false},
                 {1603, 1603u, false},
                 {0xC0000005u, 0xC0000005u, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        Remover remover(c.exitCode);
        bool result = !c.result;
        EXPECT_EQ(RaisedCode([&] {
                      result = bench.Steps().RemoveApplication(Remover::Command(" /remove"));
                  }),
                  c.raised);
        if (!c.raised) {
            EXPECT_EQ(result, c.result);
        }
    }
    // Nothing to run, or nothing that starts: a failed removal, not an error.
    EXPECT_FALSE(bench.Steps().RemoveApplication(""));
    EXPECT_FALSE(bench.Steps().RemoveApplication("C:\\no\\such\\folder\\remover.exe /x"));
}

// A session that ends while a remover runs (or in the grace time after it) is a restart under way.
TEST(RemovalSteps, SessionEndDuringRemovalIsARestart) {
    UniqueKernelHandle endSession(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    StepBench bench("/qb", "", "heron-1.0.msi", endSession.get());
    ASSERT_TRUE(bench.Parsed());
    Remover remover(0);
    ::SetEvent(endSession.get()); // seen by the wait for the remover, or by the grace wait
    EXPECT_EQ(RaisedCode([&] { bench.Steps().RemoveApplication(Remover::Command(" /remove")); }),
              SetupResult::RebootThenResume);
}

TEST(RemovalSteps, PreviousVersionsNeedTheInstallerLibraryOnlyWhenOneIsInstalled) {
    UninstallEntry entry("StepsTest.Previous", "Old Heron 0.9", Remover::Command(" /remove"));
    SetInstallerLibraryPath("C:\\no\\such\\folder\\msi.dll");
    {
        StepBench installed(
            "/qn", "[PreviousVersionUninstall]\r\nStepsTest.Absent\r\nStepsTest.Previous\r\n");
        Remover remover(0, "StepsTest.Previous");
        EXPECT_FALSE(installed.Steps().UninstallPreviousVersions());
        EXPECT_TRUE(remover.Runs().empty());
        StepBench absent("/qn", "[PreviousVersionUninstall]\r\nStepsTest.Absent\r\n");
        EXPECT_TRUE(absent.Steps().UninstallPreviousVersions());
    }
    SetInstallerLibraryPath(nullptr);
    EXPECT_TRUE(entry.Exists());
}

TEST(RemovalSteps, PreviousVersionsAreRemovedWithTheUsersConsent) {
    const UninstallCase cases[] = {
        {"removed after Yes", "/qb", false, 0, true, {IDYES}, std::nullopt, 1, 0, 1},
        {"entry stays: asked again", "", false, 0, false, {IDYES, IDNO}, 1602u, 2, 0, 1},
        {"user declines", "/qb", false, 0, true, {IDNO}, 1602u, 1, 0, 0},
        {"removal forbidden", "/qb", true, 0, true, {}, 1603u, 0, 1, 0},
        {"removal forbidden, silent", "/qn", true, 0, true, {}, 1603u, 0, 0, 0},
        {"silent removal", "/qb-", false, 0, true, {}, std::nullopt, 0, 0, 1},
        {"silent removal leaves the entry", "/qn", false, 0, false, {}, 1603u, 0, 0, 1},
        {"silent removal cancelled", "/qn", false, 1602, true, {}, 1603u, 0, 0, 1},
        {"remover restarts",
         "/qb",
         false,
         1641,
         true,
         {IDYES},
         SetupResult::RebootThenResume,
         1,
         0,
         1},
    };
    for (const UninstallCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto entry =
            c.forbidsRemoval
                ? std::make_unique<UninstallEntry>("StepsTest.Previous", "Old Heron 0.9", 1u)
                : std::make_unique<UninstallEntry>("StepsTest.Previous", "Old Heron 0.9",
                                                   Remover::Command(" /remove"));
        StepBench bench(c.arguments, "[PreviousVersionUninstall]\r\nStepsTest.Previous\r\n");
        ASSERT_TRUE(bench.Parsed());
        Remover remover(c.removerExit, c.removerDeletes ? "StepsTest.Previous" : "");
        MessageBoxAnswerer boxes(c.answers);
        bool result = false;
        EXPECT_EQ(RaisedCode([&] { result = bench.Steps().UninstallPreviousVersions(); }),
                  c.raised);
        if (!c.raised) {
            EXPECT_TRUE(result);
        }
        std::size_t questions = 0, errors = 0;
        for (const MessageBoxAnswerer::Box& box : boxes.Boxes()) {
            // The question names the old product, and the package's product and version.
            for (const char* part :
                 {"Old Heron 0.9", box.question ? "Heron Sample" : "", box.question ? "1.0.0" : ""})
                EXPECT_NE(box.text.find(part), std::string::npos) << box.text;
            EXPECT_EQ(box.text.find("_PRODUCT"), std::string::npos) << box.text;
            EXPECT_EQ(box.caption, box.question ? "Warning" : "Error");
            ++(box.question ? questions : errors);
        }
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(errors, c.errorBoxes);
        EXPECT_EQ(remover.Runs().size(), c.removals);
    }
}

} // namespace
