#pragma once

#include <cstdint>

namespace protocol {

// Operation codes of kind-7 frames; the same bits form the mask of the
// operations a turn prompt offers (data word 0).
enum OperationCode : int16_t {
    OpPass = 1,
    OpChow = 4,
    OpPong = 8,
    OpExposedKong = 16,
    OpConcealedKong = 32,
    OpSpecialKong = 64,
    OpWin = 128,
    OpFalseWin = 129,
};

// The flags above the tile code in the data words the client sends.
constexpr int kTileCodeMask = 0x0FFF;
constexpr int kClaimTileFlag = 0x2000;
constexpr int kDiscardTileFlag = 0x4000;

// A tile as a claim sends it.
constexpr int16_t ClaimTile(int code) { return static_cast<int16_t>((code & kTileCodeMask) | kClaimTileFlag); }
// A tile as a discard sends it.
constexpr int16_t DiscardTile(int code) { return static_cast<int16_t>((code & kTileCodeMask) | kDiscardTileFlag); }

} // namespace protocol
