// The engine download under Wine against local servers started by run_engine_download_tests.sh:
// SETUP_TEST_HTTP_PORT is the scripted server, SETUP_TEST_FILE_PORT serves this program's folder,
// the _HTTPS_ ports serve the same over TLS with a certificate of a test authority that the script
// trusts for the run, and SETUP_TEST_UNTRUSTED_PORT with one nobody trusts.
#include "bootstrap_fixture.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "support/pending_renames.h"
#include "sys/setup_result.h"

namespace {

std::string Port(const char* portVariable) {
    const char* port = std::getenv(portVariable);
    return port ? port : "0";
}

std::string Url(const char* portVariable, const std::string& path) {
    return "http://127.0.0.1:" + Port(portVariable) + path;
}

// Wine matches the certificate only against its DNS names: https goes to localhost.
std::string SecureUrl(const char* portVariable, const std::string& path) {
    return "https://localhost:" + Port(portVariable) + path;
}

std::string StandInDigest() {
    const char* digest = std::getenv("SETUP_TEST_STAND_IN_SHA256");
    return digest ? digest : "";
}

class EngineDownloadTest : public BootstrapTest {
  protected:
    void SetUp() override {
        for (const char* variable :
             {"SETUP_TEST_HTTP_PORT", "SETUP_TEST_FILE_PORT", "SETUP_TEST_HTTPS_PORT",
              "SETUP_TEST_HTTPS_FILE_PORT", "SETUP_TEST_UNTRUSTED_PORT"}) {
            ASSERT_NE(nullptr, std::getenv(variable))
                << variable << ": run through run_engine_download_tests.sh";
        }
        ASSERT_EQ(64u, StandInDigest().size());
        BootstrapTest::SetUp();
    }

    // Runs the whole step for a download that must fail: message 13, 1603, nothing started and
    // no download file left behind.
    void ExpectFailedDownload(const std::string& productInformation) {
        Prepare(productInformation, "/qn");
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
};

TEST_F(EngineDownloadTest, DownloadedRedistributableRunsQuietlyAndIsDeletedAtRestart) {
    Prepare("NTMsiInstaller=" + Url("SETUP_TEST_FILE_PORT", "/stand_in_redistributable.exe") +
                "\r\n",
            "/qb");
    SetupLogCapture log;
    MessageBoxAnswerer boxes;
    steps_->InstallWindowsInstaller();
    const std::string commandLine = WaitForRedistributable();

    // "<temp>KOBRxxxx\MSIxxxx.tmp" /Q
    const std::string prefix = "\"" + UserTempFolder() + "KOBR";
    ASSERT_EQ(0u, commandLine.find(prefix)) << commandLine;
    EXPECT_EQ(commandLine.find("\\MSI"), prefix.size() + 4) << commandLine;
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
    RemoveDownload(downloaded);
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
    const std::string folder = downloaded.substr(0, downloaded.rfind('\\'));
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(downloaded));
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(folder));
    EXPECT_TRUE(log.Contains("Scheduled \"" + downloaded + "\" for deletion using MoveFileEx()"))
        << log.Dump();
    RemoveDownload(downloaded);
}

TEST_F(EngineDownloadTest, FailedDownloadsShowMessage13StartNothingAndLeaveNoFile) {
    const std::string wrongDigest(64, '0');
    const std::string cases[] = {
        "NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", "/status/404"),
        // The connection ends after 4000 of the 45568 bytes announced.
        "NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", "/short/45568/4000"),
        "NTMsiInstaller=" + SecureUrl("SETUP_TEST_UNTRUSTED_PORT", "/file/3000"),
        "NTMsiInstaller=" +
            SecureUrl("SETUP_TEST_HTTPS_FILE_PORT", "/stand_in_redistributable.exe") +
            "\r\nNTMsiInstallerSHA256=" + wrongDigest,
    };
    for (const std::string& c : cases) {
        SCOPED_TRACE(c);
        SetupLogCapture log;
        ExpectFailedDownload(c + "\r\n");
        if (c.find("SHA256") != std::string::npos) {
            EXPECT_TRUE(log.Contains("Downloaded file hash mismatch: expected " + wrongDigest +
                                     ", got " + StandInDigest()))
                << log.Dump();
        }
    }
}

// A byte every three seconds passes every receive time-out; only the progress rule ends it, after
// its 60 seconds, so the script runs this case once, on its own.
TEST_F(EngineDownloadTest, ADrippingServerEndsAQuietRunWith1603AndTheLogSaysWhy) {
    if (!std::getenv("SETUP_TEST_DRIP")) GTEST_SKIP() << "run by the script on its own";
    SetupLogCapture log;
    ExpectFailedDownload("NTMsiInstaller=" + Url("SETUP_TEST_HTTP_PORT", "/drip/50000000/3000") +
                         "\r\n");
    EXPECT_TRUE(log.ContainsText(
        " - ZBHTTP PerformFileDownload: fewer than 4096 bytes in 60 seconds after "))
        << log.Dump();
}

TEST_F(EngineDownloadTest, HttpsDownloadWithAPinnedDigestRuns) {
    const std::string path = "/stand_in_redistributable.exe";
    const std::string cases[] = {
        SecureUrl("SETUP_TEST_HTTPS_FILE_PORT", path),
        // An http:// address that the server sends on to https://.
        Url("SETUP_TEST_HTTP_PORT", "/redirect-https/" + Port("SETUP_TEST_HTTPS_FILE_PORT") + path),
    };
    for (const std::string& url : cases) {
        SCOPED_TRACE(url);
        std::string digest = StandInDigest();
        std::transform(digest.begin(), digest.end(), digest.begin(), ::toupper); // any case
        Prepare("NTMsiInstaller=" + url + "\r\nNTMsiInstallerSHA256=" + digest + "\r\n", "/qb");
        ::ShowWindow(bar_, SW_HIDE);
        MessageBoxAnswerer boxes;
        steps_->InstallWindowsInstaller();
        const std::string commandLine = WaitForRedistributable();
        const std::size_t end = commandLine.find("\" /Q");
        ASSERT_NE(std::string::npos, end) << commandLine;
        const std::string downloaded = commandLine.substr(1, end - 1);
        EXPECT_EQ(ReadFileBytes(TestProgramFolder() + "stand_in_redistributable.exe"),
                  ReadFileBytes(downloaded));
        // Checked and run in a private folder of its own.
        EXPECT_EQ(0u, downloaded.find(UserTempFolder() + "KOBR")) << downloaded;
        EXPECT_EQ(downloaded.rfind('\\'), UserTempFolder().size() + 8) << downloaded;
        EXPECT_TRUE(BarVisible());
        ASSERT_FALSE(progress_.positions.empty());
        EXPECT_EQ(100, progress_.positions.back());
        EXPECT_TRUE(boxes.Texts().empty());
        RemoveDownload(downloaded);
    }
}

TEST_F(EngineDownloadTest, HttpsProgressMovesTheBar) {
    Prepare("NTMsiInstaller=" + SecureUrl("SETUP_TEST_HTTPS_PORT", "/slow/400000/8/100") + "\r\n",
            "/qb");
    ::ShowWindow(bar_, SW_HIDE);
    std::string downloaded;
    ASSERT_TRUE(steps_->DownloadWindowsInstaller(downloaded));
    // Nobody may write over or replace the checked file before it is started.
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              ::CreateFileA(downloaded.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(::MoveFileA(downloaded.c_str(), (downloaded + ".moved").c_str()));
    DeleteDownloaded(downloaded);
    EXPECT_TRUE(progress_.everShown);
    EXPECT_TRUE(std::is_sorted(progress_.positions.begin(), progress_.positions.end()));
    EXPECT_TRUE(std::any_of(progress_.positions.begin(), progress_.positions.end(),
                            [](int position) { return position > 0 && position < 100; }));
    // The live control agrees with what it was told.
    EXPECT_EQ(100, static_cast<int>(::SendMessageA(bar_, PBM_GETPOS, 0, 0)));
}

TEST_F(EngineDownloadTest, WithoutAnHttpsStackAnHttpsAddressFailsCleanly) {
    if (!std::getenv("SETUP_TEST_NO_HTTPS_STACK"))
        GTEST_SKIP() << "run with WinHTTP and WinINet disabled";
    ExpectFailedDownload("NTMsiInstaller=" +
                         SecureUrl("SETUP_TEST_HTTPS_FILE_PORT", "/stand_in_redistributable.exe") +
                         "\r\n");
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
        DeleteDownloaded(downloaded);

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
