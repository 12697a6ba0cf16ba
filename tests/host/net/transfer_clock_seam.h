// The test build's download clock (transfer_clock_seam.cpp, linked before setup_core): the real
// clock, or one that moves on by a fixed step at every reading.
#pragma once
#include <cstdint>

namespace clock_seam {

// From now on every reading is `milliseconds` later than the one before; 0: the real clock again.
void Step(int64_t milliseconds);

} // namespace clock_seam
