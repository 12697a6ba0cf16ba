// The internal-error box: its text and caption, its suppression by the quiet switches, and the
// raised code reaching the process exit code whole.
#include <gtest/gtest.h>

#include "../child_process.h"
#include "app/setup_error.h"
#include "text/internal_error.h"

namespace {

struct BoxSeen {
    bool shown = false;
    std::string caption, text;
};

struct FindBox {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindBox*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    if (pid == find->pid && std::string(cls) == "#32770" && ::IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// Runs the child with the given arguments, answers a box if one comes, returns the exit code.
DWORD RunReportingChild(const std::string& arguments, BoxSeen& box) {
    ChildProcess child = StartTestChild("InternalErrorChild.DISABLED_Report", arguments, "report");
    EXPECT_TRUE(child.process.valid());
    for (int i = 0; i < 1500; ++i) {
        if (::WaitForSingleObject(child.process.get(), 20) == WAIT_OBJECT_0) break;
        FindBox find = {child.id, nullptr};
        ::EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&find));
        if (!find.found) continue;
        char text[512] = {};
        ::GetWindowTextA(find.found, text, sizeof text);
        box.caption = text;
        ::GetDlgItemTextA(find.found, 0xFFFF, text, sizeof text);
        box.text = text;
        box.shown = true;
        ::PostMessageA(find.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return WaitForExitCode(child.process.get());
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
    for (const char* arguments : {"/qn", "/Qn", "/QN", "/qN", "/qb-", "/Qb-", "/QB-", "/qB-", "/qn+", "/QN+"}) {
        SCOPED_TRACE(arguments);
        BoxSeen box;
        EXPECT_EQ(0x8004FFFFu, RunReportingChild(arguments, box));
        EXPECT_FALSE(box.shown);
    }
}

}  // namespace
