// Restart shortcut arguments: the temporary-copy switch appears once, whatever the run started
// with, and a restarted run reads them as the first run read its own.
#include <gtest/gtest.h>

#include <string>

#include "app/restart_arguments.h"
#include "config/setup_command_line.h"

namespace {

const std::string kLauncher = SETUP_TEST_DATA "/config/launcher/";

struct Case {
    const char* arguments;
    int copyMarker; // set by the temporary-copy step when the arguments give none
    const char* expected;
};

std::string RestartArguments(const std::string& arguments, int copyMarker) {
    SetupCommandLine line;
    EXPECT_TRUE(line.Parse(kLauncher, arguments)) << arguments;
    if (line.GetTempCopyMarker() == 0)
        line.SetTempCopyMarker(static_cast<TempCopyMarker>(copyMarker));
    return BuildRestartArguments(arguments, line);
}

TEST(BuildRestartArguments, CarriesTheMarkerSwitchExactlyOnce) {
    const Case cases[] = {
        {"", 0, ""},
        {"", 1, " /~"},
        {"", 2, " /~-"},
        {" /qb", 1, " /qb /~"},
        {"/qb", 2, "/qb /~-"},
        // A restarted run already carries the switch: it moves to the end with the blanks before
        // it.
        {"/qb /~", 0, "/qb /~"},
        {" /qb /~-", 0, " /qb /~-"},
        {"/~ /qb", 0, " /qb /~"},
        {"  /~  /qb FOO=1", 0, "  /qb FOO=1 /~"},
        {"/qb /~ FOO=1", 0, "/qb FOO=1 /~"},
        {"/qb \t/~\t FOO=1", 0, "/qb FOO=1 /~"},
        {"/qb /~\t", 0, "/qb /~"},
        {" /~", 0, " /~"},
        {"mysetup.ini /qn /~", 0, "mysetup.ini /qn /~"},
        // Moved away, the switch would let a word name the setup data file or become a property.
        {"/~- mysetup.ini /qb", 0, "/~- mysetup.ini /qb"},
        {"/qb FOO /~ =1", 0, "/qb FOO /~ =1"},
        // After a last "NAME=", the switch would become its value.
        {"/qb FOO=", 1, "/qb /~ FOO="},
        {"FOO =", 2, "/~- FOO ="},
        {"/~ /qb FOO=", 0, "/~ /qb FOO="},
        // Text that is not the switch stays: inside quotes, values of properties and switches.
        {"/qb LOGDIR=\"C:\\a /~ b\"", 1, "/qb LOGDIR=\"C:\\a /~ b\" /~"},
        {"/qb \"/~\"", 1, "/qb \"/~\" /~"},
        {"/L*v \"C:\\log /~.txt\" /~", 0, "/L*v \"C:\\log /~.txt\" /~"},
        {"/qb FOO= /~", 1, "/qb FOO= /~ /~"},
        {"/qb FOO = /~ /~", 0, "/qb FOO = /~ /~"},
        {"/qb FOO =/~ /~", 0, "/qb FOO =/~ /~"},
        {"/qb FOO=/~", 2, "/qb FOO=/~ /~-"},
        {"/i /~ /~", 0, "/i /~ /~"},
        {"/L /~ /qb", 1, "/L /~ /qb /~"},
        {"/x /~- /~-", 0, "/x /~- /~-"},
        {"/qb foo /~", 0, "/qb foo /~"},
        {"/PromptRestart /qb /norestart", 1, "/PromptRestart /qb /norestart /~"},
    };
    for (const Case& c : cases) {
        const std::string restart = RestartArguments(c.arguments, c.copyMarker);
        EXPECT_EQ(c.expected, restart) << "[" << c.arguments << "] marker " << c.copyMarker;
        // The restarted run must hand on the same arguments at its own restart.
        EXPECT_EQ(restart, RestartArguments(restart, 0)) << "[" << c.arguments << "]";
    }
}

} // namespace
