#pragma once

#include "dispatch/frame_fault.h"

#include <string>

namespace dispatch {

// True for a tile code: one byte with exactly one suit bit and a rank of
// 1-9, 1-7 for the honours.
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

inline void RequireTile(int value, const char* what)
{
    if (!IsTileCode(value))
        throw FrameFault(std::string(what) + ": no tile " + std::to_string(value));
}

inline void RequireRange(int value, int low, int high, const char* what)
{
    if (value < low || value > high)
        throw FrameFault(std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) + "-" +
                         std::to_string(high));
}

inline void Require(bool condition, const char* what)
{
    if (!condition)
        throw FrameFault(what);
}

} // namespace dispatch
