#pragma once

#include "table/players.h"

#include <array>
#include <cstdint>

// The game state every subsystem shares.
struct GameState {
    std::array<table::PlayerRecord, 4> Players{}; // by view; 0 is the local player
    std::array<int32_t, 4> SeatWealth{};          // by view
    bool WatchMode = false;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
};
