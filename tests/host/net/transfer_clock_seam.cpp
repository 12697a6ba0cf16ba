// Replaces the product's transfer_clock.cpp: the linker takes this definition first.
#include "transfer_clock_seam.h"

#include "net/transfer_progress.h"

#include <chrono>
#include <mutex>

namespace {
std::mutex lock; // the asynchronous download reads the clock on its own thread
int64_t step = 0;
int64_t last = 0;
} // namespace

void clock_seam::Step(int64_t milliseconds) {
    const std::lock_guard<std::mutex> guard(lock);
    step = milliseconds;
}

int64_t transfer_progress::ClockMilliseconds() {
    const std::lock_guard<std::mutex> guard(lock);
    if (step) return last += step;
    return last = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
}
