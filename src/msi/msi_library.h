// Run-time binding to the Windows Installer library MSI.DLL and the questions the steps ask of it.
// The library is loaded on first use and every entry point is looked up at each call, so the
// launcher starts where the installer is missing and survives the engine being replaced.
#pragma once
#include "sys/entry_point.h"
#include "sys/unique_handle.h"
#include "sys/win32.h"

#include <cstdint>
#include <optional>
#include <string>

// The platform's DLL version record as DllGetVersion fills it.
struct DllVersionRecord {
    uint32_t size;
    uint32_t major;
    uint32_t minor;
    uint32_t buildNumber;
    uint32_t platformId;
};
static_assert(sizeof(DllVersionRecord) == 20, "DllGetVersion expects a 20-byte record");

// A database handle of the installer library.
using MsiDatabaseHandle = unsigned long;

class MsiLibrary {
  public:
    MsiLibrary() = default;
    MsiLibrary(const MsiLibrary&) = delete;
    MsiLibrary& operator=(const MsiLibrary&) = delete;

    // True when the library is loaded afterwards; a failed load is tried again at the next call.
    bool Load();
    // False (handle kept) when the library cannot be freed.
    bool Unload();

    // Reads ProductCode, the product name and ProductVersion of a package (`packagePath` null: the
    // package of the last call). False when the library, an entry point or the package cannot be
    // had; a package without one of the properties is an internal error.
    bool LoadProductInfo(const char* packagePath = nullptr);
    // Internal error (15, InvalidState) unless product information is loaded.
    const std::string& GetProductCode() const;
    const std::string& GetProductName() const;
    const std::string& GetProductVersion() const;

    bool IsProductInstalled(const char* productCode);
    // The loaded package's product (loading the last package again when needed).
    bool IsPackageProductInstalled();
    // True when the package's product is installed from a package with another package code.
    bool IsDifferentPackageInstalled();
    // False when the library or DllGetVersion is missing or fails; `version` may be null.
    bool GetVersion(DllVersionRecord* version);
    bool IsFeatureRunFromSource(const char* featureName);
    // The key path of a locally installed component of the loaded product, or none.
    std::optional<std::string> GetComponentPath(const char* componentId);
    // False only when the property is absent; every other failure is an internal error.
    bool GetProperty(MsiDatabaseHandle database, const char* name, std::string& value);

  private:
    template <typename Function> Function EntryPointAs(const char* name) const {
        return GetEntryPointAs<Function>(library_.get(), name);
    }
    const std::string& LoadedValue(const std::string& value) const;

    std::string packagePath_;
    UniqueModule library_;
    std::string productCode_;
    std::string productName_;
    std::string productVersion_;
    bool loaded_ = false;
};
