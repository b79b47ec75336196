#pragma once

#include "protocol/frame.h"
#include "protocol/kinds.h"

#include <QString>

class Client;

namespace dispatch {

// The dispatcher's own state, for one call at a time.
struct DispatchState {
    // Shown after "fail control" and the frame kind when an arm fails;
    // emptied at the start of every dispatch.
    QString FailDetail;
};

// Takes effect of one received frame: takes over the server's echo token
// and runs the arm of the frame's kind. Any failure of an arm shows "fail
// control" and the kind, restores the lobby window and ends the process.
void DispatchServerMsg(Client& c, const protocol::GameCmd& msg);

// Where a frame goes by its kind.
enum class Route {
    TablePlay,   // deal, discard, draw, turn prompt, operation (kinds 1, 2, 5, 6, 7)
    OtherArm,    // the other kinds with an arm of their own
    Plugin,      // kinds 44, 45 and every kind without an arm: the prop plug-in while it runs
    PluginScore, // kind 46: as Plugin, with the score information due
    Match47,     // kind 47
    Match,       // kinds 72-99
};

constexpr Route RouteOf(int kind)
{
    namespace p = protocol;
    switch (kind) {
    case p::MsgDeal: case p::MsgDiscard: case p::MsgDraw: case p::MsgTurnPrompt: case p::MsgOperation:
        return Route::TablePlay;
    case p::MsgSeatName: case p::MsgHandStart: case p::MsgSeatResult: case p::MsgAnimation: case p::MsgWildTile:
    case p::MsgWallReveal: case p::MsgTableStatus: case p::MsgSettlement: case p::MsgLoginReply: case p::MsgChat:
    case p::MsgUserInfo: case p::MsgUserLeft: case p::MsgServerNotice: case p::MsgPlayerReady:
    case p::MsgReconnectReply: case p::MsgSeatSnapshot: case p::MsgRoundSnapshot: case p::MsgImpeach:
        return Route::OtherArm;
    case p::MsgPropPluginScore:
        return Route::PluginScore;
    case p::MsgMatch47:
        return Route::Match47;
    default:
        return p::IsMatchKind(kind) ? Route::Match : Route::Plugin;
    }
}

} // namespace dispatch
