// The step object under Wine: its folders, the owner of internal-error boxes, command-line
// attachment and the folder part of multibyte paths.
#include <gtest/gtest.h>

#include <string>

#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "steps/setup_steps.h"
#include "support/known_folders.h"
#include "support/message_box_answerer.h"
#include "support/setup_log_capture.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/setup_result.h"
#include "sys/unique_handle.h"

namespace {

const char kSetupIni[] = "[ProductInformation]\r\nPackageName=kestrel.msi\r\n[ProductFeatures]\r\n";

class SetupStepsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        endSession_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(endSession_);
    }
    UniqueKernelHandle endSession_;
};

TEST_F(SetupStepsTest, ConstructionTakesTheLauncherFolderAndLogsNothing) {
    SetupLogCapture log;
    SetupSteps steps(nullptr, endSession_.get());
    EXPECT_EQ(steps.GetLauncherFolder(), TestProgramFolder());
    EXPECT_EQ(steps.GetPackageFolder(), TestProgramFolder());
    EXPECT_EQ(steps.GetPlatformId(), -1);
    EXPECT_EQ(steps.GetEndSessionEvent(), endSession_.get());
    EXPECT_EQ(steps.GetCommandLine(), nullptr);
    EXPECT_TRUE(log.Lines().empty()) << log.Dump();
}

TEST_F(SetupStepsTest, OwnerWindowOwnsInternalErrorBoxes) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        SetupSteps steps(owner, endSession_.get());
        EXPECT_EQ(steps.GetOwnerWindow(), owner);
        MessageBoxAnswerer answerer;
        // Every operation that needs the command line raises with its own location before
        // attaching.
        try {
            steps.RequireCommandLine(17);
            ADD_FAILURE() << "no internal error";
        } catch (const SetupError& error) {
            EXPECT_EQ(error.code, 0x80004003u);
        }
        const auto boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find("Error Code: 0011.80004003"), std::string::npos)
            << boxes[0].text;
        EXPECT_EQ(boxes[0].owner, owner);
    }
    ::DestroyWindow(owner);
}

TEST_F(SetupStepsTest, SetupFileFolderExtendsThePackageFolderOnly) {
    // A launcher folder with sub\setup.ini in it.
    TempFolder folder("setup-steps");
    ASSERT_TRUE(MakeFolder(folder / "sub"));
    for (const char* name : {"setup.ini", "sub\\setup.ini"})
        ASSERT_TRUE(WriteFileBytes(folder / name, kSetupIni));
    SetupCommandLine commandLine;
    ASSERT_TRUE(commandLine.Parse(folder.Path(), "sub\\setup.ini /qb"));
    ASSERT_EQ(commandLine.GetSetupFileName(), "sub\\setup.ini");

    SetupSteps steps(nullptr, endSession_.get());
    steps.AttachCommandLine(commandLine);
    EXPECT_EQ(steps.GetCommandLine(), &commandLine);
    EXPECT_EQ(&steps.RequireCommandLine(17), &commandLine);
    EXPECT_EQ(steps.GetLauncherFolder(), TestProgramFolder());
    EXPECT_EQ(steps.GetPackageFolder(), TestProgramFolder() + "sub\\");

    // Attaching again does not add the folder twice.
    steps.AttachCommandLine(commandLine);
    EXPECT_EQ(steps.GetPackageFolder(), TestProgramFolder() + "sub\\");

    // Once setup runs from a temporary copy, the package is still taken from the starting folder.
    steps.SetLauncherFolder(folder.Path());
    steps.AttachCommandLine(commandLine);
    EXPECT_EQ(steps.GetLauncherFolder(), folder.Path());
    EXPECT_EQ(steps.GetPackageFolder(), TestProgramFolder() + "sub\\");

    // A setup data file without a folder part leaves the package folder as it was at construction.
    SetupCommandLine plain;
    ASSERT_TRUE(plain.Parse(folder.Path(), "/qb"));
    ASSERT_EQ(plain.GetSetupFileName(), "SETUP.INI");
    steps.AttachCommandLine(plain);
    EXPECT_EQ(steps.GetPackageFolder(), TestProgramFolder());
}

TEST_F(SetupStepsTest, DestructionUnloadsTheInstallerLibrary) {
    SetupLogCapture log;
    {
        SetupSteps steps(nullptr, endSession_.get());
        ASSERT_TRUE(steps.GetMsiLibrary().Load());
    }
    EXPECT_TRUE(log.Contains("Unloading MSI.DLL")) << log.Dump();
}

struct FolderCase {
    const char* path;
    unsigned codePage;
    const char* folder;
};

TEST(FolderOfPath, SplitsAfterTheLastSeparatorOutsideDoubleByteCharacters) {
    const FolderCase cases[] = {
        {"C:\\setup\\SETUP.EXE", 1252, "C:\\setup\\"},
        {"sub\\setup.ini", 1252, "sub\\"},
        {"a\\b\\setup.ini", 1252, "a\\b\\"},
        {"a/b/setup.ini", 1252, "a/b/"},
        {"C:setup.ini", 1252, "C:"},
        {"setup.ini", 1252, ""},
        {"", 1252, ""},
        {"sub\\", 1252, "sub\\"},
        // 0x83 0x5C is one Shift-JIS character whose second byte is a backslash.
        {"\x83\x5Csetup.ini", 932, ""},
        {"\x83\x5C\\setup.ini", 932, "\x83\x5C\\"},
        {"\x83\x5Csetup.ini", 1252, "\x83\x5C"},
        {"dir\\\x83", 932, "dir\\"}, // a lead byte at the very end
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(FolderOfPath(c.path, c.codePage), c.folder)
            << "path " << c.path << " code page " << c.codePage;
    }
}

} // namespace
