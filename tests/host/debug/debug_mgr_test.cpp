// DebugMgr: silence at level 0, level filtering, overflow and format notices, output file.
#include "debug/debug_mgr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class DebugMgrTest : public testing::Test {
  protected:
    void SetUp() override {
        path_ = "/tmp/debug-mgr-test-" + std::to_string(getpid()) + ".txt";
        std::remove(path_.c_str());
    }
    void TearDown() override {
        DebugMgr::CloseOutputFile();
        DebugMgr::DebugLevel = 0;
        DebugMgr::DebugOutputFileName.clear();
        std::remove(path_.c_str());
    }
    void UseFile(int32_t level) {
        DebugMgr::DebugLevel = level;
        DebugMgr::DebugOutputFileName = path_;
    }
    std::string FileText() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool FileExists() const { return access(path_.c_str(), F_OK) == 0; }

    std::string path_;
};

TEST_F(DebugMgrTest, LevelZeroWritesNothingAnywhere) {
    DebugMgr::DebugOutputFileName = path_;
    testing::internal::CaptureStdout();
    DebugMgr::DebugOutput(0, "a %d\n", 1);
    DebugMgr::DebugOutput(-5, "b\n");
    DebugMgr::DebugError("c %s\n", "x");
    DebugMgr::Assert(false, "d\n");
    DebugMgr::WriteDebugText("e");
    DebugMgr::CheckCreateOutputFile();
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(FileExists());
}

TEST_F(DebugMgrTest, LevelFiltersOutputButNotErrorsOrAsserts) {
    UseFile(20);
    DebugMgr::DebugOutput(40, "level 40\n");
    DebugMgr::DebugOutput(20, "level %d\n", 20);
    DebugMgr::DebugOutput(2, "level 2\n");
    DebugMgr::DebugError("error %ld\n", 7L);
    DebugMgr::Assert(true, "true assert\n");
    DebugMgr::Assert(false, nullptr);
    DebugMgr::Assert(false, "false assert %s\n", "x");
    EXPECT_EQ("level 20\nlevel 2\nerror 7\nfalse assert x\n", FileText());
}

TEST_F(DebugMgrTest, OverflowNoticeFromFourThousandNinetyFiveCharacters) {
    UseFile(1);
    const std::string fits(4094, 'a');
    const std::string full(4095, 'b');
    const std::string over(5000, 'c');
    DebugMgr::DebugOutput(1, "%s", fits.c_str());
    DebugMgr::DebugOutput(1, "%s", full.c_str());
    DebugMgr::DebugError("%s", over.c_str());
    DebugMgr::Assert(false, "%s", over.c_str());
    EXPECT_EQ(fits + "DebugOutput: BUFFER OVERFLOW!" + full + "DebugError: BUFFER OVERFLOW!" +
                  std::string(4095, 'c') + "Assert: BUFFER OVERFLOW!" + std::string(4095, 'c'),
              FileText());
}

TEST_F(DebugMgrTest, FileIsAppendedAndKept) {
    { std::ofstream(path_) << "before\n"; }
    UseFile(10);
    DebugMgr::DebugOutput(10, "one\n");
    DebugMgr::DebugOutputFileName = path_ + ".other"; // the open stream stays in use
    DebugMgr::DebugOutput(10, "two\n");
    EXPECT_EQ("before\none\ntwo\n", FileText());
    EXPECT_NE(0, access((path_ + ".other").c_str(), F_OK));
}

TEST_F(DebugMgrTest, StandardOutputWithoutAFileName) {
    DebugMgr::DebugLevel = 5;
    testing::internal::CaptureStdout();
    DebugMgr::DebugOutput(5, "to %s", "stdout");
    DebugMgr::WriteDebugText("|raw");
    EXPECT_EQ("to stdout|raw", testing::internal::GetCapturedStdout());
}

TEST_F(DebugMgrTest, AFileThatCannotBeOpenedLosesTheTexts) {
    DebugMgr::DebugLevel = 5;
    DebugMgr::DebugOutputFileName = "/nonexistent-folder/debug.txt";
    testing::internal::CaptureStdout();
    DebugMgr::DebugOutput(5, "lost\n");
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
}

std::vector<std::string> g_sunk;
void Sink(const char* line) {
    g_sunk.push_back(line);
}

TEST_F(DebugMgrTest, FailureTextsReachTheSinkAsOneLineEachWhateverTheLevel) {
    DebugMgr::SetFailureSink(&Sink);
    DebugMgr::DebugError("E %d\n", 1);
    DebugMgr::DebugFailure(20, "F %s\r\nnext\n", "x");
    DebugMgr::DebugOutput(1, "not a failure\n");
    DebugMgr::SetFailureSink(nullptr);
    DebugMgr::DebugError("after\n");
    EXPECT_EQ((std::vector<std::string>{"E 1", "F x\\r\\nnext"}), g_sunk);
    EXPECT_FALSE(FileExists());
}

} // namespace
