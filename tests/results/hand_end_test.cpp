// A won hand through the dispatcher: the settlement frames build the sheet,
// the archive gets its section and the score window opens.
#include "dispatch/table_fixture.h"

#include "core/ini_file.h"
#include "core/scheduler.h"
#include "core/table_reset.h"
#include "results/hand_archive.h"
#include "results/result_forms.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

// Views 0-3 hold seat bits 1, 8, 4, 2 after SeatFour(0): alice, dave, carol, bob.
constexpr std::array<int, 4> kBitOfView = {1, 8, 4, 2};

struct Hand : Table {
    QTemporaryDir dir;

    Hand()
    {
        client.core.DataPath = dir.path();
        SeatFour(0);
    }

    // Kind 9 and kind 17 for every seat; win type and base stake in the
    // first settlement frame, coins in the fourth.
    void Settle(std::array<int64_t, 4> amounts, int winnerView, int winType)
    {
        for (int v = 0; v < 4; ++v) {
            const int64_t a = amounts[static_cast<std::size_t>(v)];
            Deliver(SeatResultFrame(kBitOfView[static_cast<std::size_t>(v)], static_cast<uint64_t>(a < 0 ? -a : a),
                                    a < 0 ? 0 : 1, 2, v == 3 ? QStringLiteral("点炮胡") : QString()));
        }
        for (int v = 0; v < 4; ++v) {
            const int64_t a = amounts[static_cast<std::size_t>(v)];
            const int bit = kBitOfView[static_cast<std::size_t>(v)];
            Deliver(SettlementFrame(bit, 0, {v == winnerView ? winType : 0, 0, 0, 0}));
            Deliver(SettlementFrame(bit, 1, {0, 0, 0, 0}));
            Deliver(SettlementFrame(bit, 2, {0, 0, 0, 5}));
            Deliver(SettlementFrame(bit, 3, {0, 1, 0, 0}, static_cast<uint64_t>(a < 0 ? -a : a), a >= 0,
                                    static_cast<uint64_t>(a < 0 ? -a : a)));
        }
    }
};

} // namespace

TEST(HandEnd, AWonHandOpensTheScoreWindowWithTheWholeSheet)
{
    Hand t;
    t.client.game.RoundNo = 1;
    t.clock.ms = 10000;
    t.Settle({-20, 60, -20, -20}, 1, 2);
    ASSERT_FALSE(t.Failed());
    results::ScoreForm& score = *t.client.Score;
    EXPECT_EQ(score.State[1]->List(1), QStringLiteral("   房间底金： 5"));
    EXPECT_EQ(score.State[0]->List(3),
              QLatin1Char('[') + t.client.game.UserInfos[1].Title + QStringLiteral("]戴夫"));
    EXPECT_EQ(score.State[0]->List(4), QStringLiteral("   碰碰胡： 2"));
    EXPECT_EQ(score.State[5]->List(0), QStringLiteral("最终分：60金币"));
    EXPECT_EQ(t.client.Hero->Num->ListCount(), 1);
    EXPECT_TRUE(score.isHidden());

    t.clock.ms = 12001;
    core::TimerBong_Timer(t.client);
    EXPECT_FALSE(score.isHidden());
    EXPECT_EQ(t.client.results.ScorePending, 0);

    core::classIniFile ini;
    ini.setINIFileName(results::HandArchivePath(t.client));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("juNum:1"), QStringLiteral("name( 1 )")), QStringLiteral("戴夫"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("juNum:1"), QStringLiteral("count( 4 )( 0 )")),
              QStringLiteral("最终分：-20金币"));
}

TEST(HandEnd, EveryHandOpensTheWindowAgainAndArchivesItsOwnSection)
{
    Hand t;
    for (int16_t hand = 1; hand <= 3; ++hand) {
        // The table is reset for each hand, as at every hand's start.
        core::ResetPlayerState(t.client);
        t.client.game.RoundNo = hand;
        t.client.Score->hide();
        t.clock.ms = 10000u * static_cast<uint32_t>(hand);
        t.Settle({10 * hand, -10 * hand, 0, 0}, 0, 1);
        t.clock.ms += 2500;
        core::TimerBong_Timer(t.client);
        EXPECT_FALSE(t.client.Score->isHidden()) << hand;
    }
    EXPECT_EQ(t.client.Hero->Num->ListCount(), 3);
    results::LoadHandSheet(t.client, 2);
    EXPECT_EQ(t.client.Score->State[4]->List(0), QStringLiteral("最终分：20金币"));
}
