#pragma once

#include "protocol/frame.h"

#include <initializer_list>

namespace testing_support {

// Builds a server frame field by field, in the layout the client reads.
class FrameBuilder {
public:
    explicit FrameBuilder(int kind) { f_[protocol::frame_byte::Kind] = static_cast<uint8_t>(kind); }

    FrameBuilder& Seat(int bits)
    {
        f_[protocol::frame_byte::Seat] = static_cast<uint8_t>(bits);
        return *this;
    }
    FrameBuilder& Stamp(int b3)
    {
        f_[protocol::frame_byte::B3] = static_cast<uint8_t>(b3);
        return *this;
    }
    // Header word i (0-3), high byte first.
    FrameBuilder& Word(int i, int value)
    {
        f_[static_cast<std::size_t>(protocol::frame_byte::Data + 2 * i)] = static_cast<uint8_t>((value >> 8) & 0xFF);
        f_[static_cast<std::size_t>(protocol::frame_byte::Data + 2 * i + 1)] = static_cast<uint8_t>(value & 0xFF);
        return *this;
    }
    FrameBuilder& Byte(int at, int value)
    {
        f_[static_cast<std::size_t>(at)] = static_cast<uint8_t>(value);
        return *this;
    }
    FrameBuilder& Echo(int first, int second)
    {
        f_[protocol::frame_byte::EchoToken] = static_cast<uint8_t>(first);
        f_[protocol::frame_byte::EchoToken + 1] = static_cast<uint8_t>(second);
        return *this;
    }
    // The local player's dealt tiles: rank in byte 16 + 2i, suit bit in 17 + 2i.
    FrameBuilder& DealTiles(std::initializer_list<int> codes)
    {
        int i = 0;
        for (int code : codes) {
            f_[static_cast<std::size_t>(16 + 2 * i)] = static_cast<uint8_t>(code & 0x0F);
            f_[static_cast<std::size_t>(17 + 2 * i)] = static_cast<uint8_t>((code >> 4) & 0x0F);
            ++i;
        }
        return *this;
    }

    protocol::GameFrame Frame() const { return f_; }
    operator protocol::GameFrame() const { return f_; }

private:
    protocol::GameFrame f_{};
};

// The frames of a hand, as the server sends them.
inline FrameBuilder DealFrame(int perSeat, std::initializer_list<int> codes)
{
    return FrameBuilder(1).Word(1, perSeat).DealTiles(codes);
}
inline FrameBuilder DrawFrame(int seatBit, int tile = 0) { return FrameBuilder(5).Seat(seatBit).Word(3, tile); }
inline FrameBuilder DiscardFrame(int seatBit, int tile, int inside = 0)
{
    return FrameBuilder(2).Seat(seatBit).Word(1, inside).Word(3, tile);
}
inline FrameBuilder PromptFrame(int seatBit, int stamp, int mask, int seconds = 15, int falseWin = 0)
{
    return FrameBuilder(6).Seat(seatBit).Stamp(stamp).Word(0, mask).Word(1, falseWin).Byte(100, seconds);
}
inline FrameBuilder OperationFrame(int seatBit, int op, int t1 = 0, int t2 = 0, int t3 = 0)
{
    return FrameBuilder(7).Seat(seatBit).Word(0, op).Word(1, t1).Word(2, t2).Word(3, t3);
}

} // namespace testing_support
