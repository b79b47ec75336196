#pragma once

#include "tiles.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tableserver {

// A robot's own-turn choice: discard a tile, declare a win, declare the kong
// a tile makes (single-tile, concealed or added), or pass (let the robot
// choose its discard itself).
struct ScriptedTurn {
    enum Action { Discard, Win, Kong, Pass };
    Action action = Pass;
    Tile tile = 0;
    int line = 0; // where it was written, for notes
};

// A robot's answer to a discard (or to a kong that can be robbed) of `tile`.
struct ScriptedClaim {
    int op = 1;                 // an operation code: pass, chow, pong, exposed kong, win
    Tile tile = 0;              // the discard it answers
    std::array<Tile, 2> chow{}; // the two hand tiles of a chow
    bool used = false;
    int line = 0;
};

// One hand of a preset game.
struct PresetHand {
    std::optional<int> banker;           // replaces the usual banker rule for this hand
    std::optional<std::array<int, 4>> dice;
    std::vector<Tile> wall;              // 136 tiles, ring position 0 first; empty: shuffled
    std::array<std::vector<ScriptedTurn>, 4> turns;
    std::array<std::vector<ScriptedClaim>, 4> claims;
    bool claimsScripted = false;         // robots claim only what the claim lines say
};

// A whole preset game: the hands in the order they are played, then
// shuffled hands as usual.
struct Preset {
    int minFan = 1; // the fewest fan a win needs; a win below it is a false win
    std::vector<PresetHand> hands;
};

// Reads the text of a preset file (format in PROTOCOL.md). On a fault returns
// nothing and sets `error` to "line N: what is wrong".
std::optional<Preset> ParsePreset(const std::string& text, std::string& error);

// Reads a tile name as the trace writes it: "1B"-"9B", "1C"-"9C", "1D"-"9D",
// "E", "S", "W", "N", "Rd", "Gd", "Wd". 0 for anything else.
Tile TileByName(const std::string& name);

} // namespace tableserver
