// libFuzzer target: SetupCommandLine::Parse on arbitrary argument text, with a real SETUP.INI,
// and the restart arguments built from what it parsed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/restart_arguments.h"
#include "config/setup_command_line.h"
#include "sys/setup_result.h"

namespace {

std::string& LauncherFolder() {
    static std::string folder;
    return folder;
}

void RemoveLauncherFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(LauncherFolder(), ignored);
}

void WriteFile(const std::string& path, const char* text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every setting the installer command lines and the sequence read, in one text.
std::string Rendered(const SetupCommandLine& line) {
    std::string rendered = line.GetSetupFileName() + "|";
    line.AppendInstallModeArgs(rendered);
    line.AppendUILevelArg(rendered);
    line.AppendLogArgs(rendered);
    line.AppendMifArgs(rendered);
    line.AppendPassThroughArgs(rendered);
    line.AppendProperties(rendered);
    line.AppendTempCopyMarker(rendered);
    return rendered + (line.IsRebootSuppressed() ? "|held back" : "");
}

// A restart must resume with the same meaning, and so must the restart after it.
void CheckRestartArguments(const std::string& arguments, const SetupCommandLine& line, int rounds) {
    const std::string restart = BuildRestartArguments(arguments, line);
    SetupCommandLine restarted;
    try {
        if (!restarted.Parse(LauncherFolder(), restart)) std::abort();
    } catch (const SetupError&) {
        std::abort();
    }
    if (Rendered(restarted) != Rendered(line)) std::abort();
    if (rounds > 1) CheckRestartArguments(restart, restarted, rounds - 1);
}

bool IsReset(const SetupCommandLine& line) {
    return !line.GetSetupData().IsLoaded() && line.GetSetupFileName().empty() &&
           line.GetLauncherFolder().empty() && line.GetInstallMode() == 0 &&
           line.GetUILevel() == 0 && line.GetTempCopyMarker() == 0 &&
           line.GetProperties().empty() && line.GetPassThrough().empty();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-config-XXXXXX").string();
    if (!mkdtemp(&pattern[0])) std::abort();
    LauncherFolder() = pattern + "/";
    WriteFile(
        LauncherFolder() + "SETUP.INI",
        "[ProductInformation]\nPackageName=product.msi\nMsiVersion=2.0\n[ProductFeatures]\nMain\n"
        "[PreviousVersionUninstall]\n{OLD}\n");
    WriteFile(LauncherFolder() + "mysetup.ini",
              "[ProductInformation]\nPackageName=other.msi\n[ProductFeatures]\n");
    WriteFile(LauncherFolder() + "broken.ini", "[ProductInformation\n");
    std::atexit(RemoveLauncherFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string arguments(reinterpret_cast<const char*>(data), size);
    // A first argument names a file beside the launcher; ".." could reach devices that never end.
    if (arguments.find("..") != std::string::npos) return 0;

    SetupCommandLine line;
    try {
        if (line.Parse(LauncherFolder(), arguments)) {
            CheckRestartArguments(arguments, line, 2);
            if (line.GetSetupData().GetPackageName().empty()) std::abort();
            if (line.GetInstallMode() < 0 || line.GetInstallMode() > 7 || line.GetUILevel() < 0 ||
                line.GetUILevel() > 7) {
                std::abort();
            }
        } else if (!IsReset(line)) {
            std::abort(); // a refused line must never reach the installer half-parsed
        }
    } catch (const SetupError&) {
        // Internal errors and load errors end setup: an expected outcome.
    }
    return 0;
}
