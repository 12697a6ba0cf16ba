// The single-instance mutex across processes, and the log's lines from concurrent writers.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/setup_log_capture.h"
#include "sys/instance_mutex.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"

namespace {

TEST(InstanceMutexChild, DISABLED_TryTake) {
    if (ChildRole().empty()) GTEST_SKIP();
    UniqueOwnedMutex mutex = CreateInstanceMutex(ChildRole().c_str());
    ::ExitProcess(mutex ? 10 : 20);
}

TEST(InstanceMutex, SecondHolderIsRefusedOtherNamesRunSideBySide) {
    UniqueOwnedMutex mine = CreateInstanceMutex("sub\\mutex-test.ini");
    ASSERT_TRUE(mine);
    EXPECT_FALSE(CreateInstanceMutex("sub\\mutex-test.ini")); // same process, second call
    ChildProcess same =
        StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "sub\\mutex-test.ini");
    EXPECT_EQ(20u, WaitForExitCode(same.process.get()));
    ChildProcess other = StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "other.ini");
    EXPECT_EQ(10u, WaitForExitCode(other.process.get()));
    mine.reset();
    ChildProcess after =
        StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "sub\\mutex-test.ini");
    EXPECT_EQ(10u, WaitForExitCode(after.process.get()));
    EXPECT_FALSE(CreateInstanceMutex(nullptr));
}

TEST(InstanceMutex, NameUsesTheGlobalNamespaceOnNt5) {
    UniqueOwnedMutex mine = CreateInstanceMutex("global-check.ini");
    ASSERT_TRUE(mine);
    HANDLE opened = ::OpenMutexA(SYNCHRONIZE, FALSE, "Global\\SETUP global-check.ini");
    EXPECT_NE(nullptr, opened);
    if (opened) ::CloseHandle(opened);
}

// A handle whose close function is bound at run time is closed once, through that function, by
// whichever owner holds it last.
std::vector<int> g_closed;
UINT WINAPI RecordClose(int handle) {
    g_closed.push_back(handle);
    return 0;
}

TEST(UniqueBoundHandle, ClosesOnceThroughTheBoundFunction) {
    g_closed.clear();
    {
        UniqueBoundHandle<int, decltype(&RecordClose)> first(&RecordClose, 7), empty(&RecordClose);
        UniqueBoundHandle<int, decltype(&RecordClose)> second(std::move(first));
        first = std::move(empty);
        EXPECT_TRUE(g_closed.empty());
    }
    EXPECT_EQ(std::vector<int>{7}, g_closed);
}

// Threads that write at the same moment never overwrite one another's lines.
TEST(SetupLog, ConcurrentWritersKeepEveryLine) {
    SetupLogCapture log;
    std::vector<std::thread> writers;
    std::set<std::string> expected;
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 100; ++i)
            expected.insert("writer " + std::to_string(t * 100 + i));
        writers.emplace_back([t] {
            for (int i = 0; i < 100; ++i)
                WriteLogF("writer %d", t * 100 + i);
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(expected, std::set<std::string>(lines.begin(), lines.end()));
    EXPECT_EQ(expected.size(), lines.size());
}

} // namespace
