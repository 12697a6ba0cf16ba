// A stand-in installer library whose DllGetVersion answers the version in SETUP_TEST_ENGINE_VERSION
// ("major.minor.build"), and fails when the variable is empty or unset.
#include "sys/win32.h"

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetVersion(DWORD* record) {
    char text[64] = "";
    if (::GetEnvironmentVariableA("SETUP_TEST_ENGINE_VERSION", text, sizeof text) == 0)
        return E_FAIL;
    DWORD parts[3] = {};
    int part = 0;
    for (const char* c = text; *c && part < 3; ++c) {
        if (*c == '.')
            ++part;
        else
            parts[part] = parts[part] * 10 + static_cast<DWORD>(*c - '0');
    }
    record[1] = parts[0];
    record[2] = parts[1];
    record[3] = parts[2];
    record[4] = 1;
    return S_OK;
}
