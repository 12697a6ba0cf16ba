// The engine bootstrap under Wine without a server: the redistributable beside the launcher and
// its quiet switch, the internal errors, the download locations and an unreachable download.
#include "bootstrap_fixture.h"

#include "steps/engine_bootstrap.h"
#include "sys/setup_result.h"

namespace {

TEST_F(BootstrapTest, LocalRedistributableRunsWithQuietSwitchOnlyAtQbQbMinusAndQn) {
    PlaceLocalRedistributable("INSNTMSI.EXE");
    PlaceLocalRedistributable("INS9XMSI.EXE");
    struct Case {
        const char* arguments;
        int platformId;
        const char* program;
        bool quiet;
    };
    const Case cases[] = {
        {"", 2, "INSNTMSI.EXE", false},     {"/qf", 2, "INSNTMSI.EXE", false},
        {"/qr", 2, "INSNTMSI.EXE", false},  {"/qb+", 2, "INSNTMSI.EXE", false},
        {"/qb", 2, "INSNTMSI.EXE", true},   {"/qb-", 2, "INSNTMSI.EXE", true},
        {"/qn+", 2, "INSNTMSI.EXE", false}, {"/qn", 2, "INSNTMSI.EXE", true},
        {"/qn", 1, "INS9XMSI.EXE", true},   {"/qn+", 1, "INS9XMSI.EXE", false},
    };
    MessageBoxAnswerer boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.arguments) + " on platform " + std::to_string(c.platformId));
        // A download location that cannot answer: reaching it would show the failure box.
        Prepare("NTMsiInstaller=http://127.0.0.1:1/never.exe\r\n9xMsiInstaller=http://127.0.0.1:1/"
                "never.exe\r\n",
                c.arguments, c.platformId);
        SetupLogCapture log;
        ::DeleteFileA(record_.c_str());
        steps_->InstallWindowsInstaller();
        const std::string expected = "\"" + folder_ / c.program + "\"" + (c.quiet ? " /Q" : "");
        EXPECT_EQ(expected, WaitForRedistributable());
        EXPECT_TRUE(log.Contains("Installing Windows installer")) << log.Dump();
        EXPECT_TRUE(log.Contains("Command Line = " + expected)) << log.Dump();
        EXPECT_FALSE(BarVisible());
    }
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(BootstrapTest, InternalErrorsNameLocation7) {
    PlaceLocalRedistributable("INSNTMSI.EXE");
    struct Case {
        int platformId;
        bool attach;
        uint32_t code;
        const char* box;
    };
    const Case cases[] = {
        {-1, true, 0x80040008, "Error Code: 0007.80040008"},
        {0, true, 0x80040008, "Error Code: 0007.80040008"},
        {3, true, 0x80040008, "Error Code: 0007.80040008"},
        {2, false, 0x80004003, "Error Code: 0007.80004003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        MessageBoxAnswerer boxes;
        Prepare("", "", c.platformId, c.attach);
        ::DeleteFileA(record_.c_str());
        EXPECT_EQ(c.code, RaisedByInstall());
        EXPECT_EQ(std::vector<std::string>{c.box}, boxes.Texts());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(record_.c_str()))
            << "the redistributable ran";
    }
    // Without a command line the download cannot find its location either.
    MessageBoxAnswerer boxes;
    Prepare("", "", 2, false);
    std::string path;
    EXPECT_THROW(steps_->DownloadWindowsInstaller(path), SetupError);
}

TEST(EngineDownloadLocation, SettingFirstThenTheVendorServerByPlatform) {
    EXPECT_EQ("https://download.microsoft.com/msdn-files/027/001/456/instmsiw.exe",
              EngineDownloadUrl(kPlatformNT, ""));
    EXPECT_EQ("https://download.microsoft.com/msdn-files/027/001/455/instmsia.exe",
              EngineDownloadUrl(kPlatform9x, ""));
    EXPECT_EQ("http://mirror.example/engine.exe",
              EngineDownloadUrl(kPlatformNT, "http://mirror.example/engine.exe"));
    for (PlatformId platformId : {kPlatformUnknown, kPlatformWin32s, static_cast<PlatformId>(3)}) {
        EXPECT_EQ("", EngineDownloadUrl(platformId, ""));
        EXPECT_EQ("", EngineDownloadUrl(platformId, "http://mirror.example/engine.exe"));
        EXPECT_EQ("", LocalRedistributableCommand(platformId, "C:\\setup\\"));
    }
    EXPECT_EQ("\"C:\\a b\\INS9XMSI.EXE\"", LocalRedistributableCommand(kPlatform9x, "C:\\a b\\"));
    EXPECT_EQ("\"C:\\a b\\INSNTMSI.EXE\"", LocalRedistributableCommand(kPlatformNT, "C:\\a b\\"));
}

TEST_F(BootstrapTest, UnreachableDownloadShowsMessage13EvenWhenQuietAndEnds1603) {
    struct Case {
        const char* productInformation;
        int platformId;
        const char* version;
    };
    const Case cases[] = {
        {"NTMsiInstaller=http://127.0.0.1:1/instmsiw.exe\r\n", 2, "1.10"},
        {"NTMsiInstaller=http://127.0.0.1:1/instmsiw.exe\r\nMsiVersion=2.0\r\n", 2, "2.0"},
        {"9xMsiInstaller=http://127.0.0.1:1/instmsia.exe\r\nMsiVersion=1.1\r\n", 1, "1.1"},
        {"NTMsiInstaller=ftp://127.0.0.1/instmsiw.exe\r\n", 2, "1.10"}, // not a usable URL
    };
    const std::vector<std::string> filesBefore = DownloadFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.productInformation);
        MessageBoxAnswerer boxes;
        Prepare(c.productInformation, "/qn", c.platformId);
        EXPECT_EQ(1603u, RaisedByInstall());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(std::string("Setup requires at least version ") + c.version +
                      " of the Windows Installer to run.\nYou will first need to download and "
                      "install the Windows "
                      "Installer from www.microsoft.com.",
                  boxes.Boxes()[0].text);
        EXPECT_EQ(window_, boxes.Boxes()[0].owner);
    }
    EXPECT_EQ(filesBefore, DownloadFiles()) << "a failed download left its file behind";
}

} // namespace
