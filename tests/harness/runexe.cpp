// runexe: starts a program with an exact raw command line and prints its full 32-bit exit code
// (Linux only sees the low 8 bits of a Windows exit code).
//
//   runexe [--timeout MS] [--cwd DIR] RAW-COMMAND-LINE
//   runexe [--timeout MS] [--cwd DIR] --file PATH     (the command line is the file's bytes, ANSI)
//   --app PATH names the program apart from the command line (for command lines whose program
//   name does not parse, such as one with an unclosed quote).
//
// Prints "exit=0xXXXXXXXX" and exits 0; exits 124 on time-out (after killing the child) and
// 125 when the program could not be started.
#include <cstdio>
#include <cwchar>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    DWORD timeout = 120000;
    const wchar_t* cwd = nullptr;
    const wchar_t* app = nullptr;
    std::wstring cmd;
    bool haveCmd = false;
    for (int i = 1; i < argc; ++i) {
        if (!wcscmp(argv[i], L"--timeout") && i + 1 < argc) {
            timeout = wcstoul(argv[++i], nullptr, 10);
        } else if (!wcscmp(argv[i], L"--app") && i + 1 < argc) {
            app = argv[++i];
        } else if (!wcscmp(argv[i], L"--cwd") && i + 1 < argc) {
            cwd = argv[++i];
        } else if (!wcscmp(argv[i], L"--file") && i + 1 < argc) {
            FILE* f = _wfopen(argv[++i], L"rb");
            if (!f) {
                fwprintf(stderr, L"runexe: cannot read %ls\n", argv[i]);
                return 125;
            }
            std::string bytes;
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, f)) > 0)
                bytes.append(buf, n);
            fclose(f);
            int len = MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
            cmd.assign(len, L'\0');
            MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), &cmd[0], len);
            haveCmd = true;
        } else {
            cmd = argv[i];
            haveCmd = true;
        }
    }
    if (!haveCmd) {
        fputs("usage: runexe [--timeout MS] [--cwd DIR] (RAW-COMMAND-LINE | --file PATH)\n",
              stderr);
        return 125;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring mutableCmd = cmd;
    if (!CreateProcessW(app, &mutableCmd[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi)) {
        fprintf(stderr, "runexe: CreateProcess failed, error %lu\n", GetLastError());
        return 125;
    }
    CloseHandle(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, timeout) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 0xDEAD);
        CloseHandle(pi.hProcess);
        fputs("runexe: time-out, child killed\n", stderr);
        return 124;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    printf("exit=0x%08lX\n", code);
    fflush(stdout);
    return 0;
}
