#pragma once

#include <array>
#include <cstdint>

namespace tableserver {

// What one seat laid on the table in a hand.
struct SeatTally {
    int redKongs = 0;
    int greenKongs = 0;
    int wildKongs = 0;
    int exposedKongs = 0; // claimed kongs and tiles added to a pong
    int concealedKongs = 0;
    int openMelds = 0;    // chows, pongs and kongs made with a claimed tile
};

struct HandOutcome {
    int winner = -1;    // seat 0-3; -1 for a drawn hand
    int discarder = -1; // the seat whose discard was won on; -1 for a self-draw
    bool kongDraw = false; // the winning tile was a replacement draw after a kong
    bool hardWin = false;  // no wild tile stood in for another tile
    bool robbedKong = false; // won on the tile another seat added to its pong (the discarder is that seat)
    int banker = 0;
    int stake = 10;        // the room's base stake
    std::array<SeatTally, 4> seats{};
};

// Rows of a seat's settlement column, as the settlement frames carry them.
namespace row {
constexpr int WinType = 0;
constexpr int DragonKongs = 1; // red in bits 0-3, green in bits 4-7
constexpr int WildKongs = 2;
constexpr int ExposedKongs = 3;
constexpr int ConcealedKongs = 4;
constexpr int HardWin = 5;
constexpr int Discarder = 6;
constexpr int OpenMelds = 7;
constexpr int Liability = 8;
constexpr int Banker = 9;
constexpr int SelfDraw = 10;
constexpr int Stake = 11;
constexpr int Currency = 13;
constexpr int AmountSign = 14; // low byte 0: the final amount is a loss
} // namespace row

// Win types: a plain win, a win on the replacement tile of a kong, and a win
// on the tile another seat added to its pong (robbing the kong).
constexpr int kWinPlain = 1;
constexpr int kWinOnKong = 17;
constexpr int kWinRobbedKong = 65;

struct Settlement {
    std::array<int64_t, 4> amounts{};  // signed; they add up to 0
    std::array<int, 4> fans{};         // winner +fan, each payer -fan, others 0
    std::array<std::array<int16_t, 16>, 4> rows{};
    std::array<uint64_t, 4> subtotals{}; // the amount without its sign
};

// The winner's fan: 1, plus 1 for a hard win, 1 for a self-draw, 1 for
// robbing a kong and 1 for every kong the winner laid (single-tile, exposed
// and concealed).
int WinnerFan(const HandOutcome& h);

// Who pays: on a self-draw each other seat pays stake x fan; on a discard the
// discarder alone pays it, and on a robbed kong the seat that added the tile. A drawn hand moves nothing.
Settlement Settle(const HandOutcome& h);

} // namespace tableserver
