#pragma once

#include <cstdint>

namespace table {

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

} // namespace table
