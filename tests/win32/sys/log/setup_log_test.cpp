// C:\SETUP.LOG under Wine: lines that several threads write at the same moment all arrive whole.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/setup_log_capture.h"
#include "sys/setup_log.h"

namespace {

TEST(SetupLog, ConcurrentWritersKeepEveryLine) {
    constexpr int kThreads = 4;
    constexpr int kLines = 100;
    SetupLogCapture log;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                WriteLogF("writer %d line %d", t, i);
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::vector<std::string> lines = log.Lines();
    const std::set<std::string> distinct(lines.begin(), lines.end());
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kLines), lines.size());
    EXPECT_EQ(lines.size(), distinct.size());
}

} // namespace
