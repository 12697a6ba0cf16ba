// The user's default language on Windows.
#include "sys/win32.h"
#include "text/messages.h"

uint16_t UserDefaultLanguageId() {
    return static_cast<uint16_t>(::GetUserDefaultLCID() & 0xFFFF);
}
