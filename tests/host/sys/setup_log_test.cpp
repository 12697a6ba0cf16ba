// The setup log's switch and line format, the instance mutex name and the bounded buffers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sys/fixed_buffer.h"
#include "sys/instance_mutex.h"
#include "sys/setup_log.h"

namespace {

TEST(SetupLog, ZbSetupValues) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {
        {"LOG", true},
        {"log", true},
        {"x,Log", true},
        {" LOG , x", true},
        {"", false},
        {"LOGX", false},
        {"x y", false},
        {"\"LOG\"", true},
        {"a\"b,LOG", false}, // malformed quote: the scan stops instead of stalling
        {"DEBUG,LOGGING", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.on, ZbSetupValueEnablesLog(c.value)) << c.value;
    EXPECT_FALSE(ZbSetupValueEnablesLog(nullptr));
}

TEST(SetupLog, LineFormat) {
    EXPECT_EQ("12/06/01 17:43:05 - Worker thread starting...\r\n",
              FormatLogLine("12/06/01 17:43:05", "Worker thread starting..."));
    EXPECT_EQ(" - \r\n", FormatLogLine("", ""));
    EXPECT_EQ("t - \r\n", FormatLogLine("t", nullptr));
}

TEST(InstanceMutex, Names) {
    EXPECT_EQ("SETUP SETUP.INI", InstanceMutexName("SETUP.INI", false));
    EXPECT_EQ("Global\\SETUP sub_dir_setup.ini", InstanceMutexName("sub\\dir\\setup.ini", true));
    // The trail byte 0x5C of a double-byte character is not a backslash.
    auto lead = [](unsigned char c) { return c == 0x81; };
    EXPECT_EQ("SETUP a\x81\\_b", InstanceMutexName("a\x81\\\\b", false, lead));
}

TEST(FixedBuffer, BoundedCopiesAndFormats) {
    char buffer[8];
    EXPECT_TRUE(CopyBounded(buffer, sizeof buffer, "1234567"));
    EXPECT_STREQ("1234567", buffer);
    EXPECT_FALSE(CopyBounded(buffer, sizeof buffer, "12345678"));
    EXPECT_STREQ("", buffer);
    EXPECT_TRUE(FormatBounded(buffer, sizeof buffer, "%s%d", "ab", 12345));
    EXPECT_FALSE(FormatBounded(buffer, sizeof buffer, "%s%d", "abc", 12345));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(std::string(3000, 'x') + "1",
              FormatString("%s%d", std::string(3000, 'x').c_str(), 1));
}

} // namespace
