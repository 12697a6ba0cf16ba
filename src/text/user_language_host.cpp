// The host build has no user locale: English.
#include "text/messages.h"

uint16_t UserDefaultLanguageId() {
    return 0x0409;
}
