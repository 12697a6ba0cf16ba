// The single-instance mutex across processes.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "sys/instance_mutex.h"

namespace {

TEST(InstanceMutexChild, DISABLED_TryTake) {
    if (ChildRole().empty()) GTEST_SKIP();
    HANDLE mutex = CreateInstanceMutex(ChildRole().c_str());
    ::ExitProcess(mutex ? 10 : 20);
}

TEST(InstanceMutex, SecondHolderIsRefusedOtherNamesRunSideBySide) {
    HANDLE mine = CreateInstanceMutex("sub\\mutex-test.ini");
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(nullptr, CreateInstanceMutex("sub\\mutex-test.ini"));  // same process, second call
    ChildProcess same = StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "sub\\mutex-test.ini");
    EXPECT_EQ(20u, WaitForExitCode(same.process.get()));
    ChildProcess other = StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "other.ini");
    EXPECT_EQ(10u, WaitForExitCode(other.process.get()));
    ::ReleaseMutex(mine);
    ::CloseHandle(mine);
    ChildProcess after = StartTestChild("InstanceMutexChild.DISABLED_TryTake", "", "sub\\mutex-test.ini");
    EXPECT_EQ(10u, WaitForExitCode(after.process.get()));
    EXPECT_EQ(nullptr, CreateInstanceMutex(nullptr));
}

TEST(InstanceMutex, NameUsesTheGlobalNamespaceOnNt5) {
    HANDLE mine = CreateInstanceMutex("global-check.ini");
    ASSERT_NE(nullptr, mine);
    HANDLE opened = ::OpenMutexA(SYNCHRONIZE, FALSE, "Global\\SETUP global-check.ini");
    EXPECT_NE(nullptr, opened);
    if (opened) ::CloseHandle(opened);
    ::CloseHandle(mine);
}

}  // namespace
