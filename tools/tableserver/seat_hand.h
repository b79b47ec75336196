#pragma once

#include "claims.h"
#include "scoring.h"
#include "tiles.h"

#include <array>
#include <vector>

namespace tableserver {

enum class MeldKind { Chow, Pong, ExposedKong, ConcealedKong };

struct Meld {
    MeldKind kind = MeldKind::Pong;
    std::array<Tile, 3> tiles{}; // as the operation frame carried them
    bool claimed = false;        // made with another seat's discard
};

// One seat's tiles in a hand.
struct SeatHand {
    std::vector<Tile> concealed; // in the order they came
    std::vector<Meld> melds;
    SeatTally tally;
    int discards = 0;
    int rowDiscards = 0;       // discards still lying in the seat's row (not claimed, not special)
    std::vector<Tile> specials; // red dragons, green dragons and wild tiles laid in its single-tile kong row
    Tile drawn = 0;       // the tile drawn this turn, 0 when the turn began without a draw
    bool kongDraw = false; // that tile was a replacement after a kong

    bool Holds(Tile t) const;
    // Takes one tile of this code out of the concealed tiles; false if none.
    bool Remove(Tile t);
    bool HasPong(Tile t) const;
};

// The operations open to a seat on its own turn: win, concealed kong and
// single-tile kong need a drawn tile; a kong also needs a tile left in the
// wall for its replacement draw.
int OwnTurnMask(const SeatHand& h, Tile wild, bool wallEmpty);

// The operations open to a seat on another seat's discard. Nothing can be
// claimed of a red dragon, green dragon or wild tile (they only ever go to
// the discarder's single-tile kong row); a chow only by the next seat.
int ClaimMask(const SeatHand& h, Tile discard, Tile wild, bool isNextSeat, bool wallEmpty);

// Concealed kongs the hand can declare: sets of four of a tile other than
// the red dragon, the green dragon and the wild tile.
std::vector<Tile> ConcealedKongTiles(const SeatHand& h, Tile wild);

// Single-tile kongs the hand can declare: red dragon, green dragon, wild
// tile, and a tile that completes one of its own pongs.
std::vector<Tile> SingleKongTiles(const SeatHand& h, Tile wild);

} // namespace tableserver
