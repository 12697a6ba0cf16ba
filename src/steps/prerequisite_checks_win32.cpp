// The first checks of the setup sequence: a pending installer CD prompt, the platform, the
// installer engine's version and the user's right to install.
#include <cstring>

#include "config/setup_command_line.h"
#include "steps/platform_requirement.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "steps/string_ids.h"
#include "sys/fixed_buffer.h"
#include "sys/last_error.h"
#include "sys/next_token.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/unique_handle.h"
#include "text/internal_error.h"

namespace {

constexpr unsigned kEngineVersionLocation = 9;

// True on an NT server or domain controller. A missing key or value, or one too long to be either
// name, counts as a workstation.
bool IsServerProductType() {
    UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                        KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    char productType[kMaxPath] = "";
    // One byte kept back: registry strings need not end with a zero.
    DWORD size = sizeof productType - 1;
    if (::RegQueryValueExA(key.get(), "ProductType", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(productType), &size) != ERROR_SUCCESS)
        return false;
    productType[size < sizeof productType ? size : sizeof productType - 1] = '\0';
    return std::strcmp(productType, "ServerNT") == 0 || std::strcmp(productType, "LanmanNT") == 0;
}

// The running system's version; the basic record (without service-pack numbers) where the
// extended one is refused.
PlatformVersion QuerySystemVersion(DWORD& platformId) {
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    PlatformVersion version;
    if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        version.servicePackMajor = info.wServicePackMajor;
        version.servicePackMinor = info.wServicePackMinor;
    } else {
        info = {};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            ReportInternalError(kPlatformCheckLocation,
                                InternalErrorCode::FromSystem(GetLastSystemError()));
        version.hasServicePackNumbers = false;
        version.servicePackText.assign(info.szCSDVersion,
                                       strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
    }
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    platformId = info.dwPlatformId;
    return version;
}

} // namespace

bool SetupSteps::IsCdPromptMutexSet() {
    WriteLog("Checking if __MsiPromptForCD mutex is set");
    char name[kMaxPath] = "";
    // A program built without the launcher's resources still knows the name.
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_CD_PROMPT_MUTEX, name, sizeof name) <= 0)
        CopyBounded(name, sizeof name, "__MsiPromptForCD");
    // Opened only: creating it would make the installer believe a prompt is pending.
    UniqueKernelHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, name));
    return mutex.valid();
}

bool SetupSteps::CheckPlatform() {
    WriteLog("Checking if platform qualifies for installation");
    const SetupData& data = RequireCommandLine(kPlatformCheckLocation).GetSetupData();

    DWORD platformId = 0;
    const PlatformVersion version = QuerySystemVersion(platformId);
    SetPlatformId(static_cast<PlatformId>(platformId));

    bool qualifies = false;
    bool serverRefused = false;
    switch (platformId) {
    case VER_PLATFORM_WIN32s:
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        qualifies = PlatformListAccepts(data.GetPlatforms(), "9X", version);
        break;
    case VER_PLATFORM_WIN32_NT: {
        const std::string& allowServer = data.GetAllowNTServer();
        if (EqualsIgnoringCase(allowServer, "FALSE") || EqualsIgnoringCase(allowServer, "NO") ||
            EqualsIgnoringCase(allowServer, "0")) {
            WriteLogF("Installation allowed to NT Server = %s", allowServer.c_str());
            serverRefused = IsServerProductType();
        }
        if (!serverRefused) qualifies = PlatformListAccepts(data.GetPlatforms(), "NT", version);
        break;
    }
    default:
        ReportInternalError(kPlatformCheckLocation, InternalErrorCode::InvalidState);
    }
    if (qualifies) return true;
    // Shown at every user-interface level: a silent setup must not end without a word.
    ShowStepError(GetOwnerWindow(), serverRefused ? kNoServerText : kUnsupportedSystemText,
                  kErrorCaption);
    return false;
}

bool SetupSteps::IsInstallerVersionSufficient() {
    WriteLog("Checking if the Windows Installer is the correct version");
    const SetupData& data = RequireCommandLine(kEngineVersionLocation).GetSetupData();

    DllVersionRecord installed = {};
    if (!GetMsiLibrary().GetVersion(&installed)) return false;

    const std::string& required = data.GetMsiVersion();
    if (required.empty()) return true;
    // major.minor.build; a missing part reads as 0 and further parts are ignored.
    uint32_t parts[3] = {};
    std::string rest = required;
    std::string part;
    for (uint32_t& value : parts) {
        int32_t number = 0;
        if (!NextToken(rest, part, ".", true) || !ParseInteger(part.c_str(), &number))
            ReportInternalError(kEngineVersionLocation, InternalErrorCode::Unparsable);
        value = static_cast<uint32_t>(number);
    }
    if (installed.major != parts[0]) return installed.major > parts[0];
    if (installed.minor != parts[1]) return installed.minor > parts[1];
    return installed.buildNumber >= parts[2];
}

bool SetupSteps::HasInstallPrivileges() {
    WriteLog("Checking if the user has sufficient priviledges to install");
    return true;
}
