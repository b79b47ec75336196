#pragma once

#include <cstdint>

namespace table {

struct TableModel;

// Tile codes: bits 0-3 the rank, bits 4-7 one suit bit.
constexpr int16_t kSuitHonours = 0x10;
constexpr int16_t kSuitBamboo = 0x20;
constexpr int16_t kSuitCharacters = 0x40;
constexpr int16_t kSuitDots = 0x80;
constexpr int16_t kRedDragon = 0x15;
constexpr int16_t kGreenDragon = 0x16;

constexpr int kTileImages = 136;
constexpr int kTilePictures = 180;
// The group of large upright faces of the local hand.
constexpr int kLargeFaceGroup = 4;
// Offsets inside a group of 36 pictures.
constexpr int kStandingBack = 7;
constexpr int kFaceDownBack = 8;

// The position of the highest set bit of a byte; 0 and 1 give 0. Turns seat
// bits (1, 2, 4, 8) and suit bits into indexes.
constexpr uint8_t BitIndex(uint8_t value)
{
    uint8_t i = 0;
    while (value > 1) {
        value >>= 1;
        ++i;
    }
    return i;
}

// 2 to the power n; n of 0 or less gives 1.
constexpr int16_t BitOf(int16_t n) { return n <= 0 ? 1 : static_cast<int16_t>(1 << n); }

constexpr int SuitBits(int code) { return (code / 16) % 16; }
constexpr int Rank(int code) { return code % 16; }
constexpr int SuitIndex(int code) { return BitIndex(static_cast<uint8_t>(SuitBits(code))); }

// The picture of a tile in a group (views 0-3, or 4 for the large faces).
constexpr int TilePicIndex(int group, int code) { return 36 * group + 9 * SuitIndex(code) + Rank(code) - 1; }

// The view of a seat as the local player sees it, 0 the local player.
constexpr int SeatView(uint8_t ownSeatBit, uint8_t seatBit)
{
    return (BitIndex(ownSeatBit) + 4 - BitIndex(seatBit)) & 3;
}

// Shows tile picture `picture` on tile image `image`; out-of-range numbers
// do nothing. A picture that cannot be loaded leaves the image hidden.
void ShowTileImage(TableModel& m, int image, int picture);

// True when the tile image shows one of the local player's hand tiles.
bool HandHasTile(TableModel& m, int image);
// The local hand slot whose image is `image`, -1 when none is.
int FindHandTile(TableModel& m, int image);

// Counts, sorts and redraws the first `count` hand tiles of a seat: wild
// tiles first, then red and green dragons, then dots, characters, bamboo
// and honours by rising rank.
void ArrangeHand(TableModel& m, int view, int count);

} // namespace table
