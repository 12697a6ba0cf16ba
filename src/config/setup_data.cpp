// Loading SETUP.INI into SetupData through the INI library, and the guarded accessors.
#include "config/setup_data.h"

#include <cstdint>
#include <memory>

#include "ini/ini_file.h"
#include "sys/fixed_buffer.h"
#include "sys/next_token.h"
#include "sys/setup_log.h"
#include "sys/sha256.h"
#include "text/internal_error.h"

namespace {
constexpr unsigned kLoadLocation = 1;
constexpr unsigned kReadLocation = 24;
// The system's "file name too long": what opening such a path gives on Windows.
constexpr uint32_t kFileNameTooLong = 206;

const char* const kProductSection = "ProductInformation";

struct KeyField {
    const char* key;
    std::string SetupData::*field;
    bool required;
};

struct ListField {
    const char* section;
    std::vector<std::string> SetupData::*field;
    bool required;
};

// Every line of a list section, trimmed; blank results are no entries. Repeated headers of the
// same name already share the first section in the INI model, so this sees all their lines.
void ReadListSection(const IniSection& section, std::vector<std::string>& list) {
    std::string text;
    for (int index = 1; section.GetLine(index, text); ++index) {
        std::string entry = TrimBlanks(text);
        if (!entry.empty()) list.push_back(std::move(entry));
    }
}
} // namespace

bool SetupData::Load(const std::string& folder, const std::string& fileName) {
    Reset();
    const std::string path = folder + fileName;
    WriteLogF("Loading setup data file: %s", path.c_str());
    if (!FitsMaxPath(path)) ReportInternalError(kLoadLocation, kFileNameTooLong);

    try {
        CIniFile file;
        IniSectionCollection* sections = nullptr;
        file.CreateSectionCollection(&sections);
        file.Open(path);
        ReadProductSection(file);
        ReadListSections(file);
    } catch (CZbIniFileException* raised) {
        const std::unique_ptr<CZbIniFileException> exception(raised);
        Reset();
        if (exception) {
            WriteLog(exception->Message.c_str());
            // A code of 0 would end setup as a success.
            ReportInternalError(kLoadLocation,
                                exception->Code ? exception->Code : InternalErrorCode::Failure);
        }
        ReportInternalError(kLoadLocation, InternalErrorCode::Failure);
    } catch (...) {
        // No half-filled record survives a failed load.
        Reset();
        throw;
    }
    loaded_ = true;
    return true;
}

// The tables name private members, so they live inside the member functions.
void SetupData::ReadProductSection(CIniFile& file) {
    static const KeyField kKeys[] = {
        {"PackageName", &SetupData::packageName_, true},
        {"CheckRegKey", &SetupData::checkRegKey_, false},
        {"Platforms", &SetupData::platforms_, false},
        {"NestedInstall", &SetupData::nestedInstall_, false},
        {"MsiVersion", &SetupData::msiVersion_, false},
        {"AllowNTServer", &SetupData::allowNTServer_, false},
        {"9xMsiInstaller", &SetupData::msiInstaller9x_, false},
        {"NTMsiInstaller", &SetupData::msiInstallerNT_, false},
        {"9xMsiInstallerSHA256", &SetupData::msiInstaller9xSha256_, false},
        {"NTMsiInstallerSHA256", &SetupData::msiInstallerNTSha256_, false},
    };
    IniSection* product = nullptr;
    if (!file.FindSection(kProductSection, &product) || !product) {
        ReportInternalError(kLoadLocation, InternalErrorCode::MissingSection);
    }
    for (const KeyField& key : kKeys) {
        std::string value;
        if (product->GetValue(key.key, value)) {
            this->*key.field = TrimBlanks(value);
        } else if (key.required) {
            ReportInternalError(kLoadLocation, InternalErrorCode::MissingValue);
        }
    }
    // A pinned digest that cannot be compared would let any download through: refuse it.
    for (const std::string* digest : {&msiInstaller9xSha256_, &msiInstallerNTSha256_}) {
        if (!digest->empty() && !ParseDigestHex(*digest, nullptr)) {
            WriteLogF("Not a SHA-256 digest of 64 hexadecimal digits: %s", digest->c_str());
            ReportInternalError(kLoadLocation, InternalErrorCode::Unparsable);
        }
    }
}

void SetupData::ReadListSections(CIniFile& file) {
    static const ListField kLists[] = {
        {"ProductFeatures", &SetupData::productFeatures_, true},
        {"PreviousVersionUninstall", &SetupData::previousVersionUninstall_, false},
        {"ShutdownApplication", &SetupData::shutdownApplication_, false},
        {"IncompatibleAppExit", &SetupData::incompatibleAppExit_, false},
        {"IncompatibleAppUninstall", &SetupData::incompatibleAppUninstall_, false},
        {"UpgradeConditions", &SetupData::upgradeConditions_, false},
        {"LaunchApplications", &SetupData::launchApplications_, false},
    };
    for (const ListField& list : kLists) {
        IniSection* section = nullptr;
        if (file.FindSection(list.section, &section) && section) {
            ReadListSection(*section, this->*list.field);
        } else if (list.required) {
            ReportInternalError(kLoadLocation, InternalErrorCode::MissingSection);
        }
    }
}

void SetupData::Reset() {
    loaded_ = false;
    for (std::string* value :
         {&checkRegKey_, &msiVersion_, &nestedInstall_, &packageName_, &platforms_, &allowNTServer_,
          &msiInstaller9x_, &msiInstallerNT_, &msiInstaller9xSha256_, &msiInstallerNTSha256_}) {
        value->clear();
    }
    for (std::vector<std::string>* list :
         {&productFeatures_, &previousVersionUninstall_, &shutdownApplication_,
          &incompatibleAppExit_, &incompatibleAppUninstall_, &upgradeConditions_,
          &launchApplications_}) {
        list->clear();
    }
}

void SetupData::RequireLoaded() const {
    if (!loaded_) ReportInternalError(kReadLocation, InternalErrorCode::NotLoaded);
}

#define SETUP_DATA_VALUE(Name, field)                                                              \
    const std::string& SetupData::Name() const {                                                   \
        RequireLoaded();                                                                           \
        return field;                                                                              \
    }
#define SETUP_DATA_LIST(Name, field)                                                               \
    std::vector<std::string>& SetupData::Name() {                                                  \
        RequireLoaded();                                                                           \
        return field;                                                                              \
    }                                                                                              \
    const std::vector<std::string>& SetupData::Name() const {                                      \
        RequireLoaded();                                                                           \
        return field;                                                                              \
    }

SETUP_DATA_VALUE(GetCheckRegKey, checkRegKey_)
SETUP_DATA_VALUE(GetMsiVersion, msiVersion_)
SETUP_DATA_VALUE(GetNestedInstall, nestedInstall_)
SETUP_DATA_VALUE(GetPackageName, packageName_)
SETUP_DATA_VALUE(GetPlatforms, platforms_)
SETUP_DATA_VALUE(GetAllowNTServer, allowNTServer_)
SETUP_DATA_VALUE(Get9xMsiInstaller, msiInstaller9x_)
SETUP_DATA_VALUE(GetNTMsiInstaller, msiInstallerNT_)
SETUP_DATA_VALUE(Get9xMsiInstallerSHA256, msiInstaller9xSha256_)
SETUP_DATA_VALUE(GetNTMsiInstallerSHA256, msiInstallerNTSha256_)

SETUP_DATA_LIST(GetProductFeatures, productFeatures_)
SETUP_DATA_LIST(GetPreviousVersionUninstall, previousVersionUninstall_)
SETUP_DATA_LIST(GetShutdownApplication, shutdownApplication_)
SETUP_DATA_LIST(GetIncompatibleAppExit, incompatibleAppExit_)
SETUP_DATA_LIST(GetIncompatibleAppUninstall, incompatibleAppUninstall_)
SETUP_DATA_LIST(GetUpgradeConditions, upgradeConditions_)
SETUP_DATA_LIST(GetLaunchApplications, launchApplications_)

#undef SETUP_DATA_VALUE
#undef SETUP_DATA_LIST
