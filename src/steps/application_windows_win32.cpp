// Asking a running program to close through a top-level window of its class.
#include "steps/application_windows.h"

#include "sys/timed_wait.h"
#include "sys/win32.h"

namespace {

// A program that no longer pumps messages would otherwise hold setup for good: a hung window is
// skipped at once, a busy one is given this long per message.
constexpr UINT kSendTimeoutMs = 30000;

void SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &result);
}

} // namespace

bool IsWindowClassPresent(const char* windowClass) {
    return windowClass && *windowClass && ::FindWindowA(windowClass, nullptr) != nullptr;
}

bool CloseApplicationWindow(const char* windowClass, int32_t timeout, int32_t message,
                            int32_t wParam, int32_t lParam) {
    const HWND window = ::FindWindowA(windowClass, nullptr);
    if (!window) return true;
    const WPARAM first = static_cast<WPARAM>(static_cast<uint32_t>(wParam));
    const LPARAM second = static_cast<LPARAM>(lParam);
    if (message != 0) {
        SendToWindow(window, static_cast<UINT>(message), first, second);
    } else if (wParam != 0) {
        SendToWindow(window, WM_COMMAND, first, second);
    } else {
        SendToWindow(window, WM_CLOSE, 0, 0);
        SendToWindow(window, WM_QUIT, 0, 0);
    }
    const DWORD pause = timeout < 10 ? 100 : static_cast<DWORD>(timeout / 10);
    for (int poll = 0; poll < 10; ++poll) {
        if (!::FindWindowA(windowClass, nullptr)) return true;
        PauseFor(pause);
    }
    return !::FindWindowA(windowClass, nullptr);
}
