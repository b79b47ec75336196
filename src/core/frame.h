#pragma once

#include <array>
#include <cstdint>

namespace core {

// Every frame of the game protocol, in both directions, is exactly this long.
constexpr int kFrameSize = 272;

using GameFrame = std::array<uint8_t, kFrameSize>;

// Byte positions inside a frame.
namespace frame_byte {
constexpr int KindHigh = 2;
constexpr int Kind = 3;
constexpr int B1 = 5;
constexpr int Seat = 6;
constexpr int B3 = 7;
constexpr int Data = 8;        // four 16-bit words, high byte first
constexpr int Payload = 16;
constexpr int ChatText = 16;   // up to 100 characters of GBK
constexpr int ChatName = 217;  // the sender's name, 16 bytes
constexpr int EchoToken = 260; // two bytes
constexpr int ReconnectId = 268;
} // namespace frame_byte

constexpr int kChatTextMaxChars = 100;
constexpr int kNameBytes = 16;

// The command record: a frame header in decoded form.
struct GameCmd {
    int16_t Kind = 0;
    uint8_t B1 = 0;
    uint8_t Seat = 0;
    uint8_t B3 = 0;
    std::array<int16_t, 4> Data{};
};

// Frame kinds the server sends.
enum MsgKind : int16_t {
    MsgDeal = 1,
    MsgDiscard = 2,
    MsgSeatName = 3,
    MsgHandStart = 4,
    MsgDraw = 5,
    MsgTurnPrompt = 6,
    MsgOperation = 7,
    MsgSeatResult = 9,
    MsgSettlement = 17,
    MsgChat = 19,
};

// Frame kinds the client sends.
enum CmdKind : int16_t {
    CmdDiscard = 2,
    CmdOperation = 7,
    CmdReady = 16,
    CmdLeaveTable = 16,
    CmdLogin = 18,
    CmdChat = 19,
    CmdKeepAlive = 24,
    CmdReconnect = 28,
};

} // namespace core
