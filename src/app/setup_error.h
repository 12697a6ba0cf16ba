// The one exception of the setup sequence: a result code that ends setup and becomes the exit code.
#pragma once
#include <cstdint>

struct SetupError {
    uint32_t code;
};

// Ends the sequence with a result code (every ending of setup goes through here).
[[noreturn]] inline void RaiseSetupError(uint32_t code) { throw SetupError{code}; }
