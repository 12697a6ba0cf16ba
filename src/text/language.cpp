// Choice of the message language: exact language id, then primary language, then English.
#include "text/messages.h"

const LanguageRow* ChooseLanguage(uint16_t languageId) {
    for (const LanguageRow* row = LanguageTable; row->languageId; ++row) {
        if (row->languageId == languageId && row->codePage) return row;
    }
    for (const LanguageRow* row = LanguageTable; row->languageId; ++row) {
        if ((row->languageId & 0x3FF) == (languageId & 0x3FFu) && row->codePage) return row;
    }
    for (const LanguageRow* row = LanguageTable; row->languageId; ++row) {
        if (row->languageId == 0x0409) return row;
    }
    return nullptr;
}

bool GetMessageTextFor(uint16_t languageId, uint32_t number, std::string& text) {
    const LanguageRow* row = ChooseLanguage(languageId);
    if (!row || !row->messages) return false;
    for (const MessageEntry* entry = row->messages; entry->text; ++entry) {
        if (entry->number == number) {
            text = entry->text;
            return true;
        }
    }
    return false;
}

bool GetMessageText(uint32_t number, std::string& text) {
    return GetMessageTextFor(UserDefaultLanguageId(), number, text);
}
