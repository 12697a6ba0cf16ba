// Internal errors: a box "Error Code: %04X.%08X" captioned "Internal Error" (suppressed by the
// quiet switches), then the code ends setup as its exit code.
#pragma once
#include <cstdint>

// HRESULT-style codes of internal errors.
namespace InternalErrorCode {
constexpr uint32_t MissingObject = 0x80004003;  // a required object is missing
constexpr uint32_t Failure = 0x80004005;        // unspecified failure
constexpr uint32_t MissingSection = 0x80040001; // setup data: required section missing
constexpr uint32_t MissingValue = 0x80040002;   // setup data: required value missing
constexpr uint32_t CannotStart = 0x80040006;    // a program could not be started
constexpr uint32_t Unparsable = 0x80040007;     // a value could not be parsed
constexpr uint32_t InvalidState = 0x80040008;   // a value or state is invalid
constexpr uint32_t NoInstaller = 0x80040009;    // installer library or entry point missing
constexpr uint32_t NotLoaded = 0x80070005;      // setup data read before it was loaded
constexpr uint32_t InvalidArgument = 0x80070057;
constexpr uint32_t FromSystem(uint32_t error) {
    return 0x80070000u | error;
}
} // namespace InternalErrorCode

// Reports an internal error and raises `code` as a SetupError; never returns.
[[noreturn]] void ReportInternalError(unsigned location, uint32_t code);

// True when the command line holds one of the eight quiet spellings that suppress the box.
bool IsQuietCommandLine(const char* commandLine);

// The box text: message 3 formatted with the location's low 16 bits and the code.
bool FormatInternalErrorText(unsigned location, uint32_t code, char* out, unsigned capacity);
