#pragma once

#include <cstdint>

namespace platform {

// The system clocks the client reads, and the one way it lets pending events
// run during a wait. Tests replace it with a clock they move by hand.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds on the system's millisecond clock; wraps at 2^32.
    virtual uint32_t timeGetTime() = 0;

    // Seconds since local midnight, restarting at 0 every midnight.
    virtual double secondsSinceMidnight() = 0;

    // Lets pending window, socket and timer events run, waiting at most
    // maxWaitMs for one to arrive. A fake clock moves its time on instead.
    virtual void processEvents(int maxWaitMs) = 0;
};

// The real clocks, over the monotonic clock and local time; processEvents
// runs the Qt event loop of the calling thread.
class SystemClock : public Clock {
public:
    uint32_t timeGetTime() override;
    double secondsSinceMidnight() override;
    void processEvents(int maxWaitMs) override;
};

// Milliseconds from `since` to `now` on a wrapping 32-bit millisecond clock.
inline uint32_t ElapsedMs(uint32_t since, uint32_t now) { return now - since; }

// Seconds from `start` to `now` on a clock that restarts at midnight.
inline double ElapsedSecondsOfDay(double start, double now)
{
    double d = now - start;
    return d < 0 ? d + 86400.0 : d;
}

} // namespace platform
