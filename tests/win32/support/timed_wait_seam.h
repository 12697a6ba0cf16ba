// The test build's timed waits (timed_wait_seam.cpp, linked before setup_core): no time passes; a
// wait answers what its object is at once, and each length asked for is noted.
#pragma once
#include <vector>

#include "sys/win32.h"

namespace wait_seam {

// The lengths asked for since the last call, in order; forgets them.
std::vector<DWORD> TakeRequests();

} // namespace wait_seam
