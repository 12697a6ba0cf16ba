// The engine download under Wine against local servers started by run_engine_download_tests.sh:
// SETUP_TEST_HTTP_PORT is the scripted server, SETUP_TEST_FILE_PORT serves this program's folder.
#include "bootstrap_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "app/setup_error.h"
#include "support/pending_renames.h"

namespace {

std::string Url(const char* portVariable, const std::string& path) {
    const char* port = std::getenv(portVariable);
    return std::string("http://127.0.0.1:") + (port ? port : "0") + path;
}

class EngineDownloadTest : public BootstrapTest {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, std::getenv("SETUP_TEST_HTTP_PORT"))
            << "run through run_engine_download_tests.sh";
        ASSERT_NE(nullptr, std::getenv("SETUP_TEST_FILE_PORT"))
            << "run through run_engine_download_tests.sh";
        BootstrapTest::SetUp();
    }
};

TEST_F(EngineDownloadTest, DownloadedRedistributableRunsQuietlyAndIsDeletedAtRestart) {
    Prepare("NTMsiInstaller=" + Url("SETUP_TEST_FILE_PORT", "/stand_in_redistributable.exe") +
                "\r\n",
            "/qb");
    SetupLogCapture log;
    MessageBoxAnswerer boxes;
    steps_->InstallWindowsInstaller();
    const std::string commandLine = WaitForRedistributable();

    // "<temp>MSIxxxx.tmp" /Q
    const std::string prefix = "\"" + UserTempFolder() + "MSI";
    ASSERT_EQ(0u, commandLine.find(prefix)) << commandLine;
    const std::size_t end = commandLine.find("\" /Q");
    ASSERT_NE(std::string::npos, end) << commandLine;
    EXPECT_EQ(end + 4, commandLine.size()) << commandLine;
    const std::string downloaded = commandLine.substr(1, end - 1);
    EXPECT_EQ(0, ::lstrcmpiA(downloaded.substr(downloaded.size() - 4).c_str(), ".tmp"))
        << downloaded;
    EXPECT_EQ(ReadFileBytes(TestProgramFolder() + "stand_in_redistributable.exe"),
              ReadFileBytes(downloaded));
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(downloaded));
    EXPECT_TRUE(log.Contains("Scheduled \"" + downloaded + "\" for deletion using MoveFileEx()"))
        << log.Dump();
    EXPECT_TRUE(log.Contains("Command Line = " + commandLine)) << log.Dump();

    EXPECT_TRUE(BarVisible());
    ASSERT_FALSE(progress_.positions.empty());
    EXPECT_EQ(100, progress_.positions.back());
    EXPECT_TRUE(boxes.Texts().empty());
    ::DeleteFileA(downloaded.c_str());
}

TEST_F(EngineDownloadTest, DownloadedFileThatCannotStartIsStillDeletedAtRestart) {
    // Pattern bytes, not a program.
    Prepare("NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", "/file/3000") + "\r\n", "/qn");
    SetupLogCapture log;
    MessageBoxAnswerer boxes;
    const std::vector<std::string> filesBefore = DownloadFiles();
    EXPECT_EQ(0x80040006u, RaisedByInstall());
    EXPECT_EQ(std::vector<std::string>{"Error Code: 0007.80040006"}, boxes.Texts());

    std::vector<std::string> added = DownloadFiles();
    for (const std::string& name : filesBefore)
        added.erase(std::remove(added.begin(), added.end(), name), added.end());
    ASSERT_EQ(1u, added.size());
    const std::string downloaded = UserTempFolder() + added[0];
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(downloaded));
    EXPECT_TRUE(log.Contains("Scheduled \"" + downloaded + "\" for deletion using MoveFileEx()"))
        << log.Dump();
    ::DeleteFileA(downloaded.c_str());
}

TEST_F(EngineDownloadTest, NotFoundShowsMessage13AndEnds1603) {
    Prepare("NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", "/status/404") + "\r\n", "/qn");
    MessageBoxAnswerer boxes;
    const std::vector<std::string> filesBefore = DownloadFiles();
    const HANDLE launchedBefore = LastLaunchedProcess();
    EXPECT_EQ(1603u, RaisedByInstall());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[0].text.find(
                      "Setup requires at least version 1.10 of the Windows Installer to run."))
        << boxes.Boxes()[0].text;
    EXPECT_EQ(window_, boxes.Boxes()[0].owner);
    EXPECT_EQ(filesBefore, DownloadFiles());
    EXPECT_EQ(launchedBefore, LastLaunchedProcess());
}

TEST_F(EngineDownloadTest, ProgressBarShowsOnlyAKnownSizeAndStopsAt100) {
    struct Case {
        const char* path;
        bool visibleBefore;
        bool downloads;
        bool shown;        // shown at some point, and visible at the end
        bool intermediate; // some position strictly between 0 and 100 was set
    };
    const Case cases[] = {
        {"/slow/400000/8/100", false, true, true, true},
        {"/short/1000/50000", false, true, true,
         false}, // more bytes than announced: still at most 100
        {"/zero", false, true, false, false},
        {"/zero", true, true, false, false},            // an unknown size hides a bar left visible
        {"/nolength/50000", true, false, false, false}, // refused for want of a size
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Prepare("NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", c.path) + "\r\n", "/qb");
        ::ShowWindow(bar_, c.visibleBefore ? SW_SHOW : SW_HIDE);
        ::SendMessageA(bar_, PBM_SETPOS, 0, 0);
        progress_ = ProgressRecord();
        std::string downloaded;
        ASSERT_EQ(c.downloads, steps_->DownloadWindowsInstaller(downloaded));
        ::DeleteFileA(downloaded.c_str());

        EXPECT_EQ(c.shown, progress_.everShown);
        EXPECT_EQ(c.shown, BarVisible());
        EXPECT_TRUE(std::is_sorted(progress_.positions.begin(), progress_.positions.end()));
        for (int position : progress_.positions)
            EXPECT_TRUE(position >= 0 && position <= 100) << position;
        EXPECT_EQ(c.intermediate,
                  std::any_of(progress_.positions.begin(), progress_.positions.end(),
                              [](int position) { return position > 0 && position < 100; }));
        if (c.shown) {
            ASSERT_FALSE(progress_.positions.empty());
            EXPECT_EQ(100, progress_.positions.back());
        } else {
            EXPECT_TRUE(progress_.positions.empty());
        }
    }
}

} // namespace
