#pragma once

#include "platform/gbk.h"
#include "protocol/frame.h"
#include "protocol/kinds.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace testing_support {

// A frame as the server would send it: zero bytes with the given ones set.
inline protocol::GameFrame ServerFrame(int kind, std::initializer_list<std::pair<int, int>> bytes = {})
{
    protocol::GameFrame f{};
    f[protocol::frame_byte::Kind] = static_cast<uint8_t>(kind);
    for (auto [at, value] : bytes)
        f[static_cast<std::size_t>(at)] = static_cast<uint8_t>(value);
    return f;
}

inline QByteArray Bytes(const protocol::GameFrame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), protocol::kFrameSize);
}

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
            f_[static_cast<std::size_t>(protocol::deal_byte::Tiles + 2 * i)] = static_cast<uint8_t>(code & 0x0F);
            f_[static_cast<std::size_t>(protocol::deal_byte::Tiles + 1 + 2 * i)] = static_cast<uint8_t>((code >> 4) & 0x0F);
            ++i;
        }
        return *this;
    }

    protocol::GameFrame Frame() const { return f_; }
    operator protocol::GameFrame() const { return f_; }

private:
    protocol::GameFrame f_{};
};

inline void Put(protocol::GameFrame& f, int at, const QByteArray& bytes)
{
    for (int i = 0; i < bytes.size(); ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(bytes[i]);
}

inline void PutGbk(protocol::GameFrame& f, int at, const QString& text) { Put(f, at, platform::gbk::Encode(text)); }

// An unsigned little-endian number of `n` bytes.
inline void PutLE(protocol::GameFrame& f, int at, uint64_t value, int n)
{
    for (int i = 0; i < n; ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline protocol::GameFrame Frame(int kind, int seat = 0, std::array<int, 4> data = {0, 0, 0, 0})
{
    protocol::GameFrame f = testing_support::ServerFrame(kind);
    f[protocol::frame_byte::Seat] = static_cast<uint8_t>(seat);
    for (int i = 0; i < 4; ++i) {
        const auto w = static_cast<uint16_t>(data[static_cast<std::size_t>(i)]);
        f[static_cast<std::size_t>(8 + 2 * i)] = static_cast<uint8_t>(w >> 8);
        f[static_cast<std::size_t>(9 + 2 * i)] = static_cast<uint8_t>(w & 0xFF);
    }
    return f;
}

inline protocol::GameFrame SeatNameFrame(int seatBit, const QByteArray& name)
{
    protocol::GameFrame f = Frame(protocol::MsgSeatName, seatBit);
    Put(f, 16, name);
    return f;
}

// A user record: the seat byte, the account (bytes 168-183), nickname,
// avatar id, sex and coins.
struct User {
    int seat = 15;
    QByteArray account;
    QString nickname;
    QByteArray avatar = "m1";
    int sex = 1;
    uint64_t coins = 10000;
    int vip = 0;
    uint32_t wealth = 0;
    bool ready = false;
};

inline protocol::GameFrame UserFrame(const User& u)
{
    protocol::GameFrame f = Frame(protocol::MsgUserInfo, u.seat);
    PutGbk(f, 16, u.nickname);
    Put(f, 48, u.avatar);
    f[64] = static_cast<uint8_t>(u.sex);
    PutLE(f, 96, u.coins, 8);
    PutGbk(f, 112, QStringLiteral("新手"));
    Put(f, 168, u.account);
    PutGbk(f, 184, QStringLiteral("玩家"));
    f[208] = u.ready ? 1 : 0;
    f[209] = static_cast<uint8_t>(u.vip);
    PutLE(f, 234, u.wealth, 4);
    f[255] = 1; // no prop plug-in
    return f;
}

inline protocol::GameFrame HandStartFrame(int bankerBit, std::array<int, 4> dice)
{
    return Frame(protocol::MsgHandStart, bankerBit, dice);
}

inline protocol::GameFrame WildTileFrame(int streak, int wild, int indicator)
{
    return Frame(protocol::MsgWildTile, 0, {0, streak, wild, indicator});
}

// One seat result: the amount as the server writes it (without sign, the
// loss flag in Data(1)), the fan and the result text.
inline protocol::GameFrame SeatResultFrame(int seatBit, uint64_t amountBytes, int notLoss, int fan, const QString& text = {})
{
    protocol::GameFrame f = Frame(protocol::MsgSeatResult, seatBit, {0, notLoss, 0, fan});
    PutLE(f, 16, amountBytes, 8);
    PutGbk(f, 36, text);
    return f;
}

// The k-th settlement frame of a seat: four rows, and in frame 3 the amount,
// its sign (byte 13) and the level title.
inline protocol::GameFrame SettlementFrame(int seatBit, int k, std::array<int, 4> rows, uint64_t amount = 0, bool gain = true,
                                 uint64_t subtotal = 0)
{
    protocol::GameFrame f = Frame(protocol::MsgSettlement, seatBit, rows);
    PutLE(f, 78, subtotal, 8);
    if (k == 3) {
        PutLE(f, 16, amount, 8);
        f[13] = gain ? 1 : 0;
        PutGbk(f, 24, QStringLiteral("新手"));
    }
    return f;
}

inline protocol::GameFrame TableStatusFrame(int subCode, int seat = 0, int data1 = 0, int data2 = 0)
{
    return Frame(protocol::MsgTableStatus, seat, {0, data1, data2, subCode});
}

inline protocol::GameFrame LoginReplyFrame(int result, int timeout = 0, int countdown = 8, const QByteArray& ad = {})
{
    protocol::GameFrame f = Frame(protocol::MsgLoginReply, 0, {timeout, countdown, 0, result});
    Put(f, 16, ad);
    return f;
}

inline protocol::GameFrame ReadyFrame(const QByteArray& name, int ready = 1)
{
    protocol::GameFrame f = Frame(protocol::MsgPlayerReady, 0, {0, 0, 0, ready});
    Put(f, 16, name);
    return f;
}

// The frames of a hand, as the server sends them.
inline FrameBuilder DealFrame(int perSeat, std::initializer_list<int> codes)
{
    return FrameBuilder(protocol::MsgDeal).Word(1, perSeat).DealTiles(codes);
}
inline FrameBuilder DrawFrame(int seatBit, int tile = 0) { return FrameBuilder(protocol::MsgDraw).Seat(seatBit).Word(3, tile); }
inline FrameBuilder DiscardFrame(int seatBit, int tile, int inside = 0)
{
    return FrameBuilder(protocol::MsgDiscard).Seat(seatBit).Word(1, inside).Word(3, tile);
}
inline FrameBuilder PromptFrame(int seatBit, int stamp, int mask, int seconds = 15, int falseWin = 0)
{
    return FrameBuilder(protocol::MsgTurnPrompt).Seat(seatBit).Stamp(stamp).Word(0, mask).Word(1, falseWin).Byte(protocol::turn_prompt_byte::Countdown, seconds);
}
inline FrameBuilder OperationFrame(int seatBit, int op, int t1 = 0, int t2 = 0, int t3 = 0)
{
    return FrameBuilder(protocol::MsgOperation).Seat(seatBit).Word(0, op).Word(1, t1).Word(2, t2).Word(3, t3);
}

} // namespace testing_support
