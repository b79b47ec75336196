// A whole game of two hands through the real client: start-up from the
// lobby's command line, the login, the seating, two hands from their start
// to their settlement and the ready command between them. The frames come
// through the socket and the scheduler's ticks, as in a real run.
//
// Only the kinds of seating, hand start and end, table status, login and
// ready marks are scripted here; the deal, draws, discards and claims of a
// hand are left out.
#include "table_fixture.h"

#include "core/scheduler.h"
#include "core/startup.h"
#include "protocol/kinds.h"
#include "results/result_forms.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

const QString kCommandLine = QStringLiteral("alice$secret$127.0.0.1$7000$上海$0$$0$$$0$Olvenhall$Table 1$0$0$");

// The server's side of the game, as tools/tableserver plays it: alice sits
// at seat index 1 (seat bit 2).
struct WholeGame : testing_support::TestClient {
    uint8_t token = 0;

    WholeGame()
    {
        lobby.title = QStringLiteral("Olvenhall");
        client.window.Sound.SoundOn = 0;
    }

    void Tick()
    {
        clock.Advance(core::kTickMs);
        core::TimerBong_Timer(client);
    }

    // The server sends a frame; the client's scheduler takes it in.
    void Serve(GameFrame f)
    {
        f[260] = ++token;
        f[261] = 0x40;
        tcp.Arrive(testing_support::Bytes(f));
        for (int i = 0; i < 4 && client.core.RecvRing.HasFrame(); ++i)
            Tick();
        ASSERT_FALSE(client.core.RecvRing.HasFrame());
        ASSERT_FALSE(process.ended) << "after a frame of kind " << int(f[3]);
        ASSERT_TRUE(dialogs.texts.isEmpty()) << dialogs.texts.join('|').toStdString();
    }

    // The frames the client wrote to the socket since the last call.
    std::vector<GameFrame> Sent()
    {
        std::vector<GameFrame> out;
        for (qsizetype at = 0; at + protocol::kFrameSize <= tcp.sent.size(); at += protocol::kFrameSize) {
            GameFrame f;
            std::copy(tcp.sent.begin() + at, tcp.sent.begin() + at + protocol::kFrameSize, f.begin());
            out.push_back(f);
        }
        tcp.sent.clear();
        return out;
    }

    void Hand(int bankerBit, std::array<int, 4> dice, std::array<int64_t, 4> amountsBySeat)
    {
        Serve(HandStartFrame(bankerBit, dice));
        Serve(WildTileFrame(0, 0x23, 0x22));
        for (int i = 0; i < 4; ++i) {
            GameFrame reveal = Frame(15, 1 << i, {0x11, 0x12, 0x13, 0x14});
            if (i == 0)
                reveal[16] = 0x25, reveal[17] = 0x26, reveal[18] = 0x27;
            Serve(reveal);
        }
        for (int i = 0; i < 4; ++i) {
            const int64_t a = amountsBySeat[static_cast<std::size_t>(i)];
            Serve(SeatResultFrame(1 << i, static_cast<uint64_t>(a < 0 ? -a : a), a < 0 ? 0 : 1, a > 0 ? 3 : 0,
                                  QStringLiteral("自摸")));
        }
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 4; ++k) {
                const int64_t a = amountsBySeat[static_cast<std::size_t>(i)];
                // Rows 4k to 4k + 3: win type, ..., base stake 10 (row 11),
                // coins (row 13), the sign of the amount (row 14).
                const std::array<std::array<int, 4>, 4> rows = {{{a > 0 ? 1 : 0, 0, 0, 0},
                                                                 {0, 0, 0, 0},
                                                                 {0, 0, 0, 10},
                                                                 {0, 1, a >= 0 ? 1 : 0, 0}}};
                const auto magnitude = static_cast<uint64_t>(a < 0 ? -a : a);
                Serve(SettlementFrame(1 << i, k, rows[static_cast<std::size_t>(k)], magnitude, a >= 0, magnitude));
            }
    }

    // Ticks on until the client sends its ready command; false when it does
    // not within the countdown.
    bool WaitForReady()
    {
        for (int i = 0; i < 20 * 20; ++i) {
            Tick();
            for (const GameFrame& f : Sent())
                if (f[3] == protocol::CmdReady && f[15] == 1 && f[6] == 2)
                    return true;
        }
        return false;
    }
};

} // namespace

TEST(WholeGame, TwoHandsFromTheLoginToTheSecondSettlement)
{
    WholeGame t;
    Client& c = t.client;
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;

    ASSERT_TRUE(core::Form_Load(c, kCommandLine, QSize(1280, 1024)));
    t.tcp.state = platform::TcpLink::Connected;
    for (int i = 0; i < 8 && t.tcp.sent.isEmpty(); ++i)
        t.Tick();
    const std::vector<GameFrame> login = t.Sent();
    ASSERT_EQ(login.size(), 1u);
    EXPECT_EQ(login[0][3], protocol::CmdLogin);

    // Login, seating, game start.
    t.Serve(LoginReplyFrame(1, 0, 8));
    EXPECT_EQ(g.InputEnabled, -1);
    EXPECT_EQ(t.lobby.posted.back(), 0x303u);
    const std::array<User, 4> users = FourUsers(1);
    for (int i = 0; i < 4; ++i)
        t.Serve(SeatNameFrame(1 << i, users[static_cast<std::size_t>(i)].account));
    for (const User& u : users)
        t.Serve(UserFrame(u));
    EXPECT_EQ(g.Players[0].SeatBit, 2);
    EXPECT_EQ(g.GamePhase, 5); // the seat draw ran
    GameFrame start = TableStatusFrame(2, 1);
    PutLE(start, 268, 77001, 4);
    t.Serve(start);
    EXPECT_EQ(c.core.ReconnectId, 77001);
    EXPECT_EQ(g.GameRunning, -1);

    // The first hand: alice (seat bit 2) wins 30 by herself.
    t.Hand(1, {3, 4, 2, 5}, {-10, 30, -10, -10});
    EXPECT_EQ(g.RoundNo, 1);
    EXPECT_EQ(g.HandStartedFlag, 1);
    EXPECT_EQ(g.HandAmounts[0], 30);
    EXPECT_EQ(c.results.HandResultText, QStringLiteral("自摸"));
    EXPECT_EQ(g.ShownWallCount, 3);
    EXPECT_TRUE(c.core.SchedReady.On);
    EXPECT_EQ(c.Score->State[4]->List(0), QStringLiteral("最终分：30金币"));
    EXPECT_EQ(f.Cash[0].Caption, QStringLiteral("10030金币"));

    // The countdown runs out: the table is cleared and the ready command goes.
    ASSERT_TRUE(t.WaitForReady());
    EXPECT_EQ(g.TableCleared, -1);
    EXPECT_FALSE(c.core.SchedReady.On);

    // The others are ready too; the marks clear the table again.
    for (const User& u : users)
        t.Serve(ReadyFrame(u.account));
    for (int v = 0; v < 4; ++v)
        EXPECT_TRUE(f.OK[v].Visible) << v;

    // The second hand: the next banker; dave (seat bit 8) wins on bob's discard.
    t.Hand(2, {1, 6, 6, 1}, {-20, 0, 0, 20});
    EXPECT_EQ(g.RoundNo, 2);
    EXPECT_FALSE(f.OK[1].Visible); // the hand start took the marks down
    EXPECT_TRUE(c.core.SchedReady.On);
    EXPECT_GE(g.Countdown, 14); // counting down from 15
    EXPECT_EQ(c.Hero->Num->ListCount(), 2);
    EXPECT_EQ(c.results.CumulativeAmounts[0], 30);
    EXPECT_EQ(f.Cash[0].Caption, QStringLiteral("10030金币"));
    EXPECT_EQ(c.Hero->sumScore[2].Caption, QStringLiteral("10金币")); // dave: -10, then +20

    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
    // Every frame was answered with the latest echo token.
    ASSERT_TRUE(t.WaitForReady());
    EXPECT_EQ(c.core.EchoToken[0], t.token);
}
