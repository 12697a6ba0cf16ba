// Runs the real reboot thread (ExitWindowsEx with EWX_REBOOT) and reports what reached this
// process: only ever started in a private copy of the Wine prefix.
#include <cstdio>

#include "app/reboot_control.h"

namespace {
LRESULT CALLBACK ProbeWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        std::printf("WM_QUERYENDSESSION\n");
        std::fflush(stdout);
        return TRUE;
    }
    if (message == WM_ENDSESSION) {
        std::printf("WM_ENDSESSION %s\n", wParam ? "ending" : "cancelled");
        std::fflush(stdout);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int main() {
    // A top-level window, as the launcher's dialog is, to see the session end arrive.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindow;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RebootProbe";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("RebootProbe", "Reboot probe", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    std::printf("window %s\n", window ? "created" : "missing");
    std::fflush(stdout);

    StartRebootThread();
    HANDLE thread = GetRebootThreadHandle();
    const DWORD wait = thread ? ::WaitForSingleObject(thread, 10000) : WAIT_FAILED;
    DWORD code = 0xFFFFFFFF;
    if (wait == WAIT_OBJECT_0) ::GetExitCodeThread(thread, &code);
    std::printf("reboot thread ended: %s, exit code %lu\n", wait == WAIT_OBJECT_0 ? "yes" : "no",
                static_cast<unsigned long>(code));
    std::fflush(stdout);

    // Give the system time to act on the request while messages are pumped.
    const DWORD until = ::GetTickCount() + 3000;
    while (static_cast<LONG>(until - ::GetTickCount()) > 0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(20);
    }
    std::printf("probe still running after 3 s\n");
    std::fflush(stdout);
    return 0;
}
