// Matching the Platforms list of the setup data against the running system's version.
#pragma once
#include <cstdint>
#include <string>

// The internal-error location of the platform check, its step and the parsing here alike.
constexpr unsigned kPlatformCheckLocation = 8;

// The running system as the platform check sees it. Service-pack numbers come either as numbers
// (extended version record) or only as the service-pack text (basic record).
struct PlatformVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    bool hasServicePackNumbers = true;
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    std::string servicePackText; // read only when hasServicePackNumbers is false
};

// True when `platforms` is empty or its first entry NAME:MAJOR[.MINOR][:SPMAJOR[.SPMINOR]] whose
// NAME is `platformName` (any case) asks for at most `version`. False when no entry names the
// platform or the list's quoting is malformed. A number that does not parse is internal error
// (8, 0x80040007).
bool PlatformListAccepts(const std::string& platforms, const std::string& platformName,
                         const PlatformVersion& version);

// The service-pack numbers in a text such as "Service Pack 3": from the first digit, major and
// minor around the first dot; 0 and 0 without digits. A part that does not parse is internal error
// (8, 0x80040007).
void ReadServicePackText(const std::string& text, uint16_t& major, uint16_t& minor);
