// A spectator started from the lobby's command line watches whole hands:
// the frames come through the socket and the scheduler's ticks, as in a
// real run, from the login to the settlement.
#include "table_fixture.h"

#include "core/scheduler.h"
#include "core/startup.h"
#include "protocol/operations.h"
#include "results/result_forms.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

#include <vector>

using namespace dispatch_test;

namespace {

// A spectator line: five fields and the watched user's id, 1002 (seat bit 4).
const QString kWatchLine = QStringLiteral("watcher$key$127.0.0.1$7000$上海$1002");

GameFrame WatchRecord(int seatIndex)
{
    User u;
    u.seat = 1 << seatIndex;
    u.account = "p" + QByteArray::number(seatIndex);
    u.nickname = QStringLiteral("玩家%1").arg(seatIndex);
    GameFrame f = UserFrame(u);
    PutLE(f, 226, 1000 + seatIndex, 8);
    return f;
}

// One hand as the server sends it to a watcher: seat bit 1 is the banker,
// every seat draws and discards `rounds` times, seat bit 2 wins on the
// banker's last discard.
std::vector<GameFrame> WatchedHand(int rounds)
{
    std::vector<GameFrame> out;
    out.push_back(HandStartFrame(1, {3, 4, 2, 5}));
    out.push_back(DealFrame(12, {}));
    for (int bit : {1, 2, 4, 8, 1})
        out.push_back(DrawFrame(bit));
    out.push_back(WildTileFrame(0, 0x25, 0x24));
    const int tiles[] = {0x11, 0x12, 0x13, 0x14, 0x17, 0x21, 0x29, 0x43, 0x81, 0x88};
    for (int k = 0; k < 4 * rounds; ++k) {
        const int bit = 1 << (k % 4);
        if (k > 0)
            out.push_back(DrawFrame(bit));
        out.push_back(DiscardFrame(bit, tiles[k % 10], 1));
    }
    out.push_back(OperationFrame(2, protocol::OpWin));
    for (int i = 0; i < 4; ++i) {
        GameFrame reveal = Frame(15, 1 << i, {0x11, 0x12, 0x13, 0x14});
        if (i == 0)
            reveal[16] = 0x25, reveal[17] = 0x26, reveal[18] = 0x27;
        out.push_back(reveal);
    }
    const std::array<int64_t, 4> amounts{-10, 10, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const int64_t a = amounts[static_cast<std::size_t>(i)];
        out.push_back(SeatResultFrame(1 << i, static_cast<uint64_t>(a < 0 ? -a : a), a < 0 ? 0 : 1, a > 0 ? 2 : 0,
                                      QStringLiteral("点炮")));
    }
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k) {
            const int64_t a = amounts[static_cast<std::size_t>(i)];
            const std::array<std::array<int, 4>, 4> rows = {
                {{a > 0 ? 1 : 0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 10}, {0, 1, a >= 0 ? 1 : 0, 0}}};
            const auto magnitude = static_cast<uint64_t>(a < 0 ? -a : a);
            out.push_back(SettlementFrame(1 << i, k, rows[static_cast<std::size_t>(k)], magnitude, a >= 0, magnitude));
        }
    return out;
}

struct WatchedGame : testing_support::TestClient {
    uint8_t token = 0;

    WatchedGame() { client.window.Sound.SoundOn = 0; }

    void Tick()
    {
        clock.Advance(core::kTickMs);
        core::TimerBong_Timer(client);
    }
    bool Failed() const { return process.ended || !dialogs.texts.isEmpty(); }

    QByteArray Stamped(GameFrame f)
    {
        f[260] = ++token;
        f[261] = 0x40;
        return testing_support::Bytes(f);
    }
    // The frames arrive at once; the scheduler takes them in at its pace.
    // False when they are not all taken within `ticks`.
    bool Serve(const std::vector<GameFrame>& frames, int ticks)
    {
        QByteArray bytes;
        for (const GameFrame& f : frames)
            bytes += Stamped(f);
        tcp.Arrive(bytes);
        for (int i = 0; i < ticks && !Failed(); ++i) {
            if (!client.core.RecvRing.HasFrame() && tcp.incoming.isEmpty())
                return true;
            Tick();
        }
        return false;
    }

    // Start-up from the spectator's line, the login and the four records.
    void Join()
    {
        ASSERT_TRUE(core::Form_Load(client, kWatchLine, QSize(1280, 1024)));
        ASSERT_TRUE(client.game.WatchMode);
        tcp.state = platform::TcpLink::Connected;
        for (int i = 0; i < 8 && tcp.sent.isEmpty(); ++i)
            Tick();
        ASSERT_FALSE(tcp.sent.isEmpty());
        std::vector<GameFrame> join{LoginReplyFrame(1, 0, 8)};
        for (int i = 0; i < 4; ++i)
            join.push_back(WatchRecord(i));
        join.push_back(TableStatusFrame(2, 1));
        ASSERT_TRUE(Serve(join, 100));
        ASSERT_EQ(client.game.Players[0].SeatBit, 4);
    }
};

} // namespace

TEST(WatchedGame, AHandFromTheDealToTheSettlement)
{
    WatchedGame t;
    t.Join();
    GameState& g = t.client.game;
    table::TableState& tab = t.client.table;
    const std::vector<GameFrame> hand = WatchedHand(3);
    // Up to the banker's discard after the deal.
    const std::vector<GameFrame> opening(hand.begin(), hand.begin() + 9);
    ASSERT_TRUE(t.Serve(opening, 200));
    ASSERT_FALSE(t.Failed());
    // Seat bit 4 is the watched view 0; seat bit 1 the banker, view 2.
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(g.Players[static_cast<std::size_t>(v)].HandCount, 13) << v;
    EXPECT_EQ(tab.LastDiscardView, 2);
    EXPECT_EQ(tab.WildTile, 0x25);

    const std::vector<GameFrame> rest(hand.begin() + 9, hand.end());
    ASSERT_TRUE(t.Serve(rest, 2000));
    ASSERT_FALSE(t.Failed()) << t.dialogs.texts.join('|').toStdString();
    // Seat bit 2 is view 1: its name turns red on the score sheet.
    EXPECT_EQ(g.WinnerView, 1);
    EXPECT_EQ(t.client.Score->ID[1].ForeColor, 0xFF);
    EXPECT_EQ(t.client.results.HandResultText, QStringLiteral("点炮"));
    EXPECT_EQ(g.HandAmounts[1], 10);
    // Each seat laid three discards.
    EXPECT_EQ(tab.SideTileCount, 3);
}

// A spectator that falls behind does not end: 2000 frames of watched hands
// arrive at once, more than the receive ring holds; the rest waits in the
// socket and every hand is drawn to its end.
TEST(WatchedGame, ABurstOfTwoThousandFramesIsDrawnToTheEnd)
{
    WatchedGame t;
    t.Join();
    std::vector<GameFrame> burst;
    int hands = 0;
    while (burst.size() < 2000) {
        const std::vector<GameFrame> hand = WatchedHand(8);
        burst.insert(burst.end(), hand.begin(), hand.end());
        ++hands;
    }
    // As after a joining snapshot: every discard pauses the table a second.
    t.client.game.TableSnapshotDone = -1;
    const int before = t.client.game.RoundNo;
    const uint32_t start = t.clock.ms;
    ASSERT_TRUE(t.Serve(burst, 100000)) << "frames left: " << t.client.core.RecvRing.Waiting();
    ASSERT_FALSE(t.Failed()) << t.dialogs.texts.join('|').toStdString();
    EXPECT_EQ(t.client.game.RoundNo, before + hands);
    EXPECT_GE(t.clock.ms - start, 32u * 1000 * static_cast<uint32_t>(hands));
    EXPECT_EQ(t.client.core.DispatchHolds, 0);
    EXPECT_EQ(t.client.game.WinnerView, 1);
    EXPECT_EQ(t.client.core.EchoToken[0], t.token);
}
