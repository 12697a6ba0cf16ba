// The rule that keeps a download from lasting for ever: a header complete within 60 seconds of
// connecting, and a body that grows by at least 4096 bytes in every 60 seconds. A server that
// drips a byte now and then passes every receive time-out, so only this rule ends it.
#pragma once
#include <cstdint>

namespace transfer_progress {

constexpr int64_t kWindowMilliseconds = 60000;
constexpr int64_t kMinimumBytes = 4096;

// Milliseconds on a clock that never goes back (transfer_clock.cpp; tests link their own).
int64_t ClockMilliseconds();

// True while a header whose connection was made at `connectedAt` may still be read at `now`.
inline bool HeaderInTime(int64_t connectedAt, int64_t now) {
    return now - connectedAt < kWindowMilliseconds;
}

// The body's progress: each time it has grown by kMinimumBytes a new window starts.
class BodyWatch {
  public:
    explicit BodyWatch(int64_t start) : markTime_(start) {}
    // Records the bytes received so far at `now`; false once a window has passed without the
    // minimum growth.
    bool Progress(int64_t now, int64_t total) {
        if (total - markTotal_ >= kMinimumBytes) {
            markTime_ = now;
            markTotal_ = total;
            return true;
        }
        return now - markTime_ < kWindowMilliseconds;
    }

  private:
    int64_t markTime_;
    int64_t markTotal_ = 0;
};

} // namespace transfer_progress
