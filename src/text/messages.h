// The built-in message table in fifteen languages, the language choice and placeholder filling.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MessageEntry {
    uint32_t number;
    const char* text; // in the row's code page; null ends the table
};

struct LanguageRow {
    uint32_t languageId; // 0 ends the table
    uint32_t codePage;
    const MessageEntry* messages;
};

extern const LanguageRow LanguageTable[];

// The numbers of the table's messages.
enum MessageId : uint32_t {
    kSetupCaption = 0,          // "Setup"
    kLoadingText = 1,           // "Please wait while setup loads...."
    kInternalErrorCaption = 2,  // "Internal Error"
    kInternalErrorText = 3,     // "Error Code: %04X.%08X"
    kErrorCaption = 4,          // "Error"
    kUnsupportedSystemText = 5, // the platform does not qualify
    kWarningCaption = 6,        // "Warning"
    kNoUpgradableVersionText = 7,
    kApplicationRunningText = 8,
    kAskRemoveIncompatible = 9,
    kAskRemovePrevious = 10,
    kCannotContinue = 11, // an incompatible application that cannot be removed
    kNoServerText = 12,
    kEngineRequiredText = 13,
    kRestartQuestion = 14,
};

// The row chosen for a language id: exact match, then the primary language (low 10 bits), then
// English.
const LanguageRow* ChooseLanguage(uint16_t languageId);

// Message text in the language of `languageId`; false (output untouched) when the row lacks the
// number.
bool GetMessageTextFor(uint16_t languageId, uint32_t number, std::string& text);

// Message text in the user's default language (chosen afresh on every call).
bool GetMessageText(uint32_t number, std::string& text);

// The user's default language id (GetUserDefaultLCID on Windows, English on the host build).
uint16_t UserDefaultLanguageId();

// Replaces every occurrence of each NAME of a "NAME,VALUE" entry by its VALUE.
void SubstitutePlaceholders(const std::vector<std::string>& placeholders, std::string& text);
