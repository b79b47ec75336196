#pragma once

// A client at a table, and the frames the server sends it, for the tests of
// the dispatcher's arms.

#include "core/messages.h"
#include "core/rings.h"
#include "dispatch/dispatcher.h"
#include "platform/gbk.h"
#include "platform/lobby_link.h"
#include "platform/tcp_link.h"
#include "support/frame_builder.h"
#include "support/test_client.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace dispatch_test {

using protocol::GameFrame;
using namespace testing_support;

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
