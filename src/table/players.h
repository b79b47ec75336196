#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

namespace table {

// One tile place of a seat.
struct TileSlot {
    int16_t Kind = 0;     // 0 free, 1 hand tile, 2 chow, 3 pong, 4 exposed kong, 5 concealed kong, 6 single-tile kong
    int16_t TileCode = 0; // 0 when cleared
    int16_t Image = -1;   // the tile image showing it, -1 none
};

// The table state of one seat, by view (0 is the local player).
struct PlayerRecord {
    QByteArray Name; // the player's name as GBK bytes, as the server sends it
    int32_t HandAmount = 0;
    uint8_t SeatBit = 0;
    int16_t BankerMark = 0;
    int16_t NextDiscardX = 0;
    int16_t NextDiscardY = 0;
    int16_t DiscardRowX = 0;
    int16_t DiscardRowY = 0;
    int16_t HandX = 0;
    int16_t HandY = 0;
    std::array<TileSlot, 18> Slots{};
    int16_t MeldEnd = 0;
    int16_t HandFirst = 0;
    int16_t HandCount = 0;
    int16_t WildInHand = 0;
    int16_t RedInHand = 0;
    int16_t RedLaid = 0;
    int16_t WildLaid = 0;
    int16_t GreenInHand = 0;
    int16_t GreenLaid = 0;
};

} // namespace table
