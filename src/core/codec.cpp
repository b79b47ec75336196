#include "core/codec.h"

#include "app/client.h"
#include "chat/chat.h"
#include "core/rings.h"
#include "platform/gbk.h"
#include "table/tiles.h"

#include <cstring>

namespace core {

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
    m.Seat = f[frame_byte::Seat] & 0x0F;
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

QByteArray GbkPrefix(const QString& text, int maxChars)
{
    const QList<uint> cps = text.toUcs4();
    QByteArray out;
    const int n = std::min<int>(static_cast<int>(cps.size()), maxChars);
    for (int i = 0; i < n; ++i)
        out += platform::gbk::EncodeChar(cps[i]);
    return out;
}

void SendMsg(Client& c, const GameCmd& cmd)
{
    CoreState& s = c.core;
    EncodeContext ctx;
    ctx.echo0 = s.EchoToken[0];
    ctx.echo1 = s.EchoToken[1];
    ctx.turnStamp = s.TurnStamp;
    if ((static_cast<uint16_t>(cmd.Kind) & 0xFF) == CmdChat) {
        if (s.ChatText.isEmpty())
            return;
        ctx.chatText = GbkPrefix(s.ChatText, kChatTextMaxChars);
        ctx.playerName = c.game.Players[0].Name.left(kNameBytes);
        s.ChatText.clear();
    }
    // Encoded straight into the send ring's next slot.
    if (uint8_t* slot = ReserveSendSlot(c, cmd.Kind)) {
        EncodeFrame(cmd, ctx, slot);
        CommitSendSlot(c);
    }
}

void SendRawFrame(Client& c, GameFrame& frame)
{
    frame[frame_byte::EchoToken] = c.core.EchoToken[0];
    frame[frame_byte::EchoToken + 1] = c.core.EchoToken[1];
    QueueFrame(c, frame.data());
}

void ReadMsg(Client& c)
{
    CoreState& s = c.core;
    std::memcpy(s.RecvFrame.data(), s.RecvRing.FrontFrame(), kFrameSize);
    s.RecvRing.PopFrame();
    s.CurMsg = DecodeHeader(s.RecvFrame.data());

    if (s.CurMsg.Kind == MsgSeatName) {
        QByteArray& name = s.SeatNames[table::BitIndex(s.CurMsg.Seat)];
        for (int i = frame_byte::Payload; i < frame_byte::Payload + kNameBytes && s.RecvFrame[i] != 0; ++i)
            name += static_cast<char>(s.RecvFrame[i]);
    } else if (s.CurMsg.Kind == MsgChat) {
        // A failure while a chat frame is shown abandons only that frame;
        // the read position has already moved on.
        try {
            chat::OnChatFrame(c);
        } catch (const std::exception& e) {
            qWarning("chat frame dropped: %s", e.what());
        }
    }
}

} // namespace core
