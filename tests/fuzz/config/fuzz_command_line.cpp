// libFuzzer target: SetupCommandLine::Parse on arbitrary argument text, with a real SETUP.INI.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/argument_cursor.h"
#include "config/setup_command_line.h"
#include "sys/setup_result.h"
#include "text/next_token.h"

namespace {

std::string& LauncherFolder() {
    static std::string folder;
    return folder;
}

void RemoveLauncherFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(LauncherFolder(), ignored);
}

void WriteFile(const std::string& path, const char* text) { std::ofstream(path, std::ios::binary) << text; }

// The tokenizer must split as NextToken does; NextToken's copying makes this only cheap for
// short inputs.
void CheckTokenizerAgreement(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    std::string source = trimmed;  // NextToken consumes its copy; the cursor walks the other
    ArgumentCursor cursor(trimmed);
    std::string expected;
    std::string actual;
    while (!source.empty()) {
        const bool expectedSplit = NextToken(source, expected, " ", false);
        const bool actualSplit = cursor.Next(actual);
        if (expectedSplit != actualSplit || (expectedSplit && expected != actual)) std::abort();
        if (!expectedSplit) return;
    }
    if (!cursor.AtEnd()) std::abort();
}

bool IsReset(const SetupCommandLine& line) {
    return !line.GetSetupData().IsLoaded() && line.GetSetupFileName().empty() && line.GetLauncherFolder().empty() &&
           line.GetInstallMode() == 0 && line.GetUILevel() == 0 && line.GetTempCopyMarker() == 0 &&
           line.GetProperties().empty() && line.GetPassThrough().empty();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-config-XXXXXX").string();
    if (!mkdtemp(&pattern[0])) std::abort();
    LauncherFolder() = pattern + "/";
    WriteFile(LauncherFolder() + "SETUP.INI",
              "[ProductInformation]\nPackageName=product.msi\nMsiVersion=2.0\n[ProductFeatures]\nMain\n"
              "[PreviousVersionUninstall]\n{OLD}\n");
    WriteFile(LauncherFolder() + "mysetup.ini", "[ProductInformation]\nPackageName=other.msi\n[ProductFeatures]\n");
    WriteFile(LauncherFolder() + "broken.ini", "[ProductInformation\n");
    std::atexit(RemoveLauncherFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string arguments(reinterpret_cast<const char*>(data), size);
    // A first argument names a file beside the launcher; ".." could reach devices that never end.
    if (arguments.find("..") != std::string::npos) return 0;
    if (size < 4096 && arguments.find('\0') == std::string::npos) CheckTokenizerAgreement(arguments);

    SetupCommandLine line;
    try {
        if (line.Parse(LauncherFolder(), arguments)) {
            std::string rendered;
            line.AppendInstallModeArgs(rendered);
            line.AppendUILevelArg(rendered);
            line.AppendLogArgs(rendered);
            line.AppendMifArgs(rendered);
            line.AppendPassThroughArgs(rendered);
            line.AppendProperties(rendered);
            line.AppendTempCopyMarker(rendered);
            if (line.GetSetupData().GetPackageName().empty()) std::abort();
            if (line.GetInstallMode() < 0 || line.GetInstallMode() > 7 || line.GetUILevel() < 0 ||
                line.GetUILevel() > 7) {
                std::abort();
            }
        } else if (!IsReset(line)) {
            std::abort();  // a refused line must never reach the installer half-parsed
        }
    } catch (const SetupError&) {
        // Internal errors and load errors end setup: an expected outcome.
    }
    return 0;
}
