// The result code an operation raised as a SetupError, for tests of code that ends setup that way.
#pragma once
#include <cstdint>
#include <optional>

#include "sys/setup_result.h"

// Runs `action`; the code it raised, or none when it returned.
template <typename Action> std::optional<uint32_t> RaisedCode(Action&& action) {
    try {
        action();
    } catch (const SetupError& error) {
        return error.code;
    }
    return std::nullopt;
}
