// The progress dialog's Close entry, checked in-process (menus are per process under Wine).
#include <gtest/gtest.h>

#include "app/progress_dialog.h"

TEST(ProgressDialog, CloseEntryIsGreyed) {
    HWND window = ::CreateWindowExA(0, "STATIC", "Setup", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    HMENU menu = ::GetSystemMenu(window, FALSE);
    ASSERT_NE(nullptr, menu);
    EXPECT_FALSE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    GreyCloseCommand(window);
    EXPECT_TRUE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyWindow(window);
}
