// Stand-in for the installer program in a private Wine prefix: records each command line and exits
// with the code its plan gives, optionally after running the real installer with the same
// arguments.
//
// Files in C:\msiexec-stub\:
//   calls.txt   one line per call, appended: the raw command line
//   plan.txt    one line per call (the last line repeats): "<exit code> [real] [sleep MS]";
//               "real" runs real\msiexec.exe with the same arguments first, whose failure code
//               then wins; "sleep" waits MS milliseconds before exiting; "acl" first writes the
//               DACL of each temporary copy (KOBR* in the temporary folder) as SDDL to acl.txt;
//               no plan means exit 0
//   real\msiexec.exe  the prefix's own installer, set aside
#include "sys/win32.h"

#include <sddl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
const char kFolder[] = "C:\\msiexec-stub\\";

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return lines;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(line);
    }
    std::fclose(file);
    return lines;
}

// The command line without the program name, as the real installer should see it.
std::string ArgumentsOf(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p ? p + 1 : commandLine + std::strlen(commandLine);
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    return p;
}

void RecordTempCopySecurity() {
    char temp[MAX_PATH];
    const DWORD length = ::GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return;
    FILE* out = std::fopen((std::string(kFolder) + "acl.txt").c_str(), "ab");
    if (!out) return;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((std::string(temp) + "KOBR*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &data)) {
        const std::string path = std::string(temp) + data.cFileName;
        DWORD size = 0;
        ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
        std::vector<char> descriptor(size ? size : 1);
        char* text = nullptr;
        if (::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                               &size) &&
            ::ConvertSecurityDescriptorToStringSecurityDescriptorA(
                descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
            std::fprintf(out, "%s\r\n", text);
            ::LocalFree(text);
        }
    }
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    std::fclose(out);
}

DWORD RunRealInstaller(const std::string& arguments) {
    std::string command = std::string("\"") + kFolder + "real\\msiexec.exe\"" + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return ERROR_INSTALL_FAILURE;
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return code;
}
} // namespace

int main() {
    const char* commandLine = ::GetCommandLineA();
    const std::string callsPath = std::string(kFolder) + "calls.txt";
    const std::size_t callIndex = ReadLines(callsPath).size();
    if (FILE* calls = std::fopen(callsPath.c_str(), "ab")) {
        std::fprintf(calls, "%s\r\n", commandLine);
        std::fclose(calls);
    }

    const std::vector<std::string> plan = ReadLines(std::string(kFolder) + "plan.txt");
    if (plan.empty()) return 0;
    const std::string& step = plan[callIndex < plan.size() ? callIndex : plan.size() - 1];
    const DWORD code = std::strtoul(step.c_str(), nullptr, 10);
    if (step.find("acl") != std::string::npos) RecordTempCopySecurity();
    const std::size_t sleepAt = step.find("sleep ");
    if (sleepAt != std::string::npos)
        ::Sleep(std::strtoul(step.c_str() + sleepAt + 6, nullptr, 10));
    if (step.find("real") != std::string::npos) {
        // A real install that failed would make every later check misleading.
        const DWORD realCode = RunRealInstaller(ArgumentsOf(commandLine));
        if (realCode != 0) return static_cast<int>(realCode);
    }
    return static_cast<int>(code);
}
