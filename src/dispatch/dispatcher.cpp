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

void RunTablePlayArm(Client& c, core::GameCmd& msg)
{
    switch (msg.Kind) {
    case core::MsgDeal:
        MsgDeal(c, msg);
        break;
    case core::MsgDiscard:
        MsgDiscard(c, msg);
        break;
    case core::MsgDraw:
        MsgDraw(c, msg);
        break;
    case core::MsgTurnPrompt:
        MsgTurnPrompt(c, msg);
        break;
    case core::MsgOperation:
        MsgOperation(c, msg);
        break;
    default:
        break;
    }
}

void RunOtherArm(Client& c, core::GameCmd& msg)
{
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
    case MsgUserLeft: OnUserLeft(c, msg); break;
    case MsgSeatSnapshot: OnSeatSnapshot(c, msg); break;
    case MsgRoundSnapshot: OnRoundSnapshot(c, msg); break;
    default: break;
    }
}

void RouteFrame(Client& c, core::GameCmd& msg)
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

void DispatchServerMsg(Client& c, core::GameCmd& msg)
{
    core::CoreState& s = c.core;
    if (CarriesEchoToken(s.RecvFrame[core::frame_byte::Kind])) {
        s.EchoToken[0] = s.RecvFrame[core::frame_byte::EchoToken];
        s.EchoToken[1] = s.RecvFrame[core::frame_byte::EchoToken + 1];
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
