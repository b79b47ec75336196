#include "core/messages.h"

#include "app/client.h"
#include "core/rings.h"
#include "platform/gbk.h"
#include "protocol/codec.h"
#include "protocol/kinds.h"
#include "table/tiles.h"

#include <cstring>

namespace core {

QByteArray GbkPrefix(const QString& text, int maxChars)
{
    const QList<uint> cps = text.toUcs4();
    QByteArray out;
    const int n = std::min<int>(static_cast<int>(cps.size()), maxChars);
    for (int i = 0; i < n; ++i)
        out += platform::gbk::EncodeChar(cps[i]);
    return out;
}

void SendMsg(Client& c, const protocol::GameCmd& cmd)
{
    CoreState& s = c.core;
    protocol::EncodeContext ctx;
    ctx.echo0 = s.EchoToken[0];
    ctx.echo1 = s.EchoToken[1];
    ctx.turnStamp = s.TurnStamp;
    if ((static_cast<uint16_t>(cmd.Kind) & 0xFF) == protocol::CmdChat) {
        if (s.ChatText.isEmpty())
            return;
        ctx.chatText = GbkPrefix(s.ChatText, protocol::kChatTextMaxChars);
        ctx.playerName = platform::gbk::CutBytes(c.game.Players[0].Name, protocol::kNameBytes);
        s.ChatText.clear();
    }
    // Encoded straight into the send ring's next slot.
    if (uint8_t* slot = ReserveSendSlot(c, cmd.Kind)) {
        protocol::EncodeFrame(cmd, ctx, slot);
        CommitSendSlot(c);
    }
}

void SendRawFrame(Client& c, protocol::GameFrame& frame)
{
    frame[protocol::frame_byte::EchoToken] = c.core.EchoToken[0];
    frame[protocol::frame_byte::EchoToken + 1] = c.core.EchoToken[1];
    QueueFrame(c, frame.data());
}

void ReadMsg(Client& c)
{
    CoreState& s = c.core;
    std::memcpy(s.RecvFrame.data(), s.RecvRing.FrontFrame(), protocol::kFrameSize);
    s.RecvRing.PopFrame();
    s.CurMsg = protocol::DecodeHeader(s.RecvFrame.data());

    if (s.CurMsg.Kind == protocol::MsgSeatName) {
        QByteArray& name = s.SeatNames[table::BitIndex(s.CurMsg.Seat)];
        const int first = protocol::frame_byte::Payload;
        for (int i = first; i < first + protocol::kNameBytes && s.RecvFrame[i] != 0; ++i)
            name += static_cast<char>(s.RecvFrame[i]);
    } else if (s.CurMsg.Kind == protocol::MsgChat) {
        // A failure while a chat frame is shown abandons only that frame;
        // the read position has already moved on.
        try {
            s.Hooks.ChatFrameRead();
        } catch (const std::exception& e) {
            qWarning("chat frame dropped: %s", e.what());
        }
    }
}

} // namespace core
