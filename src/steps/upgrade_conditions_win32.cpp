// Whether setup may go ahead as an upgrade, whether the product is already on the machine, and
// closing running copies of it.
#include <cstring>

#include "config/setup_command_line.h"
#include "steps/application_windows.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "sys/next_token.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/uninstall_registry.h"
#include "sys/unique_handle.h"
#include "sys/version_number.h"
#include "sys/wow64.h"
#include "text/internal_error.h"
#include "text/message_suppression.h"

namespace {

constexpr unsigned kProductKeyLocation = 2;
constexpr unsigned kShutdownLocation = 22;
constexpr unsigned kUpgradeLocation = 25;

// The next comma-separated field, quotes removed; a malformed one is internal error (location,
// 0x80040007).
std::string NextField(std::string& rest, unsigned location) {
    std::string field;
    if (!NextToken(rest, field, nullptr, true))
        ReportInternalError(location, InternalErrorCode::Unparsable);
    return field;
}

struct RegistryRoot {
    const char* shortName;
    const char* longName;
    HKEY root;
};

const RegistryRoot kRegistryRoots[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", "HKEY_USERS", HKEY_USERS},
};

// Exact case: the names are written as the registry editor shows them.
HKEY FindRegistryRoot(const std::string& name) {
    for (const RegistryRoot& entry : kRegistryRoots) {
        if (name == entry.shortName || name == entry.longName) return entry.root;
    }
    return nullptr;
}

} // namespace

void SetupSteps::CheckUpgradeConditions() {
    WriteLog("Checking upgrade conditions");
    SetupData& data = RequireCommandLine(kUpgradeLocation).GetSetupData();
    const std::vector<std::string>& conditions = data.GetUpgradeConditions();
    if (conditions.empty()) return;

    bool met = false;
    for (const std::string& condition : conditions) {
        std::string rest = condition;
        const std::string key = NextField(rest, kUpgradeLocation);
        std::string displayName, removeCommand;
        if (!FindUninstallEntry(key.c_str(), displayName, removeCommand)) continue;
        const std::string ranges = NextField(rest, kUpgradeLocation);
        VersionNumber installed;
        ReadInstalledVersion(key.c_str(), &installed); // an unreadable version stays 0.0.0.0
        if (!VersionInRanges(installed, ranges.c_str())) continue;
        const std::string action = NextField(rest, kUpgradeLocation);
        if (action.empty() || EqualsIgnoringCase(action, "LEAVE")) {
            met = true;
        } else if (EqualsIgnoringCase(action, "REMOVE")) {
            // Removed later with the other previous versions.
            data.GetPreviousVersionUninstall().push_back(key);
            met = true;
        } else {
            ReportInternalError(kUpgradeLocation, InternalErrorCode::InvalidState);
        }
    }
    if (met) return;
    ShowStepError(GetOwnerWindow(), kNoUpgradableVersionText, kErrorCaption);
    RaiseSetupError(SetupResult::InstallFailure);
}

bool SetupSteps::IsProductRegistryKeyPresent() {
    WriteLog("Checking for the product's registry key");
    const std::string& checkKey =
        RequireCommandLine(kProductKeyLocation).GetSetupData().GetCheckRegKey();
    if (checkKey.empty()) return true;

    std::string rest = checkKey;
    const std::string rootName = NextField(rest, kProductKeyLocation);
    const std::string subkey = NextField(rest, kProductKeyLocation);
    const std::string valueName = NextField(rest, kProductKeyLocation);
    const HKEY root = FindRegistryRoot(rootName);
    if (!root) ReportInternalError(kProductKeyLocation, InternalErrorCode::InvalidState);

    // A product of the other width keeps its key in the other view of 64-bit Windows.
    for (const RegistryView view : kRegistryViews) {
        UniqueRegKey key;
        if (!OpenKeyForReading(root, subkey.c_str(), view, key)) continue;
        // Only the value's presence counts; its data is not read.
        if (valueName.empty() || ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr,
                                                    nullptr, nullptr) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

void SetupSteps::ShutdownApplications() {
    WriteLog("Shutting down applications");
    const SetupCommandLine& commandLine = RequireCommandLine(kShutdownLocation);
    for (const std::string& entry : commandLine.GetSetupData().GetShutdownApplication()) {
        if (ShutdownApplicationEntry(entry)) continue;
        // Nobody to ask in a silent setup.
        if (IsSilentUILevel(commandLine.GetUILevel())) RaiseSetupError(SetupResult::InstallFailure);
        do {
            if (!AskStepQuestion(GetOwnerWindow(), kApplicationRunningText, kWarningCaption))
                RaiseSetupError(SetupResult::UserExit);
        } while (!ShutdownApplicationEntry(entry));
    }
}

bool SetupSteps::ShutdownApplicationEntry(const std::string& entry) {
    if (entry.empty()) return false;
    std::string rest = entry;
    std::string windowClass;
    if (!NextToken(rest, windowClass, nullptr, true) || windowClass.empty()) return false;
    // TIMEOUT, MESSAGE, WPARAM, LPARAM: the first missing or unreadable one ends the reading, and
    // it and the rest stay 0.
    int32_t numbers[4] = {};
    for (int32_t& number : numbers) {
        std::string field;
        int32_t value = 0;
        if (!NextToken(rest, field, nullptr, true) || field.empty() ||
            !ParseInteger(field.c_str(), &value))
            break;
        number = value;
    }
    if (!IsWindowClassPresent(windowClass.c_str())) return true;
    return CloseApplicationWindow(windowClass.c_str(), numbers[0], numbers[1], numbers[2],
                                  numbers[3]);
}
