// Restart shortcut arguments: the temporary-copy switch appears once, whatever the run started
// with.
#include <gtest/gtest.h>

#include "app/restart_arguments.h"

namespace {
struct Case {
    const char* arguments;
    int marker;
    const char* expected;
};

TEST(BuildRestartArguments, CarriesTheMarkerSwitchExactlyOnce) {
    const Case cases[] = {
        {"", 0, ""},
        {"", 1, " /~"},
        {"", 2, " /~-"},
        {" /qb", 1, " /qb /~"},
        {"/qb", 2, "/qb /~-"},
        // A restarted run already carries the switch.
        {"/qb /~", 1, "/qb /~"},
        {" /qb /~-", 2, " /qb /~-"},
        {"/~ /qb", 1, " /qb /~"},
        {"  /~  /qb FOO=1", 1, "  /qb FOO=1 /~"},
        {"/qb /~ FOO=1", 1, "/qb FOO=1 /~"},
        {"/qb \t/~\t FOO=1", 1, "/qb FOO=1 /~"},
        {"/~ /~-", 0, ""},
        {" /~", 1, " /~"},
        {"mysetup.ini /qn /~", 1, "mysetup.ini /qn /~"},
        {"/qb /~", 0, "/qb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildRestartArguments(c.arguments, c.marker), c.expected)
            << "[" << c.arguments << "] marker " << c.marker;
    }
}

TEST(BuildRestartArguments, LeavesTildeTextThatIsNotASwitchAlone) {
    const Case cases[] = {
        // Inside double quotes.
        {"/qb LOGDIR=\"C:\\a /~ b\"", 1, "/qb LOGDIR=\"C:\\a /~ b\" /~"},
        {"\"/~\" /qb", 1, "\"/~\" /qb /~"},
        {"/L*v \"C:\\log /~.txt\" /~", 1, "/L*v \"C:\\log /~.txt\" /~"},
        // Values of properties, including the forms that take the next token.
        {"/qb FOO= /~", 1, "/qb FOO= /~ /~"},
        {"/qb FOO = /~ /~", 1, "/qb FOO = /~ /~"},
        {"/qb FOO =/~ /~", 1, "/qb FOO =/~ /~"},
        {"/qb FOO=/~", 1, "/qb FOO=/~ /~"},
        // Arguments of switches.
        {"/i /~ /~", 1, "/i /~ /~"},
        {"/L /~ /qb", 1, "/L /~ /qb /~"},
        {"/x /~- /~-", 2, "/x /~- /~-"},
        // Other switches that only start with the tilde are not the marker.
        {"/~x", 1, "/~x /~"},
        // A bare word followed by the switch: the switch is a switch.
        {"/qb foo /~", 1, "/qb foo /~"},
        // Unbalanced quote: the rest is one token.
        {"/qb \"a /~", 1, "/qb \"a /~ /~"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildRestartArguments(c.arguments, c.marker), c.expected)
            << "[" << c.arguments << "] marker " << c.marker;
    }
}

TEST(BuildRestartArguments, RebuildingFromItsOwnResultIsStable) {
    for (const char* start : {"", "/qb", "/qb /~", "x.ini REBOOT=R /~- /qn"}) {
        for (int marker = 0; marker <= 2; ++marker) {
            const std::string once = BuildRestartArguments(start, marker);
            EXPECT_EQ(BuildRestartArguments(once, marker), once) << start << " marker " << marker;
        }
    }
}
} // namespace
