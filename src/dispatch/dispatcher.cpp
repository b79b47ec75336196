#include "dispatch/dispatcher.h"

#include "app/client.h"
#include "core/lobby.h"
#include "dispatch/arms.h"
#include "dispatch/frame_checks.h"
#include "dispatch/play_arms.h"
#include "dispatch/snapshot_arms.h"
#include "match/match.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/prop_plugin.h"
#include "protocol/echo_token.h"
#include "protocol/kinds.h"
#include "table/failure.h"

namespace dispatch {

namespace {

void HandToPlugin(Client& c)
{
    if (c.rewards.PropPluginState <= 0)
        return;
    if (!c.rewards.PropPlugin)
        throw FrameFault("the prop plug-in runs without its object");
    c.rewards.PropPlugin->Rec_MSG(c.core.RecvFrame);
}

void RunTablePlayArm(Client& c, const protocol::GameCmd& msg)
{
    switch (msg.Kind) {
    case protocol::MsgDeal:
        MsgDeal(c, msg);
        break;
    case protocol::MsgDiscard:
        MsgDiscard(c, msg);
        break;
    case protocol::MsgDraw:
        MsgDraw(c, msg);
        break;
    case protocol::MsgTurnPrompt:
        MsgTurnPrompt(c, msg);
        break;
    case protocol::MsgOperation:
        MsgOperation(c, msg);
        break;
    default:
        break;
    }
}

void RunOtherArm(Client& c, const protocol::GameCmd& msg)
{
    switch (msg.Kind) {
    case protocol::MsgSeatName: OnSeatName(c, msg); break;
    case protocol::MsgHandStart: OnHandStart(c, msg); break;
    case protocol::MsgSeatResult: OnSeatResult(c, msg); break;
    case protocol::MsgAnimation: OnAnimation(c, msg); break;
    case protocol::MsgWildTile: OnWildTile(c, msg); break;
    case protocol::MsgWallReveal: OnWallReveal(c, msg); break;
    case protocol::MsgTableStatus: OnTableStatus(c, msg); break;
    case protocol::MsgSettlement: OnSettlement(c, msg); break;
    case protocol::MsgLoginReply: OnLoginReply(c, msg); break;
    case protocol::MsgChat: OnChat(c, msg); break;
    case protocol::MsgUserInfo: OnUserInfo(c, msg); break;
    case protocol::MsgServerNotice: OnServerNotice(c, msg); break;
    case protocol::MsgPlayerReady: OnPlayerReady(c, msg); break;
    case protocol::MsgReconnectReply: OnReconnectReply(c, msg); break;
    case protocol::MsgImpeach: OnImpeach(c, msg); break;
    case protocol::MsgUserLeft: OnUserLeft(c, msg); break;
    case protocol::MsgSeatSnapshot: OnSeatSnapshot(c, msg); break;
    case protocol::MsgRoundSnapshot: OnRoundSnapshot(c, msg); break;
    default: break;
    }
}

void RouteFrame(Client& c, const protocol::GameCmd& msg)
{
    switch (RouteOf(msg.Kind)) {
    case Route::TablePlay:
        RunTablePlayArm(c, msg);
        break;
    case Route::OtherArm:
        RunOtherArm(c, msg);
        break;
    case Route::Plugin:
        HandToPlugin(c);
        break;
    case Route::PluginScore:
        if (c.rewards.PropPluginState > 0) {
            c.rewards.PropScoreInfoDue = -1;
            HandToPlugin(c);
        }
        break;
    case Route::Match47:
        match::MsgDecode_47(c, c.core.RecvFrame);
        break;
    case Route::Match:
        match::HandleMatchFrame(c, c.core.RecvFrame);
        break;
    }
}

} // namespace

void DispatchServerMsg(Client& c, const protocol::GameCmd& msg)
{
    core::CoreState& s = c.core;
    if (protocol::CarriesEchoToken(s.RecvFrame[protocol::frame_byte::Kind])) {
        s.EchoToken[0] = s.RecvFrame[protocol::frame_byte::EchoToken];
        s.EchoToken[1] = s.RecvFrame[protocol::frame_byte::EchoToken + 1];
    }
    const int16_t kind = msg.Kind;
    c.dispatch.FailDetail.clear();
    try {
        RouteFrame(c, msg);
    } catch (const table::TableFailure& e) {
        // The table procedure's own failure handling: no message.
        qWarning("table failure in frame kind %d: %s", kind, e.what());
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    } catch (const std::exception& e) {
        qWarning("frame kind %d failed: %s", kind, e.what());
        c.plat.dialogs.MsgBox(QStringLiteral("fail control") + QString::number(kind) + QLatin1Char(' ') +
                              c.dispatch.FailDetail);
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    }
}

} // namespace dispatch
