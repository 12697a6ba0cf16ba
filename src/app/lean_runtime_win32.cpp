// Setup.EXE's own versions of the C++ runtime's failure paths. The launcher catches a failure of
// the standard library only as "anything else" (0x8004FFFF), so it needs neither the messages nor
// the exception classes of <stdexcept>, whose copy-on-write strings, with the name demangler of
// the default terminate handler, are about a sixth of the program. Linked into Setup.EXE alone.
#include <cstdlib>
#include <new>

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
