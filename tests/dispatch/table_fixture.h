#pragma once

// A client at a table, and the frames the server sends it, for the tests of
// the dispatcher's arms.

#include "core/messages.h"
#include "core/rings.h"
#include "dispatch/dispatcher.h"
#include "platform/gbk.h"
#include "platform/lobby_link.h"
#include "platform/tcp_link.h"
#include "support/frames.h"
#include "support/test_client.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace dispatch_test {

using protocol::GameFrame;

inline void Put(GameFrame& f, int at, const QByteArray& bytes)
{
    for (int i = 0; i < bytes.size(); ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(bytes[i]);
}

inline void PutGbk(GameFrame& f, int at, const QString& text) { Put(f, at, platform::gbk::Encode(text)); }

// An unsigned little-endian number of `n` bytes.
inline void PutLE(GameFrame& f, int at, uint64_t value, int n)
{
    for (int i = 0; i < n; ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline GameFrame Frame(int kind, int seat = 0, std::array<int, 4> data = {0, 0, 0, 0})
{
    GameFrame f = testing_support::ServerFrame(kind);
    f[protocol::frame_byte::Seat] = static_cast<uint8_t>(seat);
    for (int i = 0; i < 4; ++i) {
        const auto w = static_cast<uint16_t>(data[static_cast<std::size_t>(i)]);
        f[static_cast<std::size_t>(8 + 2 * i)] = static_cast<uint8_t>(w >> 8);
        f[static_cast<std::size_t>(9 + 2 * i)] = static_cast<uint8_t>(w & 0xFF);
    }
    return f;
}

inline GameFrame SeatNameFrame(int seatBit, const QByteArray& name)
{
    GameFrame f = Frame(3, seatBit);
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

inline GameFrame UserFrame(const User& u)
{
    GameFrame f = Frame(20, u.seat);
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

inline GameFrame HandStartFrame(int bankerBit, std::array<int, 4> dice)
{
    return Frame(4, bankerBit, dice);
}

inline GameFrame WildTileFrame(int streak, int wild, int indicator)
{
    return Frame(14, 0, {0, streak, wild, indicator});
}

// One seat result: the amount as the server writes it (without sign, the
// loss flag in Data(1)), the fan and the result text.
inline GameFrame SeatResultFrame(int seatBit, uint64_t amountBytes, int notLoss, int fan, const QString& text = {})
{
    GameFrame f = Frame(9, seatBit, {0, notLoss, 0, fan});
    PutLE(f, 16, amountBytes, 8);
    PutGbk(f, 36, text);
    return f;
}

// The k-th settlement frame of a seat: four rows, and in frame 3 the amount,
// its sign (byte 13) and the level title.
inline GameFrame SettlementFrame(int seatBit, int k, std::array<int, 4> rows, uint64_t amount = 0, bool gain = true,
                                 uint64_t subtotal = 0)
{
    GameFrame f = Frame(17, seatBit, rows);
    PutLE(f, 78, subtotal, 8);
    if (k == 3) {
        PutLE(f, 16, amount, 8);
        f[13] = gain ? 1 : 0;
        PutGbk(f, 24, QStringLiteral("新手"));
    }
    return f;
}

inline GameFrame TableStatusFrame(int subCode, int seat = 0, int data1 = 0, int data2 = 0)
{
    return Frame(16, seat, {0, data1, data2, subCode});
}

inline GameFrame LoginReplyFrame(int result, int timeout = 0, int countdown = 8, const QByteArray& ad = {})
{
    GameFrame f = Frame(18, 0, {timeout, countdown, 0, result});
    Put(f, 16, ad);
    return f;
}

inline GameFrame ReadyFrame(const QByteArray& name, int ready = 1)
{
    GameFrame f = Frame(23, 0, {0, 0, 0, ready});
    Put(f, 16, name);
    return f;
}

// Four players in the order the server seats them; "alice" is the local
// player at seat index `own`.
inline std::array<User, 4> FourUsers(int own)
{
    std::array<User, 4> users;
    const char* const accounts[4] = {"alice", "bob", "carol", "dave"};
    const char* const nicks[4] = {"爱丽丝", "鲍勃", "卡罗尔", "戴夫"};
    for (int i = 0; i < 4; ++i) {
        // Seat i of the table holds the account (i - own) mod 4 away.
        const int who = (i - own + 4) % 4;
        User& u = users[static_cast<std::size_t>(i)];
        u.seat = who == 0 ? 15 : 1 << i;
        u.account = accounts[who];
        u.nickname = QString::fromUtf8(nicks[who]);
        u.sex = who % 2;
        u.avatar = who % 2 ? QByteArray("m") + QByteArray::number(who + 1) : QByteArray("w") + QByteArray::number(who + 1);
    }
    return users;
}

// A client logged in as "alice", connected, the scheduler's timer running.
struct Table : testing_support::TestClient {
    Table()
    {
        tcp.state = platform::TcpLink::Connected;
        client.game.Players[0].Name = "alice";
        client.core.UserName = "alice";
        client.game.InputEnabled = -1;
        client.window.Sound.SoundOn = 0;
    }

    // Takes the frame through the receive ring, the reader and the
    // dispatcher, as the scheduler's receive task does.
    void Deliver(const GameFrame& f)
    {
        client.core.RecvRing.Append(f.data(), protocol::kFrameSize);
        core::ReadMsg(client);
        dispatch::DispatchServerMsg(client, client.core.CurMsg);
    }

    // Seats the four players as the server does: the seat names, then the
    // user records; the local player at seat index `own`.
    void SeatFour(int own = 0)
    {
        const std::array<User, 4> users = FourUsers(own);
        for (int i = 0; i < 4; ++i)
            Deliver(SeatNameFrame(1 << i, users[static_cast<std::size_t>(i)].account));
        for (const User& u : users)
            Deliver(UserFrame(u));
    }

    // The frames queued for sending, oldest first (left queued).
    std::vector<GameFrame> Queued() const
    {
        std::vector<GameFrame> out;
        const core::FrameRing& ring = client.core.SendRing;
        for (int32_t at = ring.Read; at != ring.Write; at = (at + protocol::kFrameSize) % core::kRingSize) {
            GameFrame f;
            std::copy(ring.Data() + at, ring.Data() + at + protocol::kFrameSize, f.begin());
            out.push_back(f);
        }
        return out;
    }

    bool Failed() const { return process.ended || !dialogs.texts.isEmpty(); }
};

} // namespace dispatch_test
