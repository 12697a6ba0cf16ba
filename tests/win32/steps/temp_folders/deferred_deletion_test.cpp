// Deletion at restart: the MoveFileEx route on NT and the WININIT.INI [Rename] route of the 9x
// family, run here against a Windows folder of the test's own.
#include <gtest/gtest.h>

#include "steps/deferred_deletion.h"
#include "steps/wininit_rename.h"
#include "support/pending_renames.h"
#include "support/setup_log_capture.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

class DeferredDeletion : public ::testing::Test {
  protected:
    TempFolder work{"setup-tests"};
    std::string windows = work / "WINDOWS\\";
    std::string wininit = windows + "WININIT.INI";
    // The 9x route, against a Windows folder given without the backslash: it is added.
    void ScheduleNineX(const std::string& path) {
        ScheduleInWininit(path.c_str(), work / "WINDOWS");
    }

    void SetUp() override { ASSERT_TRUE(MakeFolder(windows)); }
    void TearDown() override { pending_renames::RemoveBelow(work.Path()); }
};

TEST_F(DeferredDeletion, NtRouteUsesMoveFileEx) {
    const std::string file = work / "scheduled.tmp";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    SetupLogCapture log;
    LogForDeletion(file.c_str());
    EXPECT_EQ(
        log.CountLinesEndingWith("Scheduled \"" + file + "\" for deletion using MoveFileEx()"), 1);
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(file));
    EXPECT_FALSE(PathExists(wininit));
}

TEST_F(DeferredDeletion, WininitGetsARenameSectionWithOneNulLinePerPath) {
    const std::string first = work / "A Long File Name For Deletion.dat";
    const std::string second = work / "second.tmp";
    ASSERT_TRUE(WriteFileBytes(first, "1"));
    ASSERT_TRUE(WriteFileBytes(second, "2"));
    const std::string firstShort = ShortPath(first);
    ASSERT_FALSE(firstShort.empty());

    ScheduleNineX(first);
    ScheduleNineX(second);
    ScheduleNineX(second); // an earlier line is never replaced

    EXPECT_EQ(ReadFileBytes(wininit), "[Rename]\r\nNUL=" + firstShort +
                                          "\r\nNUL=" + ShortPath(second) +
                                          "\r\nNUL=" + ShortPath(second) + "\r\n");
    EXPECT_FALSE(pending_renames::IsScheduledForDeletion(first));
}

TEST_F(DeferredDeletion, WininitKeepsWhatItHeldAndAppendsToAnExistingSection) {
    const std::string file = work / "x.tmp";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    ASSERT_TRUE(WriteFileBytes(
        wininit, "; made by another "
                 "installer\r\n[Other]\r\nkey=value\r\n\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\n"));
    ScheduleNineX(file);
    EXPECT_EQ(ReadFileBytes(wininit),
              "; made by another "
              "installer\r\n[Other]\r\nkey=value\r\n\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=" +
                  ShortPath(file) + "\r\n");
}

TEST_F(DeferredDeletion, PathWithoutShortFormWritesNothing) {
    ScheduleNineX(work / "gone.tmp");
    EXPECT_TRUE(PathExists(wininit)); // made sure it exists before loading it
    EXPECT_EQ(ReadFileBytes(wininit), "");
}

TEST_F(DeferredDeletion, IniFailureIsLoggedAndSwallowed) {
    // A folder named WININIT.INI cannot be loaded or saved: the library raises, nothing escapes.
    ASSERT_TRUE(MakeFolder(wininit));
    const std::string file = work / "x.tmp";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    SetupLogCapture log;
    EXPECT_NO_THROW(ScheduleNineX(file));
    EXPECT_TRUE(log.ContainsText("Failed to update \"" + wininit + "\" in LogForDeletion()"));

    EXPECT_NO_THROW(ScheduleInWininit(file.c_str(), std::string(300, 'w')));
    EXPECT_NO_THROW(LogForDeletion(nullptr));
}
} // namespace
