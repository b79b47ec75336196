#pragma once

#include "core/frame.h"

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
void DispatchServerMsg(Client& c, core::GameCmd& msg);

// True for the kinds whose frames carry the echo token (all but 29 and
// 71-99).
constexpr bool CarriesEchoToken(int kind) { return kind != 29 && (kind < 71 || kind > 99); }

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
    switch (kind) {
    case 1: case 2: case 5: case 6: case 7:
        return Route::TablePlay;
    case 3: case 4: case 9: case 13: case 14: case 15: case 16: case 17: case 18: case 19: case 20: case 21:
    case 22: case 23: case 29: case 40: case 41: case 66:
        return Route::OtherArm;
    case 46:
        return Route::PluginScore;
    case 47:
        return Route::Match47;
    default:
        return kind >= 72 && kind <= 99 ? Route::Match : Route::Plugin;
    }
}

} // namespace dispatch
