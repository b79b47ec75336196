#pragma once

#include "dispatch/frame_fault.h"
#include "protocol/tile_code.h"

#include <string>

namespace dispatch {

using protocol::IsTileCode;

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
