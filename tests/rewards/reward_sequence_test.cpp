// The hand-end reward sequence: the jade reward, the lottery roll and the
// score window in order on the scheduler's ticks; the start button's flush
// and its ready command.

#include "bets_fixture.h"
#include "core/scheduler.h"
#include "core/session.h"
#include "platform/gbk.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/reward_ticks.h"
#include "widgets/sprite_sheet.h"

#include <gtest/gtest.h>

using testing_support::BetTable;
using testing_support::ServerFrame;

namespace {

protocol::GameFrame HandPrize(const QString& fields)
{
    protocol::GameFrame f = ServerFrame(95);
    f[16] = 7;
    const QByteArray text = platform::gbk::Encode(fields);
    for (int i = 0; i < text.size(); ++i)
        f[static_cast<std::size_t>(19 + i)] = static_cast<uint8_t>(text[i]);
    return f;
}

// What the player saw, in ms from the hand's end (-1: never).
struct Seen {
    int jadeFrom = -1;
    int rollFrom = -1;
    int scoreAt = -1;
    int scoreShows = 0;
    int readyAt = -1;
    QString prize; // the digits the lottery showed last
};

struct SequenceTable : BetTable {
    uint32_t start = 0;
    Seen seen;
    bool scoreWasVisible = false;

    SequenceTable()
    {
        rewards::InitJadeTask(c);
        c.Score->hide();
        t.clock.ms = start = 100000;
    }
    int Now() const { return static_cast<int>(t.clock.ms - start); }
    void HandEnds(bool windowShown)
    {
        if (windowShown) {
            c.results.ScorePending = -1;
            c.results.HandEndTick = t.clock.ms;
        }
    }
    QString PrizeDigits() const
    {
        QString s;
        for (widgets::Apng* digit : b.APNG_prizenum)
            if (!digit->isHidden())
                s += QString::number(digit->FrameIndex());
        return s;
    }
    void Look()
    {
        rewards::RewardsState& r = c.rewards;
        if (seen.jadeFrom < 0 && r.JadeShowing)
            seen.jadeFrom = Now();
        if (seen.rollFrom < 0 && r.MyPrizeRolling)
            seen.rollFrom = Now();
        const bool visible = !c.Score->isHidden();
        if (visible && !scoreWasVisible) {
            ++seen.scoreShows;
            seen.scoreAt = Now();
        }
        scoreWasVisible = visible;
        if (!PrizeDigits().isEmpty())
            seen.prize = PrizeDigits();
        for (const protocol::GameFrame& f : TakeSent())
            if (f[3] == 16 && seen.readyAt < 0)
                seen.readyAt = Now();
    }
    void Run(int ms)
    {
        Look();
        for (int done = 0; done < ms; done += 50) {
            t.clock.Advance(50);
            core::TimerBong_Timer(c);
            Look();
        }
    }
    // The start button's part in the sequence (the button itself is
    // clicked in the table window's tests).
    void PressStart()
    {
        rewards::SkipRewardRolls(c);
        Look();
    }
    bool PrizeSettledOn(const QString& digits) const
    {
        for (widgets::Apng* digit : b.APNG_prizenum)
            if (digit->Running())
                return false;
        return PrizeDigits() == digits;
    }
};

} // namespace

TEST(RewardSequence, WhatFollowsTheHandEnd)
{
    const struct {
        const char* name;
        bool windowShown;
        const char* notice; // null: no prize notice
        int jadeFrom, rollFrom, scoreAt, scoreShows;
        const char* prize;
    } cases[] = {
        {"none", true, nullptr, -1, -1, 2050, 1, ""},
        {"nothing won", true, "0;0;0;0", -1, -1, 2050, 1, ""},
        {"jade only", true, "0;0;0;8", 0, -1, 5000, 1, ""},
        // The roll starts on the first tick after 2 s and ends about 8 s later.
        {"lottery only", true, "0;5000;0;0", -1, 2050, 10300, 1, "5000"},
        {"jade and lottery", true, "0;12000;0;3", 0, 5000, 13250, 1, "12000"},
        // Minimised: no score window; the jade still shows and the roll follows it.
        {"minimised, jade and lottery", false, "0;5000;0;3", 0, 5000, -1, 0, "5000"},
        // A lottery without jade and without a pending window is not rolled.
        {"minimised, lottery only", false, "0;5000;0;0", -1, -1, -1, 0, ""},
    };
    for (const auto& k : cases) {
        SequenceTable t;
        t.HandEnds(k.windowShown);
        if (k.notice)
            t.Deliver(HandPrize(QString::fromLatin1(k.notice)));
        t.Run(20000);
        EXPECT_EQ(t.seen.jadeFrom, k.jadeFrom) << k.name;
        EXPECT_EQ(t.seen.rollFrom, k.rollFrom) << k.name;
        EXPECT_EQ(t.seen.scoreAt, k.scoreAt) << k.name;
        EXPECT_EQ(t.seen.scoreShows, k.scoreShows) << k.name;
        EXPECT_EQ(t.seen.prize, QLatin1String(k.prize)) << k.name;
        EXPECT_EQ(t.seen.readyAt, -1) << k.name << ": only the start button's flush sends the ready command";
        EXPECT_FALSE(t.c.rewards.MyPrizeRolling) << k.name;
        EXPECT_FALSE(t.c.rewards.JadeRewardActive) << k.name;
    }
}

TEST(RewardSequence, PrizeNoticeAfterTheScoreWindowAddsNoSecondWindow)
{
    SequenceTable t;
    t.HandEnds(true);
    t.Run(3000);
    ASSERT_EQ(t.seen.scoreShows, 1);
    t.Deliver(HandPrize(QStringLiteral("0;5000;0;4")));
    t.Run(20000);
    EXPECT_EQ(t.seen.jadeFrom, 3000);
    EXPECT_EQ(t.seen.rollFrom, 8000);
    EXPECT_EQ(t.seen.prize, QStringLiteral("5000"));
    EXPECT_EQ(t.seen.scoreShows, 1);
}

TEST(RewardSequence, StartButtonFlushesTwoSecondsApartThenReadies)
{
    const struct {
        const char* name;
        bool windowShown;
        const char* notice;
        int pressAt;
        int prizeShownAt; // the prize stands at once on the press, or 2 s later
        int scoreAt, readyAt;
    } cases[] = {
        {"nothing pending", false, nullptr, 0, -1, -1, 2000},
        {"during the jade, lottery and window pending", true, "0;5000;0;9", 1000, 3000, 5000, 7000},
        {"while the digits roll", true, "0;5000;0;0", 3000, 3000, 5000, 7000},
        {"lottery only, no window", false, "0;5000;0;0", 500, 500, -1, 2500},
    };
    for (const auto& k : cases) {
        SequenceTable t;
        t.HandEnds(k.windowShown);
        if (k.notice)
            t.Deliver(HandPrize(QString::fromLatin1(k.notice)));
        t.Run(k.pressAt);
        t.PressStart();
        EXPECT_EQ(t.seen.readyAt, -1) << k.name << ": no ready command on the press itself";
        int prizeAt = t.PrizeSettledOn(QStringLiteral("5000")) ? t.Now() : -1;
        for (int ms = 0; ms < 10000; ms += 50) {
            t.Run(50);
            if (prizeAt < 0 && t.PrizeSettledOn(QStringLiteral("5000")))
                prizeAt = t.Now();
        }
        if (k.prizeShownAt >= 0) {
            EXPECT_EQ(prizeAt, k.prizeShownAt) << k.name;
        }
        EXPECT_EQ(t.seen.scoreAt, k.scoreAt) << k.name;
        EXPECT_EQ(t.seen.readyAt, k.readyAt) << k.name;
        EXPECT_FALSE(t.c.rewards.FinishPending) << k.name;
        EXPECT_FALSE(t.c.rewards.LotteryPending) << k.name;
        EXPECT_TRUE(t.b.APNG_prize->isHidden()) << k.name;
    }
}

TEST(RewardSequence, StartButtonOnARollStopsIt)
{
    SequenceTable t;
    t.HandEnds(true);
    t.Deliver(HandPrize(QStringLiteral("0;7000;0;0")));
    t.Run(2600);
    ASSERT_TRUE(t.c.rewards.MyPrizeRolling);
    t.PressStart();
    EXPECT_EQ(t.PrizeDigits(), QStringLiteral("7000"));
    t.Run(50);
    EXPECT_FALSE(t.c.rewards.MyPrizeRolling);
    for (widgets::Apng* digit : t.b.APNG_prizenum)
        EXPECT_FALSE(digit->Running());
}

TEST(RewardSequence, LeavingTheTableDropsAFlushUnderWay)
{
    SequenceTable t;
    t.PressStart();
    ASSERT_TRUE(t.c.rewards.FinishPending);
    core::ResetSession(t.c);
    EXPECT_FALSE(t.c.rewards.FinishPending);
    t.t.tcp.state = platform::TcpLink::Connected;
    t.Run(5000);
    EXPECT_EQ(t.seen.readyAt, -1);
}

TEST(RewardSequence, RunsAcrossTheWrapOfTheMillisecondCounter)
{
  for (uint32_t from : {0x7FFFF000u, 0xFFFFF000u}) {
    SCOPED_TRACE(from);
    SequenceTable t;
    t.t.clock.ms = t.start = from;
    t.HandEnds(true);
    t.Deliver(HandPrize(QStringLiteral("0;5000;0;6")));
    t.Run(20000);
    EXPECT_EQ(t.seen.jadeFrom, 0);
    EXPECT_EQ(t.seen.rollFrom, 5000);
    EXPECT_EQ(t.seen.prize, QStringLiteral("5000"));
    EXPECT_EQ(t.seen.scoreShows, 1);
    t.PressStart();
    t.Run(2000);
    EXPECT_EQ(t.seen.readyAt, 22000);
  }
}
