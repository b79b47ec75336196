#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace table {

// Table play's own state: the working tile sizes, the wall ring, the wild
// and indicator tiles and the last discard.
struct TableState {
    std::array<int16_t, 4> TileWidth{};
    std::array<int16_t, 4> TileHeight{};

    int16_t WildTile = -1; // -1 until the hand's wild tile is named
    int16_t PiZiTile = 0;  // the indicator tile
    int16_t PiZiImage = 0; // the tile image showing it
    int16_t WallHead = 0;
    int16_t WallTail = 0;
    int16_t DrawFromHead = -1;
    int16_t DiscardDue = 0;

    int16_t LastDiscardTile = 0;
    int16_t LastDiscardImage = -1;
    int16_t PrevDiscardImage = -1;
    int16_t LastDiscardView = 0;
    int16_t LastDrawnImage = -1;

    // The local hand's codes before the last arrangement, by slot.
    std::array<int16_t, 18> OldCodes{};

    // The right-hand seat's laid discards, in laying order.
    std::array<int16_t, 24> SideTiles{};
    int16_t SideTileCount = 0;

    // Draws and discard rows.
    int16_t DrawSkipsDiscardRow = 0; // -1: the next draw lays no discard
    int16_t DiscardBlinkCount = 0;   // 3 when a discard has just been laid
    int16_t SideDrawTile = 0;        // Left and Top at which the last discard was laid
    int16_t SideDrawSlot = 0;

    // The local player's claim choices: chow pairs and kong candidates as
    // hand slots; entries 0 (and 1) hold the choice that was sent.
    std::array<int16_t, 6> ChiChoices{};
    std::array<int16_t, 10> KongCandidates{};

    // Picks the hidden hand tile another seat discards from inside its hand.
    std::minstd_rand Random;
};

} // namespace table
