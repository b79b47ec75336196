#include "dispatch/dispatcher.h"

#include "app/client.h"
#include "core/lobby.h"
#include "dispatch/arms.h"
#include "dispatch/frame_fault.h"
#include "platform/dialogs.h"
#include "platform/process.h"

namespace dispatch {

void DispatchServerMsg(Client& c, core::GameCmd& msg)
{
    core::CoreState& s = c.core;
    if (CarriesEchoToken(s.RecvFrame[core::frame_byte::Kind])) {
        s.EchoToken[0] = s.RecvFrame[core::frame_byte::EchoToken];
        s.EchoToken[1] = s.RecvFrame[core::frame_byte::EchoToken + 1];
    }
    // A frame that fails leaves the table untrustworthy: tell the user,
    // hand the desktop back to the lobby and end.
    auto fail = [&](const char* why) {
        qWarning("frame of kind %d failed: %s", msg.Kind, why);
        c.plat.dialogs.MsgBox(QStringLiteral("fail control%1 ").arg(msg.Kind));
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    };
    try {
        switch (msg.Kind) {
        case core::MsgSeatName: OnSeatName(c, msg); break;
        case core::MsgHandStart: OnHandStart(c, msg); break;
        case core::MsgSeatResult: OnSeatResult(c, msg); break;
        case MsgAnimation: OnAnimation(c, msg); break;
        case MsgWildTile: OnWildTile(c, msg); break;
        case MsgWallReveal: OnWallReveal(c, msg); break;
        case MsgTableStatus: OnTableStatus(c, msg); break;
        case core::MsgSettlement: OnSettlement(c, msg); break;
        case MsgLoginReply: OnLoginReply(c, msg); break;
        case core::MsgChat: OnChat(c, msg); break;
        case MsgUserInfo: OnUserInfo(c, msg); break;
        case MsgServerNotice: OnServerNotice(c, msg); break;
        case MsgPlayerReady: OnPlayerReady(c, msg); break;
        case MsgReconnectReply: OnReconnectReply(c, msg); break;
        case MsgImpeach: OnImpeach(c, msg); break;
        default: break;
        }
    } catch (const FrameFault& fault) {
        fail(fault.what());
    } catch (const std::exception& fault) {
        fail(fault.what());
    }
}

} // namespace dispatch
