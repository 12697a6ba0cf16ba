// Stand-ins for MSI.DLL built by the tests: a copy planted beside the test program (it answers
// version 99), one that lacks most entry points and fails DllGetVersion, one whose feature
// "Remote" runs from source (Wine cannot install a feature that way), and one with none.
#include "sys/win32.h"

extern "C" {
#if defined(STAND_IN_PLANTED)
__declspec(dllexport) HRESULT WINAPI DllGetVersion(DWORD* record) {
    record[1] = 99;
    record[2] = 0;
    record[3] = 0;
    record[4] = 1;
    return S_OK;
}
#elif defined(STAND_IN_PARTIAL)
__declspec(dllexport) HRESULT WINAPI DllGetVersion(DWORD* record) {
    record[1] = 77; // written, but the call fails: the caller's record must stay as it was
    return E_FAIL;
}
__declspec(dllexport) INT WINAPI MsiQueryProductStateA(LPCSTR) {
    return 5;
}
__declspec(dllexport) UINT WINAPI MsiOpenDatabaseA(LPCSTR, LPCSTR, unsigned long* database) {
    *database = 1;
    return 0;
}
__declspec(dllexport) UINT WINAPI MsiOpenDatabaseW(LPCWSTR, LPCWSTR, unsigned long* database) {
    *database = 1;
    return 0;
}
__declspec(dllexport) UINT WINAPI MsiCloseHandle(unsigned long) {
    return 0;
}
#elif defined(STAND_IN_SOURCE)
__declspec(dllexport) INT WINAPI MsiQueryFeatureStateA(LPCSTR, LPCSTR feature) {
    return lstrcmpA(feature, "Remote") == 0 ? 4 : 3;
}
__declspec(dllexport) INT WINAPI MsiGetComponentPathA(LPCSTR, LPCSTR, LPSTR, DWORD*) {
    return 2;
}
#else
__declspec(dllexport) int WINAPI StandInMarker() {
    return 1;
}
#endif
}
