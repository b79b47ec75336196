#pragma once

namespace protocol {

// True for a tile code: one byte with exactly one suit bit (0x10 honours,
// 0x20 bamboo, 0x40 characters, 0x80 dots) and a rank of 1-9, 1-7 for the
// honours.
constexpr bool IsTileCode(int value)
{
    if (value < 0 || value > 0xFF)
        return false;
    const int suit = value >> 4;
    const int rank = value & 0x0F;
    if (suit != 1 && suit != 2 && suit != 4 && suit != 8)
        return false;
    return rank >= 1 && rank <= (suit == 1 ? 7 : 9);
}

// True for the bits 1, 2, 4 and 8 that name a seat.
constexpr bool IsSeatBit(int bit) { return bit == 1 || bit == 2 || bit == 4 || bit == 8; }

} // namespace protocol
