// The installer library binding: loading MSI.DLL from the system folder and the package and
// product queries, each entry point looked up by name at the moment of the call.
#include "msi/msi_library.h"

#include <cstring>

#include "msi/installer_library_load.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"

namespace {

using MsiHandle = MsiDatabaseHandle;

using MsiOpenDatabaseAFunction = UINT(WINAPI*)(LPCSTR, LPCSTR, MsiHandle*);
using MsiOpenDatabaseWFunction = UINT(WINAPI*)(LPCWSTR, LPCWSTR, MsiHandle*);
using MsiCloseHandleFunction = UINT(WINAPI*)(MsiHandle);
using MsiDatabaseOpenViewAFunction = UINT(WINAPI*)(MsiHandle, LPCSTR, MsiHandle*);
using MsiViewExecuteFunction = UINT(WINAPI*)(MsiHandle, MsiHandle);
using MsiViewFetchFunction = UINT(WINAPI*)(MsiHandle, MsiHandle*);
using MsiRecordGetStringAFunction = UINT(WINAPI*)(MsiHandle, UINT, LPSTR, DWORD*);
using MsiQueryProductStateAFunction = INT(WINAPI*)(LPCSTR);
using MsiGetProductInfoAFunction = UINT(WINAPI*)(LPCSTR, LPCSTR, LPSTR, DWORD*);
using MsiGetSummaryInformationAFunction = UINT(WINAPI*)(MsiHandle, LPCSTR, UINT, MsiHandle*);
using MsiGetSummaryInformationWFunction = UINT(WINAPI*)(MsiHandle, LPCWSTR, UINT, MsiHandle*);
using MsiSummaryInfoGetPropertyAFunction = UINT(WINAPI*)(MsiHandle, UINT, UINT*, INT*, FILETIME*,
                                                         LPSTR, DWORD*);
using UniqueMsiHandle = UniqueBoundHandle<MsiHandle, MsiCloseHandleFunction>;
using DllGetVersionFunction = HRESULT(WINAPI*)(DllVersionRecord*);
using MsiQueryFeatureStateAFunction = INT(WINAPI*)(LPCSTR, LPCSTR);
using MsiGetComponentPathAFunction = INT(WINAPI*)(LPCSTR, LPCSTR, LPSTR, DWORD*);

constexpr UINT kSuccess = 0;
constexpr UINT kNoMoreItems = 259;
constexpr INT kProductInstalled = 5;        // INSTALLSTATE_DEFAULT
constexpr INT kFeatureRunsFromSource = 4;   // INSTALLSTATE_SOURCE
constexpr INT kComponentLocal = 3;          // INSTALLSTATE_LOCAL
constexpr UINT kRevisionNumberProperty = 9; // holds the package code
constexpr DWORD kTextChars = 260;

const char* const kNoFunctions = "Failed to load function pointers from MSI.DLL";

const char* OrEmpty(const char* text) {
    return text ? text : "";
}

// Calls an installer function that takes a file name: narrow on 9x; on NT wide with the OEM
// conversion, then once more with the ANSI conversion.
template <typename NarrowCall, typename WideCall>
UINT CallWithPath(const char* path, NarrowCall narrowCall, WideCall wideCall) {
    if (!IsWindowsNT()) return narrowCall(path);
    wchar_t wide[kWideBufferChars];
    const UINT result = wideCall(OemToWide(path, wide));
    if (result == kSuccess) return result;
    return wideCall(AnsiToWide(path, wide));
}

} // namespace

bool MsiLibrary::Load() {
    if (!library_) {
        WriteLog("Attempting to load MSI.DLL");
        library_.reset(LoadInstallerLibrary());
    }
    if (library_) return true;
    WriteLog("Failed to load MSI.DLL");
    return false;
}

bool MsiLibrary::Unload() {
    if (!library_) return true;
    WriteLog("Unloading MSI.DLL");
    if (!::FreeLibrary(library_.get())) return false;
    library_.release();
    return true;
}

bool MsiLibrary::LoadProductInfo(const char* packagePath) {
    loaded_ = false;
    if (packagePath) {
        packagePath_ = packagePath;
    } else if (packagePath_.empty()) {
        ReportInternalError(15, InternalErrorCode::MissingObject);
    }
    WriteLogF("Loading product information for package '%s'", packagePath_.c_str());
    if (!Load()) return false;

    auto openA = EntryPointAs<MsiOpenDatabaseAFunction>("MsiOpenDatabaseA");
    auto openW = EntryPointAs<MsiOpenDatabaseWFunction>("MsiOpenDatabaseW");
    auto closeHandle = EntryPointAs<MsiCloseHandleFunction>("MsiCloseHandle");
    if (!openA || !openW || !closeHandle) {
        WriteLog(kNoFunctions);
        return false;
    }

    const char* path = packagePath_.c_str();
    MsiHandle database = 0;
    UINT result = kSuccess;
    if (IsWindowsNT()) {
        wchar_t wide[kWideBufferChars];
        if (!*OemToWide(path, wide) && !*AnsiToWide(path, wide)) {
            WriteLogF("Failed to convert filename: %s to Unicode", path);
            return false;
        }
        result = openW(wide, nullptr, &database);
        if (result != kSuccess) result = openW(AnsiToWide(path, wide), nullptr, &database);
    } else {
        result = openA(path, nullptr, &database);
    }
    if (result != kSuccess) {
        WriteLogF("Failed to open package '%s', return code = %d", path, static_cast<int>(result));
        return false;
    }
    const UniqueMsiHandle databaseOwner(closeHandle, database);

    // Read into locals: a package that fails part-way keeps the previous product's values.
    std::string code, name, version;
    if (!GetProperty(database, "ProductCode", code))
        ReportInternalError(0x10F, InternalErrorCode::MissingValue);
    if (!GetProperty(database, "ShortProductName", name) &&
        !GetProperty(database, "ProductName", name))
        ReportInternalError(0x20F, InternalErrorCode::MissingValue);
    if (!GetProperty(database, "ProductVersion", version))
        ReportInternalError(0x30F, InternalErrorCode::MissingValue);
    productCode_ = std::move(code);
    productName_ = std::move(name);
    productVersion_ = std::move(version);
    loaded_ = true;
    return true;
}

const std::string& MsiLibrary::LoadedValue(const std::string& value) const {
    if (!loaded_) ReportInternalError(15, InternalErrorCode::InvalidState);
    return value;
}

const std::string& MsiLibrary::GetProductCode() const {
    return LoadedValue(productCode_);
}
const std::string& MsiLibrary::GetProductName() const {
    return LoadedValue(productName_);
}
const std::string& MsiLibrary::GetProductVersion() const {
    return LoadedValue(productVersion_);
}

bool MsiLibrary::IsProductInstalled(const char* productCode) {
    WriteLogF("Checking the installation state of the product '%s'", OrEmpty(productCode));
    if (!Load()) return false;
    auto queryProductState = EntryPointAs<MsiQueryProductStateAFunction>("MsiQueryProductStateA");
    if (!queryProductState) {
        WriteLog(kNoFunctions);
        return false;
    }
    if (queryProductState(OrEmpty(productCode)) == kProductInstalled) {
        WriteLog("The specified product is installed");
        return true;
    }
    WriteLog("The specified product is not installed");
    return false;
}

bool MsiLibrary::IsPackageProductInstalled() {
    if (!loaded_ && !LoadProductInfo(nullptr))
        ReportInternalError(15, InternalErrorCode::InvalidState);
    return IsProductInstalled(productCode_.c_str());
}

bool MsiLibrary::IsDifferentPackageInstalled() {
    WriteLog("Detecting if the existing installation used the same package as the current one");
    if (!IsProductInstalled(productCode_.c_str())) return false;

    auto getProductInfo = EntryPointAs<MsiGetProductInfoAFunction>("MsiGetProductInfoA");
    auto summaryA = EntryPointAs<MsiGetSummaryInformationAFunction>("MsiGetSummaryInformationA");
    auto summaryW = EntryPointAs<MsiGetSummaryInformationWFunction>("MsiGetSummaryInformationW");
    auto summaryProperty =
        EntryPointAs<MsiSummaryInfoGetPropertyAFunction>("MsiSummaryInfoGetPropertyA");
    auto closeHandle = EntryPointAs<MsiCloseHandleFunction>("MsiCloseHandle");
    if (!getProductInfo || !summaryA || !summaryW || !summaryProperty || !closeHandle) {
        WriteLog(kNoFunctions);
        return false;
    }

    char installedCode[kTextChars] = "";
    DWORD length = kTextChars;
    UINT result = getProductInfo(productCode_.c_str(), "PackageCode", installedCode, &length);
    if (result != kSuccess) {
        WriteLog("Failed to get the package code of the cached database.");
        ReportInternalError(13, InternalErrorCode::FromSystem(result));
    }

    MsiHandle summary = 0;
    result = CallWithPath(
        packagePath_.c_str(), [&](const char* path) { return summaryA(0, path, 0, &summary); },
        [&](const wchar_t* path) { return summaryW(0, path, 0, &summary); });
    if (result != kSuccess) {
        WriteLogF("Failed to get the summary information stream for database: %s",
                  packagePath_.c_str());
        ReportInternalError(13, InternalErrorCode::FromSystem(result));
    }
    char packageCode[kTextChars] = "";
    {
        const UniqueMsiHandle summaryOwner(closeHandle, summary);
        UINT dataType = 0;
        INT number = 0;
        FILETIME time = {};
        length = kTextChars;
        result = summaryProperty(summary, kRevisionNumberProperty, &dataType, &number, &time,
                                 packageCode, &length);
        if (result != kSuccess) {
            WriteLog("Failed to get the package code of the database being installed.");
            ReportInternalError(13, InternalErrorCode::FromSystem(result));
        }
    }

    // Byte-exact comparison: equal multibyte strings are equal byte strings.
    if (std::strcmp(installedCode, packageCode) == 0) {
        WriteLog("The old and new package codes match");
        return false;
    }
    WriteLogF("The old package code '%s' does not match the new package code '%s'", installedCode,
              packageCode);
    return true;
}

bool MsiLibrary::GetVersion(DllVersionRecord* version) {
    if (!Load()) return false;
    WriteLog("Attempting to determine the version of MSI.DLL");
    auto dllGetVersion = EntryPointAs<DllGetVersionFunction>("DllGetVersion");
    if (!dllGetVersion) {
        WriteLog(kNoFunctions);
        return false;
    }
    DllVersionRecord record = {};
    record.size = sizeof record;
    const HRESULT result = dllGetVersion(&record);
    if (result < 0) {
        WriteLogF("Failed to get version information from MSI.DLL, Return code = %08X",
                  static_cast<unsigned>(result));
        return false;
    }
    if (version) *version = record;
    return true;
}

bool MsiLibrary::IsFeatureRunFromSource(const char* featureName) {
    WriteLogF("Determining if feature '%s' is configured to run from source", OrEmpty(featureName));
    if (!Load()) return false;
    auto queryFeatureState = EntryPointAs<MsiQueryFeatureStateAFunction>("MsiQueryFeatureStateA");
    if (!queryFeatureState) {
        WriteLog(kNoFunctions);
        return false;
    }
    if (queryFeatureState(productCode_.c_str(), OrEmpty(featureName)) == kFeatureRunsFromSource) {
        WriteLog("The specified feature is configured to run from source");
        return true;
    }
    WriteLog("The specified feature is not configured to run from source");
    return false;
}

std::optional<std::string> MsiLibrary::GetComponentPath(const char* componentId) {
    WriteLogF("Determining the installed location for component: %s", OrEmpty(componentId));
    if (!Load()) return std::nullopt;
    auto getComponentPath = EntryPointAs<MsiGetComponentPathAFunction>("MsiGetComponentPathA");
    if (!getComponentPath) {
        WriteLog(kNoFunctions);
        return std::nullopt;
    }
    char path[kTextChars] = "";
    DWORD length = kTextChars;
    const INT state = getComponentPath(productCode_.c_str(), OrEmpty(componentId), path, &length);
    if (state != kComponentLocal) {
        WriteLogF("Failed to get the key path for component: %s, Return code = %08X",
                  OrEmpty(componentId), static_cast<unsigned>(state));
        return std::nullopt;
    }
    return std::string(path);
}

bool MsiLibrary::GetProperty(MsiDatabaseHandle database, const char* name, std::string& value) {
    WriteLogF("Attempting to retrieve the value of property '%s'", OrEmpty(name));
    value.clear();
    if (!Load()) ReportInternalError(14, InternalErrorCode::NoInstaller);
    auto openView = EntryPointAs<MsiDatabaseOpenViewAFunction>("MsiDatabaseOpenViewA");
    auto execute = EntryPointAs<MsiViewExecuteFunction>("MsiViewExecute");
    auto fetch = EntryPointAs<MsiViewFetchFunction>("MsiViewFetch");
    auto recordString = EntryPointAs<MsiRecordGetStringAFunction>("MsiRecordGetStringA");
    auto closeHandle = EntryPointAs<MsiCloseHandleFunction>("MsiCloseHandle");
    if (!openView || !execute || !fetch || !recordString || !closeHandle)
        ReportInternalError(14, InternalErrorCode::NoInstaller);

    // The name goes in unchanged: callers pass only the launcher's own property names.
    const std::string query =
        FormatString("SELECT * FROM `Property` WHERE `Property`='%s'", OrEmpty(name));
    MsiHandle view = 0;
    UINT result = openView(database, query.c_str(), &view);
    if (result != kSuccess) ReportInternalError(0x10E, InternalErrorCode::FromSystem(result));
    MsiHandle record = 0;
    {
        const UniqueMsiHandle viewOwner(closeHandle, view);
        result = execute(view, 0);
        if (result != kSuccess) ReportInternalError(0x20E, InternalErrorCode::FromSystem(result));
        result = fetch(view, &record);
    }
    if (result == kNoMoreItems) {
        WriteLog("The requested property does not exist");
        return false;
    }
    if (result != kSuccess) ReportInternalError(0x30E, InternalErrorCode::FromSystem(result));

    char text[kTextChars] = "";
    DWORD length = kTextChars;
    {
        const UniqueMsiHandle recordOwner(closeHandle, record);
        result = recordString(record, 2, text, &length);
    }
    if (result != kSuccess) ReportInternalError(0x40E, InternalErrorCode::FromSystem(result));
    WriteLogF("The property's value is '%s'", text);
    value = text;
    return true;
}
