#include "platform/wait.h"

#include <algorithm>
#include <cmath>

namespace platform {

Deadline Deadline::InMs(Clock& clock, uint32_t spanMs)
{
    Deadline d(clock, false);
    d.startMs_ = clock.timeGetTime();
    d.spanMs_ = spanMs;
    return d;
}

Deadline Deadline::InSecondsOfDay(Clock& clock, double seconds)
{
    Deadline d(clock, true);
    d.startSeconds_ = clock.secondsSinceMidnight();
    d.spanSeconds_ = seconds;
    return d;
}

bool Deadline::Passed() const
{
    if (ofDay_)
        return ElapsedSecondsOfDay(startSeconds_, clock_->secondsSinceMidnight()) > spanSeconds_;
    return ElapsedMs(startMs_, clock_->timeGetTime()) >= spanMs_;
}

int Deadline::MsLeft() const
{
    if (ofDay_) {
        const double left = spanSeconds_ - ElapsedSecondsOfDay(startSeconds_, clock_->secondsSinceMidnight());
        return std::max(1, static_cast<int>(std::ceil(std::max(0.0, left) * 1000.0)));
    }
    const uint32_t elapsed = ElapsedMs(startMs_, clock_->timeGetTime());
    if (elapsed >= spanMs_)
        return 0;
    return static_cast<int>(std::min<uint32_t>(spanMs_ - elapsed, INT32_MAX));
}

bool WaitUntil(Clock& clock, const Deadline& deadline, const std::function<bool()>& done, int maxSliceMs)
{
    for (;;) {
        if (done && done())
            return true;
        if (deadline.Passed())
            return false;
        int slice = deadline.MsLeft();
        if (maxSliceMs > 0)
            slice = std::min(slice, maxSliceMs);
        clock.processEvents(slice);
    }
}

} // namespace platform
