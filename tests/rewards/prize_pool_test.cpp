// Prize notices (kind 95): their layouts, the prize pool's digits and their
// roll, the hand's prize, the wealth label and the notices; the pool query.

#include "bets_fixture.h"
#include "chat/talk_form.h"
#include "core/numeric.h"
#include "core/scheduler.h"
#include "platform/gbk.h"
#include "rewards/jade.h"
#include "rewards/prize_pool.h"
#include "widgets/marquee.h"
#include "widgets/sprite_sheet.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using testing_support::BetTable;
using testing_support::ServerFrame;

namespace {

// A kind-95 frame of a mode whose text starts at `textAt`.
protocol::GameFrame Notice(int mode, const QByteArray& text, int textAt)
{
    protocol::GameFrame f = ServerFrame(95);
    f[16] = static_cast<uint8_t>(mode & 0xFF);
    f[17] = static_cast<uint8_t>(mode >> 8);
    for (int i = 0; i < text.size() && textAt + i < protocol::kFrameSize; ++i)
        f[static_cast<std::size_t>(textAt + i)] = static_cast<uint8_t>(text[i]);
    return f;
}
protocol::GameFrame Notice(int mode, const QString& text)
{
    const bool skip = mode == 7 || mode == 8;
    return Notice(mode, platform::gbk::Encode(text), skip ? 19 : 18);
}

// The pool as the strip shows it: the captions of the visible labels.
QString PoolShown(rewards::BetsState& b)
{
    QString s;
    for (int i = 0; i < b.Lb_prize.Count(); ++i)
        if (b.Lb_prize[i].Visible)
            s += b.Lb_prize[i].Caption;
    return s;
}

struct PoolTable : BetTable {
    PoolTable() { rewards::InitJadeTask(c); }
    // Scheduler ticks 50 ms apart until `ms` have passed.
    void Run(int ms)
    {
        for (int done = 0; done < ms; done += 50) {
            t.clock.Advance(50);
            core::TimerBong_Timer(c);
        }
    }
};

} // namespace

TEST(PrizeDigits, WholeDigitsCutToTheirPlaces)
{
    const struct {
        double value;
        int places;
        const char* shown;
    } cases[] = {
        {0, 12, "0"},
        {123456, 12, "123456"},
        {999999999999, 12, "999999999999"},
        {1234567890123, 12, "234567890123"},
        {1e15, 12, "000000000000"},
        {1e15, 11, "00000000000"},
        {99999999999, 11, "99999999999"},
        {1500.5, 11, "1500"},
        {1501.5, 11, "1502"},
        {-5, 12, "0"},
        {std::numeric_limits<double>::quiet_NaN(), 12, "0"},
        {std::numeric_limits<double>::infinity(), 11, "0"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(rewards::DisplayDigits(k.value, k.places), QLatin1String(k.shown)) << k.value << " " << k.places;
    // The largest values still give their places in digits.
    for (double huge : {1e300, std::numeric_limits<double>::max()}) {
        const QString shown = rewards::DisplayDigits(huge, 11);
        EXPECT_EQ(shown.size(), 11);
        for (QChar ch : shown)
            EXPECT_TRUE(ch.isDigit()) << shown.toStdString();
    }
}

TEST(PrizeNoticeFrame, LayoutsAtAndPastTheirLimits)
{
    // Mode 1 reads from byte 18; 7 and 8 skip it.
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(1, QByteArray("4321"), 18)).Text, QStringLiteral("4321"));
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(7, QByteArray("x0;5000;0;3"), 18)).Text, QStringLiteral("0;5000;0;3"));
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(8, QByteArray("x25"), 18)).Text, QStringLiteral("25"));

    // The colour only in mode 6.
    protocol::GameFrame coloured = Notice(6, QByteArray("hi"), 18);
    coloured[9] = 0x12;
    coloured[10] = 0x34;
    coloured[11] = 0x56;
    EXPECT_EQ(rewards::DecodePrizeNotice(coloured).Color, 0x563412);
    coloured[16] = 5;
    EXPECT_EQ(rewards::DecodePrizeNotice(coloured).Color, 0);

    // A mode with the high bit of byte 17 set is just another mode.
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(0x8001, QByteArray("a"), 18)).Mode, 0x8001);

    // A text without its zero byte ends at byte 255.
    const QByteArray full(300, 'a');
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(9, full, 18)).Text.size(), 238);
    EXPECT_EQ(rewards::DecodePrizeNotice(Notice(7, full, 18)).Text.size(), 237);

    // A two-byte character whose lead byte is byte 255 takes byte 256.
    QByteArray edge(237, 'b');
    edge += platform::gbk::Encode(QStringLiteral("奖"));
    edge += "zz";
    const QString text = rewards::DecodePrizeNotice(Notice(9, edge, 18)).Text;
    EXPECT_EQ(text.size(), 238);
    EXPECT_TRUE(text.endsWith(QStringLiteral("b奖")));
}

TEST(PrizeNoticeFrame, HandPrizeFieldsAlwaysFour)
{
    const struct {
        const char* text;
        std::array<const char*, 4> fields;
    } cases[] = {
        {"0;5000;0;12", {"0", "5000", "0", "12"}},
        {"0;5000", {"0", "5000", "", ""}},
        {"", {"", "", "", ""}},
        {"1;2;3;4;5", {"1", "2", "3", "4"}},
    };
    for (const auto& k : cases) {
        const auto got = rewards::HandPrizeFields(QString::fromLatin1(k.text));
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(got[i], QLatin1String(k.fields[i])) << k.text << " field " << i;
    }
}

TEST(PrizePool, FirstValueShowsAtOnceThenChangesRollFromTheLastDigit)
{
    PoolTable t;
    rewards::BetsState& b = t.b;
    t.Deliver(Notice(1, QStringLiteral("123456789")));
    EXPECT_FALSE(t.c.rewards.PoolRolling);
    EXPECT_EQ(PoolShown(b), QStringLiteral("123456789"));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(b.Lb_prize[i].Visible) << i;
    EXPECT_EQ(b.Lb_prize[11].Caption, QStringLiteral("9"));

    t.Deliver(Notice(1, QStringLiteral("123456790")));
    EXPECT_TRUE(t.c.rewards.PoolRolling);
    // The first step: every digit counts 0 together.
    t.Run(250);
    EXPECT_EQ(PoolShown(b), QStringLiteral("000000000"));
    t.Run(20000);
    EXPECT_FALSE(t.c.rewards.PoolRolling);
    EXPECT_EQ(PoolShown(b), QStringLiteral("123456790"));

    // The same value again is shown without a roll.
    t.Deliver(Notice(1, QStringLiteral("123456790")));
    EXPECT_FALSE(t.c.rewards.PoolRolling);
    EXPECT_EQ(PoolShown(b), QStringLiteral("123456790"));
}

TEST(PrizePool, ValuesPastTheTwelvePlacesShowTheirLastDigits)
{
    for (const char* text : {"1E+15", "12345678901234567", "999999999999", "-7", "abc"}) {
        PoolTable t;
        t.Deliver(Notice(1, QString::fromLatin1(text)));
        const QString want = rewards::DisplayDigits(core::LeadingNumber(QString::fromLatin1(text)), 12);
        EXPECT_EQ(PoolShown(t.b), want) << text;
        // And rolled to from another value.
        t.Deliver(Notice(1, QStringLiteral("5")));
        t.Deliver(Notice(1, QString::fromLatin1(text)));
        t.Run(40000);
        EXPECT_FALSE(t.c.rewards.PoolRolling) << text;
        EXPECT_EQ(PoolShown(t.b), want) << text;
    }
}

TEST(PrizePool, RollsAcrossTheWrapOfTheMillisecondCounter)
{
    for (uint32_t from : {0x80000000u, 0xFFFFFF00u}) {
        PoolTable t;
        t.t.clock.ms = from;
        t.Deliver(Notice(1, QStringLiteral("10")));
        t.Deliver(Notice(1, QStringLiteral("99")));
        ASSERT_TRUE(t.c.rewards.PoolRolling);
        t.Run(8000);
        EXPECT_FALSE(t.c.rewards.PoolRolling) << from;
        EXPECT_EQ(PoolShown(t.b), QStringLiteral("99")) << from;
    }
}

TEST(PrizeNotice, HandPrizeSetsTheLotteryAndTheJade)
{
    const struct {
        const char* text;
        double prize;
        const char* jade;
        bool jadeShown;
        bool lottery;
    } cases[] = {
        {"0;5000;0;12", 5000, "12", true, true},
        {"0;999;0;0", 0, "0", false, false},
        {"0;5000", 5000, "", false, true},
        {"0", 0, "", false, false},
        {"", 0, "", false, false},
        {"0;1E+15;0;7", 1e15, "7", true, true},
    };
    for (const auto& k : cases) {
        PoolTable t;
        t.Deliver(Notice(7, QString::fromLatin1(k.text)));
        rewards::RewardsState& r = t.c.rewards;
        EXPECT_EQ(r.MyPrize, k.prize) << k.text;
        EXPECT_EQ(r.JadeRewardText, QLatin1String(k.jade)) << k.text;
        EXPECT_EQ(r.JadeShowing == -1, k.jadeShown) << k.text;
        EXPECT_EQ(r.LotteryPending == -1, k.lottery) << k.text;
    }
}

TEST(PrizeNotice, HandWithoutPrizeSettlesARunningPoolRoll)
{
    PoolTable t;
    t.Deliver(Notice(1, QStringLiteral("1000")));
    t.Deliver(Notice(1, QStringLiteral("2345")));
    t.Run(600);
    ASSERT_TRUE(t.c.rewards.PoolRolling);
    ASSERT_NE(PoolShown(t.b), QStringLiteral("2345"));
    t.Deliver(Notice(7, QStringLiteral("0;0;0;0")));
    EXPECT_FALSE(t.c.rewards.PoolRolling);
    EXPECT_EQ(PoolShown(t.b), QStringLiteral("2345"));
}

TEST(PrizeNotice, WealthCaption)
{
    const struct {
        const char* text;
        const char* caption;
    } cases[] = {{"25", "2"}, {"10", "1"}, {"9", "0.5"}, {"", "0.5"}, {"35", "3"}, {"19.6", "2"}, {"1e300", "100000000000000"}};
    for (const auto& k : cases) {
        PoolTable t;
        t.Deliver(Notice(8, QString::fromLatin1(k.text)));
        EXPECT_EQ(t.f.lbwealth.Caption, QLatin1String(k.caption)) << k.text;
        EXPECT_EQ(t.c.game.WealthCaption, QLatin1String(k.caption)) << k.text;
    }
}

TEST(PrizeNotice, SystemLinesAndTheColouredMarquee)
{
    PoolTable t;
    auto lastLine = [&] { return t.c.Talk->Text1->List(t.c.Talk->Text1->ListCount() - 1).trimmed(); };
    t.Deliver(Notice(5, QStringLiteral("欢迎来到XX游戏XX")));
    EXPECT_EQ(lastLine(), QStringLiteral("欢迎来到Kavelin"));
    t.Deliver(Notice(12, QStringLiteral("其他XX")));
    EXPECT_EQ(lastLine(), QStringLiteral("其他XX"));

    widgets::MoveWord& marquee = *t.f.moveWord1;
    protocol::GameFrame red = Notice(6, QStringLiteral("XX1XX恭喜中奖"));
    red[9] = 255;
    t.Deliver(red);
    EXPECT_EQ(lastLine(), QStringLiteral("恭喜中奖"));
    ASSERT_EQ(marquee.Waiting() + (marquee.Current().serial > 0 ? 1 : 0), 1);
    if (marquee.Current().serial == 0)
        marquee.StepTimer_Timer();
    EXPECT_EQ(marquee.Current().text, QStringLiteral("恭喜中奖"));
    EXPECT_EQ(marquee.Current().foreColor, 255);

    // Fewer than two markers: the text whole.
    t.Deliver(Notice(6, QStringLiteral("XX只有一个")));
    EXPECT_EQ(lastLine(), QStringLiteral("XX只有一个"));
}

TEST(PrizePoolQuery, GoesOutAfterEveryBagOutsideMatchRooms)
{
    for (int16_t mode : {1, 2}) {
        PoolTable t;
        t.c.match.RoomMatchMode = mode;
        t.GiveBag({{3, 10}});
        std::vector<protocol::GameFrame> pool;
        for (const protocol::GameFrame& f : t.TakeSent())
            if (f[3] == 95)
                pool.push_back(f);
        if (mode > 1) {
            EXPECT_TRUE(pool.empty());
            continue;
        }
        ASSERT_EQ(pool.size(), 1u);
        // Only the kind and the echo token stamped on the way out.
        for (std::size_t i = 0; i < pool[0].size(); ++i)
            if (i != 3 && i != protocol::frame_byte::EchoToken && i != protocol::frame_byte::EchoToken + 1) {
                EXPECT_EQ(pool[0][i], 0) << i;
            }
    }
}
