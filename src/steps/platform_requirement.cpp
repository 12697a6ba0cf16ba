// Matching the Platforms list of the setup data against the running system's version.
#include "steps/platform_requirement.h"

#include <cctype>

#include "sys/next_token.h"
#include "text/internal_error.h"

namespace {

// Required numbers are compared in the width the system reports them.
uint16_t ParseRequiredNumber(const std::string& text) {
    int32_t value = 0;
    if (!ParseInteger(text.c_str(), &value))
        ReportInternalError(kPlatformCheckLocation, InternalErrorCode::Unparsable);
    return static_cast<uint16_t>(value);
}

// MAJOR[.MINOR]; a dot at the very start does not split.
void ReadMajorMinor(const std::string& text, uint16_t& major, uint16_t& minor) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) {
        major = ParseRequiredNumber(text);
        minor = 0;
        return;
    }
    major = ParseRequiredNumber(text.substr(0, dot));
    minor = ParseRequiredNumber(text.substr(dot + 1));
}

// Negative, zero or positive as the system is below, at or above the required pair.
int Compare(uint32_t system, uint32_t required) {
    return system < required ? -1 : (system > required ? 1 : 0);
}

bool VersionSatisfies(const std::string& requirement, const PlatformVersion& system) {
    std::string versionPart = requirement;
    std::string servicePackPart;
    const std::size_t colon = versionPart.find(':');
    if (colon != std::string::npos && colon > 0) {
        servicePackPart = versionPart.substr(colon + 1);
        versionPart.resize(colon);
    }
    uint16_t major = 0, minor = 0, servicePackMajor = 0, servicePackMinor = 0;
    ReadMajorMinor(versionPart, major, minor);
    if (colon != std::string::npos && colon > 0)
        ReadMajorMinor(servicePackPart, servicePackMajor, servicePackMinor);

    if (int order = Compare(system.major, major)) return order > 0;
    if (int order = Compare(system.minor, minor)) return order > 0;
    // The service-pack text is only parsed once the comparison needs it.
    uint16_t systemServicePackMajor = system.servicePackMajor;
    uint16_t systemServicePackMinor = system.servicePackMinor;
    if (!system.hasServicePackNumbers)
        ReadServicePackText(system.servicePackText, systemServicePackMajor, systemServicePackMinor);
    if (int order = Compare(systemServicePackMajor, servicePackMajor)) return order > 0;
    return Compare(systemServicePackMinor, servicePackMinor) >= 0;
}

} // namespace

bool PlatformListAccepts(const std::string& platforms, const std::string& platformName,
                         const PlatformVersion& version) {
    if (platforms.empty()) return true;
    std::string rest = platforms;
    std::string entry;
    while (!rest.empty()) {
        if (!NextToken(rest, entry, ",", true)) return false;
        const std::size_t colon = entry.find(':');
        if (colon == std::string::npos || colon == 0) continue;
        if (!EqualsIgnoringCase(entry.substr(0, colon), platformName)) continue;
        return VersionSatisfies(entry.substr(colon + 1), version);
    }
    return false;
}

void ReadServicePackText(const std::string& text, uint16_t& major, uint16_t& minor) {
    const std::size_t digit = text.find_first_of("0123456789");
    if (digit == std::string::npos) {
        major = minor = 0;
        return;
    }
    ReadMajorMinor(text.substr(digit), major, minor);
}
