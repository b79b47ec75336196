#pragma once

#include "platform/picture.h"
#include "table/board.h"
#include "table/players.h"
#include "table/table_state.h"

#include <array>
#include <cstdint>
#include <functional>

namespace platform {
class Clock;
}

namespace table {

// The effects the table plays.
enum class TableEffect { TileDrawn, Shuffle, Dice };

// What the table asks of the program around it. The composition root fills
// every entry before play starts.
struct TableHooks {
    // Puts tile picture 0-179 (36 per view, views 0-4), die picture 0-15
    // (faces 1-6, then ten tumbling frames) or the compass for seat index
    // 0-3 on a control; false when the picture cannot be loaded.
    std::function<bool(int picture, platform::HasPicture& control)> LoadTilePicture;
    std::function<bool(int picture, platform::HasPicture& control)> LoadDiePicture;
    std::function<bool(int seatIndex, platform::HasPicture& control)> LoadCompassPicture;
    // Plays an effect when effects are on.
    std::function<void(TableEffect effect)> PlayEffect;
    // Speaks a discarded tile in the voice of the seat in `view`.
    std::function<void(int view, int16_t tile)> SpeakTile;
    // Queues a kind-7 frame of the local seat with an operation and three
    // tile values.
    std::function<void(int16_t op, int16_t t1, int16_t t2, int16_t t3)> SendOperation;
    // Starts or stops the scheduler's decision countdown step.
    std::function<void(bool on)> RunDecisionCountdown;
    // The wall is built: the lobby hears that a hand starts and the last
    // hand's claim choices, shown wall tiles and concealed kongs are
    // forgotten.
    std::function<void()> DealStarted;
    // The failure path that ends the client without a message: restores
    // the lobby window and ends the process.
    std::function<void()> EndClient;
};

// The local player's decision as table play reads and sets it.
struct Decision {
    int16_t& OpSent;           // -1 once the decision is answered
    const int16_t& AllowedOps; // the mask of the last prompt that offered a kong
    int16_t& Countdown;
    const int16_t& CountdownStart;
    const int16_t& TurnPhase; // 3: the countdown has run out
};

// The special-kong rows by view: images of red dragons (0-3), wild tiles
// (4-7) and green dragons (8-11).
using LaidRows = std::array<std::array<int16_t, 12>, 4>;

// Everything table play works on: its own state, the board it draws, the
// seats' records, the layout scale, the clock and the hooks. Made once by
// the program around it; the references stay valid as long as it lives.
struct TableModel {
    TableState& state;
    TableBoard& board;
    std::array<PlayerRecord, 4>& players;
    LaidRows& laid;
    const float& scaleX;
    const float& scaleY;
    Decision decision;
    platform::Clock& clock;
    TableHooks hooks;
};

} // namespace table
