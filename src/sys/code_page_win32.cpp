// Lead bytes as the system knows them (any installed code page, CP_ACP included).
#include "sys/code_page.h"

#include "sys/win32.h"

bool IsLeadByteIn(unsigned codePage, unsigned char byte) {
    return ::IsDBCSLeadByteEx(codePage, byte) != FALSE;
}
