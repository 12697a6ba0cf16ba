// winwatch: waits for a visible top-level window, prints what it shows and can act on it.
//
//   winwatch [--class NAME] [--caption TEXT] [--caption-prefix TEXT] [--timeout MS] ACTION...
//
// Actions, run in order on the window found:
//   --dump           print "caption: ...", then "control <id> <class>: <text>" per child window
//   --sys-close      send WM_SYSCOMMAND SC_CLOSE (the close box, Alt+F4), wait 500 ms, print
//                    "after-sys-close: alive" or "after-sys-close: gone"
//   --send-close     send WM_CLOSE, wait 500 ms, print "after-close: alive" or "after-close: gone"
//   --end-session    send WM_QUERYENDSESSION then WM_ENDSESSION(TRUE), print the query's answer
//   --cancel-session send WM_QUERYENDSESSION then WM_ENDSESSION(FALSE) (another program refused
//                    the end), print the query's answer
//   --press ID       press a button: yes, no, ok, cancel or a numeric control id
//   --wait-gone MS   wait until the window is destroyed; print "gone" or "still-there"
//   --rect           print "rect: LEFT TOP WIDTH HEIGHT" of the window in screen coordinates
//   --hidden-ok      also accept a window that exists but is not visible (use before the others)
// Exits 0 when a window was found and every action ran, 1 on time-out waiting for the window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

namespace {
std::string g_class, g_caption, g_prefix;
bool g_hiddenOk = false;
HWND g_found = nullptr;

std::string WindowText(HWND w) {
    char buf[4096] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

BOOL CALLBACK FindProc(HWND w, LPARAM) {
    if (!g_hiddenOk && !IsWindowVisible(w)) return TRUE;
    char cls[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (!g_class.empty() && g_class != cls) return TRUE;
    std::string text = WindowText(w);
    if (!g_caption.empty() && text != g_caption) return TRUE;
    if (!g_prefix.empty() && text.compare(0, g_prefix.size(), g_prefix) != 0) return TRUE;
    g_found = w;
    return FALSE;
}

BOOL CALLBACK DumpChild(HWND w, LPARAM) {
    char cls[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    printf("control %d %s: %s\n", GetDlgCtrlID(w), cls, WindowText(w).c_str());
    return TRUE;
}

int ButtonId(const char* name) {
    if (!_stricmp(name, "yes")) return IDYES;
    if (!_stricmp(name, "no")) return IDNO;
    if (!_stricmp(name, "ok")) return IDOK;
    if (!_stricmp(name, "cancel")) return IDCANCEL;
    return atoi(name);
}
} // namespace

int main(int argc, char** argv) {
    DWORD timeout = 20000;
    int firstAction = argc;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--class") && i + 1 < argc)
            g_class = argv[++i];
        else if (!strcmp(argv[i], "--caption") && i + 1 < argc)
            g_caption = argv[++i];
        else if (!strcmp(argv[i], "--caption-prefix") && i + 1 < argc)
            g_prefix = argv[++i];
        else if (!strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeout = strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--hidden-ok"))
            g_hiddenOk = true;
        else {
            firstAction = i;
            break;
        }
    }
    DWORD start = GetTickCount();
    while (!g_found) {
        EnumWindows(FindProc, 0);
        if (g_found) break;
        if (GetTickCount() - start > timeout) {
            puts("no-window");
            return 1;
        }
        Sleep(20);
    }
    for (int i = firstAction; i < argc; ++i) {
        const char* a = argv[i];
        if (!strcmp(a, "--dump")) {
            printf("caption: %s\n", WindowText(g_found).c_str());
            EnumChildWindows(g_found, DumpChild, 0);
        } else if (!strcmp(a, "--sys-close")) {
            // Menus are per process under Wine: the Close entry's state is checked in-process by
            // the dialog's own test; from here, what counts is that the command changes nothing.
            DWORD_PTR r = 0;
            SendMessageTimeoutA(g_found, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 5000, &r);
            Sleep(500);
            printf("after-sys-close: %s\n", IsWindow(g_found) ? "alive" : "gone");
        } else if (!strcmp(a, "--send-close")) {
            DWORD_PTR r = 0;
            SendMessageTimeoutA(g_found, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
            Sleep(500);
            printf("after-close: %s\n", IsWindow(g_found) ? "alive" : "gone");
        } else if (!strcmp(a, "--end-session")) {
            DWORD_PTR r = 0;
            SendMessageTimeoutA(g_found, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
            printf("query-end-session: %lu\n", (unsigned long)r);
            PostMessageA(g_found, WM_ENDSESSION, TRUE, 0);
        } else if (!strcmp(a, "--cancel-session")) {
            DWORD_PTR r = 0;
            SendMessageTimeoutA(g_found, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
            printf("query-end-session: %lu\n", (unsigned long)r);
            SendMessageTimeoutA(g_found, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &r);
        } else if (!strcmp(a, "--press") && i + 1 < argc) {
            int id = ButtonId(argv[++i]);
            HWND button = GetDlgItem(g_found, id);
            PostMessageA(g_found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
            printf("pressed: %d\n", id);
        } else if (!strcmp(a, "--rect")) {
            RECT r = {};
            GetWindowRect(g_found, &r);
            printf("rect: %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        } else if (!strcmp(a, "--wait-gone") && i + 1 < argc) {
            DWORD limit = strtoul(argv[++i], nullptr, 10), t0 = GetTickCount();
            while (IsWindow(g_found) && GetTickCount() - t0 < limit)
                Sleep(20);
            puts(IsWindow(g_found) ? "still-there" : "gone");
        } else {
            fprintf(stderr, "winwatch: unknown action %s\n", a);
            return 2;
        }
        fflush(stdout);
    }
    return 0;
}
