#include "dispatch/hold_back.h"

#include "app/client.h"
#include "core/messages.h"

namespace dispatch {

void ArmHoldBack(Client& c)
{
    core::CoreState& s = c.core;
    s.HoldBackArmed1 = true;
    s.HoldBackArmed2 = true;
    s.HoldBackFrame1.fill(0);
    s.HoldBackFrame2.fill(0);
}

void ReleaseHeldFrames(Client& c)
{
    core::CoreState& s = c.core;
    auto release = [&](protocol::GameFrame& held, bool armed) {
        if (held[protocol::frame_byte::Kind] == 0 || armed)
            return;
        held[protocol::frame_byte::Seat] = c.game.Players[0].SeatBit;
        core::SendRawFrame(c, held);
        held[protocol::frame_byte::Kind] = 0;
    };
    release(s.HoldBackFrame1, s.HoldBackArmed1);
    release(s.HoldBackFrame2, s.HoldBackArmed2);
    s.HoldBackArmed1 = false;
}

void DisarmHoldBack(Client& c)
{
    core::CoreState& s = c.core;
    s.HoldBackArmed1 = false;
    s.HoldBackArmed2 = false;
    s.HoldBackFrame1.fill(0);
    s.HoldBackFrame2.fill(0);
}

} // namespace dispatch
