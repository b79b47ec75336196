#include "helpers.h"
#include "table.h"
#include "wallet.h"

#include <gtest/gtest.h>

using namespace tableserver;

namespace {

struct BuyCase {
    int64_t coins;
    int64_t reserve;
    GoodsOrder order;
    bool taken;
    int64_t coinsAfter;
    int32_t stockAfter;
};

class BuyTest : public ::testing::TestWithParam<BuyCase> {};

TEST_P(BuyTest, CoinsPayForWhatIsBoughtOrNothingChanges)
{
    const BuyCase& k = GetParam();
    WalletConfig config; // 20 coins a cigarette, 10 to start with
    Wallet w = FreshWallet(config);
    int64_t coins = k.coins;
    EXPECT_EQ(Buy(w, coins, k.order, config, k.reserve).empty(), k.taken);
    EXPECT_EQ(coins, k.coinsAfter);
    EXPECT_EQ(w.Count(kCigarettes), k.stockAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuyTest,
                         ::testing::Values(BuyCase{1000, 0, {2, 3, 5}, true, 900, 15},
                                           BuyCase{100, 0, {2, 3, 5}, true, 0, 15},      // exactly the money
                                           BuyCase{99, 0, {2, 3, 5}, false, 99, 10},     // one coin short
                                           BuyCase{300, 200, {2, 3, 6}, false, 300, 10}, // the reserve stays
                                           BuyCase{300, 200, {2, 3, 5}, true, 200, 15},
                                           BuyCase{1000000, 0, {2, 3, 1000}, true, 980000, 1010},
                                           BuyCase{1000000, 0, {2, 3, 1001}, false, 1000000, 10},
                                           BuyCase{1000, 0, {2, 3, 0}, false, 1000, 10},
                                           BuyCase{1000, 0, {2, 3, -5}, false, 1000, 10},
                                           BuyCase{1000, 0, {2, 9, 1}, false, 1000, 10})); // only cigarettes

TEST(Wallet, BetsAreTakenFromTheStockUpToWhatItHolds)
{
    Wallet w = FreshWallet(WalletConfig{});
    EXPECT_FALSE(SetBet(w, {3, 3, 0}).empty());
    EXPECT_FALSE(SetBet(w, {3, 3, 1001}).empty());
    EXPECT_EQ(StakeBet(w), 0); // no bet yet
    EXPECT_TRUE(SetBet(w, {3, 3, 4}).empty());
    EXPECT_EQ(StakeBet(w), 4);
    EXPECT_EQ(w.Count(kCigarettes), 6);
    EXPECT_TRUE(SetBet(w, {3, 3, 9}).empty());
    EXPECT_EQ(StakeBet(w), 6);
    EXPECT_EQ(w.Count(kCigarettes), 0);
    EXPECT_TRUE(w.goods.empty()); // a goods of none is no entry
    EXPECT_EQ(StakeBet(w), 0);
}

TEST(WalletFrames, BagHoldsAtMostFortyTwoEntries)
{
    Wallet w;
    for (int id = 1; id <= 50; ++id)
        w.SetCount(id, id * 1000);
    const protocol::GameFrame f = proto::Bag(w);
    EXPECT_EQ(f[3], 85);
    EXPECT_EQ(f[16], 42);
    // Entry 42 (goods 42) ends at byte 268.
    EXPECT_EQ(f[17 + 6 * 41], 42);
    EXPECT_EQ(static_cast<int>(f[19 + 6 * 41] | f[20 + 6 * 41] << 8 | f[21 + 6 * 41] << 16), 42000);
    for (int i = 269; i < 272; ++i)
        EXPECT_EQ(f[static_cast<std::size_t>(i)], 0);
    const protocol::GameFrame c = proto::GoodsChange(3, 70000);
    EXPECT_EQ(c[3], 86);
    EXPECT_EQ(c[16] | c[17] << 8, 3);
    EXPECT_EQ(c[18] | c[19] << 8 | c[20] << 16 | c[21] << 24, 70000);
}

TEST(WalletFrames, PrizeListSendsTheWinnersAfterTheAskedId)
{
    const std::vector<Winner> winners = SampleWinners();
    const protocol::GameFrame all = proto::PrizeList(winners, 0);
    EXPECT_EQ(all[3], 94);
    EXPECT_EQ(all[16], 4);
    EXPECT_EQ(all[17], 0);
    EXPECT_EQ(all[18], 4);
    EXPECT_EQ(all[19], 1); // the first record's id
    const protocol::GameFrame newer = proto::PrizeList(winners, 2);
    EXPECT_EQ(newer[18], 2);
    EXPECT_EQ(newer[19], 3);
    EXPECT_EQ(proto::PrizeList(winners, 4)[18], 0);
    // More winners than fit: as many as fit, and the mark that more wait.
    std::vector<Winner> many(6, winners[0]);
    for (int i = 0; i < 6; ++i)
        many[static_cast<std::size_t>(i)].id = i + 1;
    const protocol::GameFrame cut = proto::PrizeList(many, 0);
    EXPECT_EQ(cut[18], 4); // 4 records of 62 bytes fill 19..266
    EXPECT_EQ(cut[17], 255);
    protocol::GameFrame ask{};
    ask[16] = 7;
    EXPECT_EQ(proto::PrizeListAfter(ask), 7);
}

// One player logged in: the bag comes right after the login reply.
struct Player {
    Table table;
    uint16_t token = 0;
    std::vector<Outgoing> out;
    explicit Player(TableConfig c) : table(c)
    {
        table.Login("alice", 0);
        Take();
    }
    void Take()
    {
        out = table.TakeOutgoing();
        // As the client does: the echo token of every frame but kinds 71-99.
        for (const Outgoing& o : out)
            if (o.seat == 0 && (o.frame[3] < 71 || o.frame[3] > 99))
                token = proto::TokenOf(o.frame);
    }
    protocol::GameFrame Goods(int sub, int32_t count) const
    {
        protocol::GameFrame f = ts_test::ClientFrame(protocol::CmdGoods, 0, 0, {0, 0, 0, 0}, token);
        f[16] = static_cast<uint8_t>(sub);
        proto::PutLittle(f, 17, 3, 4);
        proto::PutLittle(f, 21, static_cast<uint32_t>(count), 4);
        return f;
    }
    std::vector<protocol::GameFrame> Kind(int kind) const
    {
        std::vector<protocol::GameFrame> f;
        for (const Outgoing& o : out)
            if (o.seat == 0 && o.frame[3] == kind)
                f.push_back(o.frame);
        return f;
    }
};

TableConfig Waiting()
{
    TableConfig c;
    c.wallet.on = true;
    c.robotWaitMs = 60000; // the game does not start by itself
    return c;
}

TEST(TableWallet, LoginGetsTheBagAndAPurchaseReportsStockAndCoins)
{
    Player h(Waiting());
    // The login reply, then the bag: 10 cigarettes.
    ASSERT_EQ(h.Kind(85).size(), 1u);
    EXPECT_EQ(h.Kind(85)[0][16], 1);
    EXPECT_EQ(h.Kind(85)[0][19], 10);
    h.table.ClientFrame(0, h.Goods(2, 7), 0);
    h.Take();
    EXPECT_EQ(h.table.Coins(0), 10000 - 140);
    EXPECT_EQ(h.table.WalletOf(0).Count(kCigarettes), 17);
    ASSERT_EQ(h.Kind(86).size(), 1u);
    EXPECT_EQ(h.Kind(86)[0][18], 17);
    ASSERT_EQ(h.Kind(20).size(), 1u);
    EXPECT_EQ(h.Kind(20)[0][6], 1); // under its seat bit
    uint64_t coins = 0;
    for (int i = 7; i >= 0; --i)
        coins = coins * 256 + h.Kind(20)[0][static_cast<std::size_t>(protocol::user_info_byte::Coins + i)];
    EXPECT_EQ(coins, 10000u - 140);
    // More than the coins pay for is refused and changes nothing.
    h.table.ClientFrame(0, h.Goods(2, 1000), 0);
    h.Take();
    EXPECT_TRUE(h.out.empty());
    EXPECT_EQ(h.table.WalletOf(0).Count(kCigarettes), 17);
}

TEST(TableWallet, TheBetIsTakenAtTheHandsStart)
{
    TableConfig c = Waiting();
    c.robotWaitMs = 0;
    c.robotDelayMs = 1000;
    Player h(c);
    h.table.ClientFrame(0, h.Goods(3, 4), 0);
    EXPECT_EQ(h.table.WalletOf(0).bet, 4);
    h.table.Advance(0); // robots sit down, the game and its first hand start
    h.Take();
    EXPECT_EQ(h.table.WalletOf(0).Count(kCigarettes), 6);
    ASSERT_EQ(h.Kind(86).size(), 1u);
    EXPECT_EQ(h.Kind(86)[0][18], 6);
}

TEST(TableWallet, PrizeListRequestIsAnswered)
{
    Player h(Waiting());
    protocol::GameFrame ask = ts_test::ClientFrame(protocol::CmdPrizeLists, 0, 0, {0, 0, 0, 0}, h.token);
    proto::PutLittle(ask, 16, 3, 4);
    h.table.ClientFrame(0, ask, 0);
    h.Take();
    ASSERT_EQ(h.Kind(94).size(), 1u);
    EXPECT_EQ(h.Kind(94)[0][18], 1);
    EXPECT_EQ(h.Kind(94)[0][19], 4);
}

TEST(WalletFrames, PrizePoolIsModeOneWithTheValueAsText)
{
    const protocol::GameFrame f = proto::PrizePool(1234567);
    EXPECT_EQ(f[3], 95);
    EXPECT_EQ(f[16], 1);
    EXPECT_EQ(f[17], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.data()) + 18), "1234567");
    EXPECT_TRUE(PoolNoticeDue(2));
    EXPECT_TRUE(PoolNoticeDue(4));
    EXPECT_FALSE(PoolNoticeDue(0));
    EXPECT_FALSE(PoolNoticeDue(3));
}

// The hand's own prize notice, byte by byte: the mode, the byte the client
// skips, then "first;prize;third;jade" ending with a zero byte.
struct HandPrizeCase {
    int64_t prize, jade;
    std::string text;
};

void PrintTo(const HandPrizeCase& k, std::ostream* out) { *out << k.text; }

class HandPrizeFrame : public ::testing::TestWithParam<HandPrizeCase> {};

TEST_P(HandPrizeFrame, IsModeSevenWithTheFourFieldsFromByteNineteen)
{
    const HandPrizeCase& k = GetParam();
    const protocol::GameFrame f = proto::HandPrize(k.prize, k.jade);
    protocol::GameFrame want{};
    want[3] = 95;
    want[16] = 7;
    for (std::size_t i = 0; i < k.text.size(); ++i)
        want[19 + i] = static_cast<uint8_t>(k.text[i]);
    EXPECT_EQ(f, want);
    // The trace shows the text as the client reads it.
    const std::string trace = proto::Describe(f, false);
    EXPECT_EQ(trace.substr(trace.find('|')), "| prize-notice mode=7 text=" + k.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, HandPrizeFrame,
                         ::testing::Values(HandPrizeCase{5000, 12, "0;5000;0;12"},       // both
                                           HandPrizeCase{5000, 0, "0;5000;0;0"},         // lottery only
                                           HandPrizeCase{0, 12, "0;0;0;12"},             // jade only
                                           HandPrizeCase{123456789012LL, 99999, "0;123456789012;0;99999"}));

TEST(WalletFrames, RewardsAreDueAfterEveryNthHandOnlyWhenAsked)
{
    EXPECT_TRUE(EveryNthHand(1, 1));
    EXPECT_TRUE(EveryNthHand(2, 2));
    EXPECT_TRUE(EveryNthHand(2, 4));
    EXPECT_FALSE(EveryNthHand(2, 1));
    EXPECT_FALSE(EveryNthHand(2, 3));
    EXPECT_FALSE(EveryNthHand(2, 0));
    EXPECT_FALSE(EveryNthHand(0, 2)); // off
}

// Three hands with rewards after every second one: the player is told of them
// once, after hand 2, right after the score sheet's sixteen frames.
TEST(TableRewards, TheSecondHandEndsWithTheRewardsAfterTheScoreSheet)
{
    for (const int every : {0, 2}) {
        SCOPED_TRACE(every);
        TableConfig c;
        c.robotWaitMs = 0;
        c.robotDelayMs = 0;
        c.hands = 3;
        c.rewardsEvery = every;
        Table table(c);
        ts_test::SeatPlayer p;
        p.claimOps = 0;
        table.Login("alice", 0);
        std::vector<Outgoing> all;
        ts_test::Pump(table, {&p}, 0, &all);
        ASSERT_TRUE(table.Finished());

        std::vector<int> handOfNotice; // the hand each mode-7 notice followed
        int handsEnded = 0, settlementsInHand = 0;
        for (const Outgoing& o : all) {
            if (o.seat != 0)
                continue;
            const int kind = o.frame[3];
            if (kind == protocol::MsgSettlement && ++settlementsInHand == 16) {
                ++handsEnded;
                settlementsInHand = 0;
            }
            if (kind == protocol::MsgPrizeNotice && o.frame[16] == 7) {
                // The last frame before it was the score sheet's sixteenth.
                EXPECT_EQ(settlementsInHand, 0);
                EXPECT_EQ(o.frame, proto::HandPrize(kHandLotteryPrize, kHandJade));
                handOfNotice.push_back(handsEnded);
            }
        }
        EXPECT_EQ(handsEnded, 3);
        EXPECT_EQ(handOfNotice, every == 2 ? std::vector<int>{2} : std::vector<int>{});
        // Robots are sent nothing.
        for (const Outgoing& o : all)
            EXPECT_FALSE(o.seat != 0 && o.frame[3] == protocol::MsgPrizeNotice);
    }
}

TEST(TableWallet, PoolQueryIsAnsweredAndBetsFeedThePool)
{
    TableConfig c = Waiting();
    c.robotWaitMs = 0;
    c.robotDelayMs = 1000;
    Player h(c);
    const protocol::GameFrame ask = ts_test::ClientFrame(protocol::CmdPrizePool, 0, 0, {0, 0, 0, 0}, h.token);
    h.table.ClientFrame(0, ask, 0);
    h.Take();
    ASSERT_EQ(h.Kind(95).size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.Kind(95)[0].data()) + 18), "1000000");

    h.table.ClientFrame(0, h.Goods(3, 4), 0);
    h.table.Advance(0); // the first hand starts and takes the bet
    EXPECT_EQ(h.table.PrizePool(), kStartPool + 4 * kPoolPerCigarette);
    h.Take();
    h.table.ClientFrame(0, ask, 0);
    h.Take();
    ASSERT_EQ(h.Kind(95).size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.Kind(95)[0].data()) + 18), "1000400");
}

TEST(TableWallet, PoolQueryWithoutGoodsIsIgnored)
{
    TableConfig c = Waiting();
    c.wallet.on = false;
    Player h(c);
    h.table.ClientFrame(0, ts_test::ClientFrame(protocol::CmdPrizePool, 0, 0, {0, 0, 0, 0}, h.token), 0);
    h.Take();
    EXPECT_TRUE(h.Kind(95).empty());
}

} // namespace
