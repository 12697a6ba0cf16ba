// Setup.EXE's own versions of the C++ runtime's failure paths. The launcher catches a failure of
// the standard library only as "anything else" (0x8004FFFF), so it needs neither the messages nor
// the exception classes of <stdexcept>, whose copy-on-write strings, with the name demangler of
// the default terminate handler, are about a sixth of the program. Linked into Setup.EXE alone.
#include <cstdlib>
#include <new>

#include "sys/entry_point.h"
#include "sys/win32.h"

namespace std {
void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_alloc();
}
void __throw_length_error(const char*) {
    throw bad_alloc();
}
void __throw_logic_error(const char*) {
    throw bad_alloc();
}
void __throw_out_of_range(const char*) {
    throw bad_alloc();
}
void __throw_out_of_range_fmt(const char*, ...) {
    throw bad_alloc();
}
void __throw_invalid_argument(const char*) {
    throw bad_alloc();
}
void __throw_system_error(int) {
    throw bad_alloc();
}
} // namespace std

namespace __gnu_cxx {
// A GUI program has no standard error to print an uncaught exception's name to.
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

// The threads runtime imports GetTickCount64, which Windows before Vista does not export, and the
// loader refuses to start a program with an import the system lacks. Its import slot is filled
// here instead: the system's function where there is one, else the 32-bit count (which wraps after
// 49 days; the runtime only measures short waits with it).
namespace {
using TickCountFunction = ULONGLONG(WINAPI*)();
// Looked up while the program starts, before any thread: every later call sees one answer.
const TickCountFunction systemTickCount64 =
    GetEntryPointAs<TickCountFunction>(::GetModuleHandleA("KERNEL32.DLL"), "GetTickCount64");

ULONGLONG WINAPI TickCount64() {
    return systemTickCount64 ? systemTickCount64() : ::GetTickCount();
}
} // namespace

#ifdef _WIN64
#define SETUP_TICK_COUNT_IMPORT "__imp_GetTickCount64"
#else
#define SETUP_TICK_COUNT_IMPORT "__imp__GetTickCount64@0"
#endif
extern "C" __attribute__((used))
ULONGLONG(WINAPI* const kTickCount64Import)() asm(SETUP_TICK_COUNT_IMPORT) = TickCount64;
