#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <functional>

namespace platform {

// When a wait ends, on one of the clock's two time scales: the wrapping
// millisecond counter (the span is reached when that many milliseconds have
// passed) or the time of day (the span is reached once more than that many
// seconds have passed, also across midnight).
class Deadline {
public:
    static Deadline InMs(Clock& clock, uint32_t spanMs);
    static Deadline InSecondsOfDay(Clock& clock, double seconds);

    bool Passed() const;
    // Milliseconds still to go, at least 1 while the deadline has not passed.
    int MsLeft() const;

private:
    Deadline(Clock& clock, bool ofDay) : clock_(&clock), ofDay_(ofDay) {}

    Clock* clock_;
    bool ofDay_;
    uint32_t startMs_ = 0;
    uint32_t spanMs_ = 0;
    double startSeconds_ = 0;
    double spanSeconds_ = 0;
};

// The one wait of the program: lets window, socket and timer events run
// until `done` holds or the deadline passes, in slices of at most
// `maxSliceMs` (0: as long as the deadline allows). `done` is checked before
// every slice. Returns true when `done` ended the wait, false when the
// deadline did.
bool WaitUntil(Clock& clock, const Deadline& deadline, const std::function<bool()>& done = nullptr,
               int maxSliceMs = 0);

} // namespace platform
