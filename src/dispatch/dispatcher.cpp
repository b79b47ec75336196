#include "dispatch/dispatcher.h"

#include "app/client.h"

namespace dispatch {

void DispatchServerMsg(Client& c, core::GameCmd&)
{
    core::CoreState& s = c.core;
    if (CarriesEchoToken(s.RecvFrame[core::frame_byte::Kind])) {
        s.EchoToken[0] = s.RecvFrame[core::frame_byte::EchoToken];
        s.EchoToken[1] = s.RecvFrame[core::frame_byte::EchoToken + 1];
    }
}

} // namespace dispatch
