// The progress dialog's Close entry, checked in-process (menus are per process under Wine), and the
// application manifest of the built Setup.EXE, read back through the system's own manifest parser.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600 // activation context queries, for the test only
#include <gtest/gtest.h>

#include <string>

#include "app/progress_dialog.h"

TEST(ProgressDialog, CloseEntryIsGreyed) {
    HWND window = ::CreateWindowExA(0, "STATIC", "Setup", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    HMENU menu = ::GetSystemMenu(window, FALSE);
    ASSERT_NE(nullptr, menu);
    EXPECT_FALSE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    GreyCloseCommand(window);
    EXPECT_TRUE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyWindow(window);
}

namespace {
const std::string kSetupExe = std::string("Z:") + SETUP_EXE_PATH;

std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name) {
    wchar_t value[128] = L"";
    SIZE_T written = 0;
    if (!::QueryActCtxSettingsW(0, context, space, name, value, 128, &written)) return L"(none)";
    return value;
}
} // namespace

TEST(Manifest, ResourceOneOfSetupExe) {
    UniqueModule image(::LoadLibraryExA(kSetupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image) << kSetupExe;
    HRSRC found = ::FindResourceA(image.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(image.get(), found)));
    const std::string text(data, ::SizeofResource(image.get(), found));
    // Vista, 7, 8, 8.1, 10 and 11: without the last two the system reports 6.2 to Setup.EXE.
    for (const char* os :
         {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
          "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
          "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(std::string::npos, text.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"))
            << os;
    EXPECT_NE(std::string::npos,
              text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));

    // What the system makes of it: the same parser that decides elevation and DPI when it starts.
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = kSetupExe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = ::CreateActCtxA(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "manifest refused, error " << ::GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T size = 0;
    EXPECT_TRUE(::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                               sizeof level, &size));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);
    EXPECT_EQ(L"true/pm", Setting(context, nullptr, L"dpiAware"));
    EXPECT_EQ(L"PerMonitorV2, PerMonitor",
              Setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                      L"dpiAwareness"));
    ::ReleaseActCtx(context);
}
