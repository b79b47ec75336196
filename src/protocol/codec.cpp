#include "protocol/codec.h"

#include "protocol/kinds.h"

#include <algorithm>
#include <cstring>

namespace protocol {

void EncodeFrame(const GameCmd& cmd, const EncodeContext& ctx, uint8_t* out)
{
    std::memset(out, 0, kFrameSize);
    const auto kind = static_cast<uint16_t>(cmd.Kind);
    out[frame_byte::KindHigh] = static_cast<uint8_t>(cmd.Kind / 256);
    out[frame_byte::Kind] = static_cast<uint8_t>(kind & 0xFF);
    out[frame_byte::B1] = cmd.B1;
    out[frame_byte::Seat] = cmd.Seat;
    out[frame_byte::B3] = cmd.B3;
    for (int i = 0; i < 4; ++i) {
        const auto w = static_cast<uint16_t>(cmd.Data[static_cast<std::size_t>(i)]);
        out[frame_byte::Data + 2 * i] = static_cast<uint8_t>(w >> 8);
        out[frame_byte::Data + 2 * i + 1] = static_cast<uint8_t>(w & 0xFF);
    }
    const uint8_t k = out[frame_byte::Kind];
    if (k == CmdChat) {
        std::memcpy(out + frame_byte::ChatText, ctx.chatText.constData(),
                    std::min<std::size_t>(static_cast<std::size_t>(ctx.chatText.size()), 2 * kChatTextMaxChars));
        if (cmd.Data[0] >= 1 && cmd.Data[0] <= 3)
            std::memcpy(out + frame_byte::ChatName, ctx.playerName.constData(),
                        std::min<std::size_t>(static_cast<std::size_t>(ctx.playerName.size()), kNameBytes));
    }
    if (k == CmdDiscard || k == CmdOperation)
        out[frame_byte::B3] = ctx.turnStamp;
    out[frame_byte::EchoToken] = ctx.echo0;
    out[frame_byte::EchoToken + 1] = ctx.echo1;
}

GameCmd DecodeHeader(const uint8_t* f)
{
    GameCmd m;
    m.Kind = f[frame_byte::Kind];
    m.B1 = f[frame_byte::B1];
    m.Seat = f[frame_byte::Seat] & kSeatMask;
    m.B3 = f[frame_byte::B3];
    const bool signedWords = m.Kind == MsgSettlement;
    for (int i = 0; i < 4; ++i) {
        const uint8_t hi = f[frame_byte::Data + 2 * i];
        const uint8_t lo = f[frame_byte::Data + 2 * i + 1];
        m.Data[static_cast<std::size_t>(i)] =
            signedWords ? static_cast<int16_t>(static_cast<uint16_t>(hi << 8 | lo)) : static_cast<int16_t>(lo);
    }
    return m;
}

} // namespace protocol
