// The real creation of the reboot thread.
#include "app/reboot_thread_creation.h"

HANDLE CreateRebootThread(LPTHREAD_START_ROUTINE routine) {
    DWORD id = 0; // Windows 9x fails CreateThread without somewhere to put the thread id
    return ::CreateThread(nullptr, 0, routine, nullptr, 0, &id);
}
