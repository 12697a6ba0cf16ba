// The download's clock, alone in its file so that a test can link another in its place.
#include "net/transfer_progress.h"

#include <chrono>

namespace transfer_progress {

int64_t ClockMilliseconds() {
    // steady_clock: a change of the wall clock must not stretch or shorten a window.
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace transfer_progress
