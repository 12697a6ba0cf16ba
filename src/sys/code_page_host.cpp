// Lead bytes on the host build: the double-byte code pages the message table's languages use.
#include "sys/code_page.h"

bool IsLeadByteIn(unsigned codePage, unsigned char byte) {
    return IsLeadByteOfKnownCodePage(codePage, byte);
}
