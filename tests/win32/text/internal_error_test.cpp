// The internal-error box: its text and caption, its suppression by the quiet switches, and the
// raised code reaching the process exit code whole.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/message_box_answerer.h"
#include "sys/setup_result.h"
#include "text/internal_error.h"

namespace {

struct BoxSeen {
    bool shown = false;
    std::string caption, text;
};

// Runs the child with the given arguments, answers a box if one comes, returns the exit code.
DWORD RunReportingChild(const std::string& arguments, BoxSeen& box) {
    ChildProcess child = StartTestChild("InternalErrorChild.DISABLED_Report", arguments, "report");
    EXPECT_TRUE(child.process.valid());
    MessageBoxAnswerer answerer = MessageBoxAnswerer::OfProcess(child.id);
    const DWORD code = WaitForExitCode(child.process.get());
    const std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
    if (!boxes.empty()) {
        box.shown = true;
        box.caption = boxes.back().caption;
        box.text = boxes.back().text;
    }
    return code;
}

TEST(InternalErrorChild, DISABLED_Report) {
    if (ChildRole() != "report") GTEST_SKIP();
    try {
        ReportInternalError(0x123, 0x8004FFFF);
    } catch (const SetupError& error) {
        ::ExitProcess(error.code);
    }
    ::ExitProcess(1);
}

TEST(InternalError, BoxShowsCodeAndLocation) {
    for (const char* arguments : {"", "/qb", "/Qb", "/QB+", "/q"}) {
        SCOPED_TRACE(arguments);
        BoxSeen box;
        EXPECT_EQ(0x8004FFFFu, RunReportingChild(arguments, box));
        EXPECT_TRUE(box.shown);
        EXPECT_EQ("Internal Error", box.caption);
        EXPECT_EQ("Error Code: 0123.8004FFFF", box.text);
    }
}

TEST(InternalError, QuietSwitchesSuppressTheBoxButNotTheCode) {
    for (const char* arguments :
         {"/qn", "/Qn", "/QN", "/qN", "/qb-", "/Qb-", "/QB-", "/qB-", "/qn+", "/QN+"}) {
        SCOPED_TRACE(arguments);
        BoxSeen box;
        EXPECT_EQ(0x8004FFFFu, RunReportingChild(arguments, box));
        EXPECT_FALSE(box.shown);
    }
}

} // namespace
