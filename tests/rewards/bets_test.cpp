#include "rewards/bets_fixture.h"

#include "chat/talk_form.h"
#include "core/ini_file.h"
#include "platform/gbk.h"

#include <QFile>
#include <gtest/gtest.h>

using testing_support::BetTable;
using GoodsCmd = BetTable::GoodsCmd;

namespace {

// --- The purchase limit -----------------------------------------------------

struct LimitCase {
    double available;
    int32_t price;
    int32_t limit;
};

class PurchaseLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PurchaseLimitTest, CoversOnlyWhatTheMoneyPaysFor)
{
    const LimitCase& k = GetParam();
    EXPECT_EQ(rewards::PurchaseLimit(k.available, k.price), k.limit);
}

INSTANTIATE_TEST_SUITE_P(Cases, PurchaseLimitTest,
                         ::testing::Values(LimitCase{700, 200, 3},      // 3.5 never rounds up to 4 (800 coins)
                                           LimitCase{500, 200, 2},      // 2.5
                                           LimitCase{200, 200, 1},      // just one
                                           LimitCase{150, 200, 1},      // below one price: the click refuses it
                                           LimitCase{-100, 200, 1},     // money below the reserve
                                           LimitCase{1000000, 200, 1000}, // the cap
                                           LimitCase{200200, 200, 1000},
                                           LimitCase{199999, 200, 999},
                                           LimitCase{5000, 0, 0},       // no price: no purchase at all
                                           LimitCase{5000, -3, 0},
                                           LimitCase{1e12, 70000, 1000})); // prices beyond 16 bits

// --- The bet ceiling ----------------------------------------------------------

std::vector<match::ChipLimit> Limits(std::initializer_list<std::pair<const char*, int32_t>> entries)
{
    std::vector<match::ChipLimit> out(1);
    for (const auto& [key, max] : entries)
        out.push_back({QString::fromLatin1(key), max});
    return out;
}

TEST(MaxChip, FollowsTheRoomGradeAndTheLimits)
{
    EXPECT_EQ(rewards::MaxChipFor(0, Limits({})), 99);
    EXPECT_EQ(rewards::MaxChipFor(5, Limits({{"3", 199}, {"5", 499}})), 499);
    EXPECT_EQ(rewards::MaxChipFor(5, Limits({{"3", 199}, {"other", 299}})), 299);
    EXPECT_EQ(rewards::MaxChipFor(5, Limits({{"3", 199}})), 0);
    EXPECT_EQ(rewards::MaxChipFor(0, Limits({{"other", 150}})), 150);
    EXPECT_EQ(rewards::MaxChipFor(7, Limits({})), 99);
}

TEST(MaxChip, RoomGradeRoundsTheLowBitsHalfToEven)
{
    // Bytes 144-146 = 00 90 02: 0x029000 / 65536 = 2.5625 -> 3.
    EXPECT_EQ(rewards::RoomGradeOf(0x029000), 3);
    EXPECT_EQ(rewards::RoomGradeOf(0x028000), 2); // 2.5 -> 2
    EXPECT_EQ(rewards::RoomGradeOf(0x038000), 4); // 3.5 -> 4
    EXPECT_EQ(rewards::RoomGradeOf(0x1050000), 5); // modulo 256
    EXPECT_EQ(rewards::RoomGradeOf(1.8e19), rewards::RoomGradeOf(1.8e19)); // no overflow at the top
}

// --- userinfo.ini ---------------------------------------------------------------

TEST(DefaultChip, MissingFileOrUserGivesOne)
{
    BetTable t;
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 1);
    rewards::SaveDefaultChip(t.c, 7);
    t.c.game.Players[0].Name = "bob";
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 1);
}

TEST(DefaultChip, ReadsAndRewritesTheEntryOfTheUser)
{
    BetTable t;
    const QString path = rewards::UserInfoIniPath(t.c);
    EXPECT_TRUE(path.startsWith(t.data.path()));
    core::classIniFile ini;
    ini.setINIFileName(path);
    ini.WriteIniKey("user", "num", "2");
    ini.WriteIniKey("user", "1username", "bob");
    ini.WriteIniKey("user", "1chip", "9");
    ini.WriteIniKey("user", "2username", "alice");
    ini.WriteIniKey("user", "2chip", "12");
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 12);
    rewards::SaveDefaultChip(t.c, 30);
    EXPECT_EQ(ini.GetIniKey("user", "2chip"), "30");
    EXPECT_EQ(ini.GetIniKey("user", "1chip"), "9");
    EXPECT_EQ(ini.GetIniKey("user", "num"), "2");
    // A new user is appended after the count went up.
    t.c.game.Players[0].Name = "carol";
    rewards::SaveDefaultChip(t.c, 4);
    EXPECT_EQ(ini.GetIniKey("user", "num"), "3");
    EXPECT_EQ(ini.GetIniKey("user", "3username"), "carol");
    EXPECT_EQ(ini.GetIniKey("user", "3chip"), "4");
    // A default below 1 reads as 1, one beyond 16 bits as the largest.
    ini.WriteIniKey("user", "3chip", "-5");
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 1);
    ini.WriteIniKey("user", "3chip", "99999");
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 32767);
}

TEST(DefaultChip, HostileNamesRoundTripWithoutBreakingTheFile)
{
    BetTable t;
    const QList<QByteArray> names{"a]b",     "x=1",      "line\r\nnum=999", "[user]", "\"quoted\"", " pad ",
                                  "50%off",  "semi;colon", "alice"};
    int16_t chip = 2;
    for (const QByteArray& name : names) {
        t.c.game.Players[0].Name = name;
        rewards::SaveDefaultChip(t.c, chip++);
    }
    chip = 2;
    for (const QByteArray& name : names) {
        t.c.game.Players[0].Name = name;
        EXPECT_EQ(rewards::LoadDefaultChip(t.c), chip++) << name.constData();
    }
    core::classIniFile ini;
    ini.setINIFileName(rewards::UserInfoIniPath(t.c));
    EXPECT_EQ(ini.GetIniKey("user", "num"), QString::number(names.size()));
    // Saving again rewrites the user's own entry: no new entries.
    t.c.game.Players[0].Name = "line\r\nnum=999";
    rewards::SaveDefaultChip(t.c, 40);
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 40);
    EXPECT_EQ(ini.GetIniKey("user", "num"), QString::number(names.size()));
    // One key per line: no name added a line or a section of its own.
    QFile file(rewards::UserInfoIniPath(t.c));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    int sections = 0;
    for (const QByteArray& line : lines)
        sections += line.trimmed().startsWith('[');
    EXPECT_EQ(sections, 1);
    EXPECT_EQ(rewards::IniSafeName("alice"), "alice"); // plain names stay as they are
}

// --- The bet box and the bet button -------------------------------------------

TEST(BetBox, TypedTextSettlesWithinTheCeilingAndTheStock)
{
    BetTable t;
    t.GiveBag({{3, 5}});
    t.SentGoods();
    struct Case {
        QString text;
        QString shown;
    };
    for (const Case& k : {Case{"abc", "0"}, Case{"7.9", "5"}, Case{"3.9", "3"}, Case{"-4", "1"}, Case{"12a", "5"},
                          Case{"", ""}}) {
        BetTable::Paste(t.b.Txt_chip, k.text);
        EXPECT_EQ(t.b.Txt_chip->Text(), k.shown) << k.text.toStdString();
    }
    BetTable::Type(t.b.Txt_chip, "abc");
    EXPECT_EQ(t.b.Txt_chip->Text(), "0");
}

TEST(BetBox, ReachingTheStockOffersAPurchase)
{
    BetTable t;
    t.GiveBag({{3, 20}});
    EXPECT_FALSE(t.b.Pic_buy->isVisible());
    BetTable::Type(t.b.Txt_chip, "150");
    EXPECT_EQ(t.b.Txt_chip->Text(), "20");
    EXPECT_TRUE(t.b.Pic_buy->isVisible());
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "1");
    EXPECT_EQ(t.b.Lb_buy_my.Caption, QStringLiteral("可用金额：700金"));
}

TEST(BetBox, CeilingHoldsAgainstTypingAndThePlusButton)
{
    BetTable t;
    t.GiveBag({{3, 200}});
    BetTable::Type(t.b.Txt_chip, "150");
    EXPECT_EQ(t.b.Txt_chip->Text(), "99");
    BetTable::Click(t.b.Img_add_bt);
    EXPECT_EQ(t.b.Txt_chip->Text(), "99");
    BetTable::Click(t.b.Img_reduce_bt);
    EXPECT_EQ(t.b.Txt_chip->Text(), "98");
    BetTable::Paste(t.b.Txt_chip, "1");
    BetTable::Click(t.b.Img_reduce_bt);
    EXPECT_EQ(t.b.Txt_chip->Text(), "1");
}

TEST(BetBox, ConfirmSendsTheBetOnceAndMakesItTheDefault)
{
    BetTable t;
    t.GiveBag({{3, 10}});
    t.SentGoods();
    BetTable::Type(t.b.Txt_chip, "6");
    BetTable::Click(t.f.Img_chip_bt);
    EXPECT_EQ(t.SentGoods(), (std::vector<GoodsCmd>{{3, 3, 6}}));
    EXPECT_FALSE(t.f.Img_chip_bt.Enabled);
    EXPECT_EQ(t.f.Img_chip_bt.Tag, "2");
    EXPECT_EQ(t.f.Img_chip_bt.GetPicture().resourceId, 654);
    EXPECT_EQ(rewards::LoadDefaultChip(t.c), 6);
    // A second confirm in the same hand sends nothing.
    rewards::Img_chip_bt_Click(t.c);
    BetTable::Click(t.f.Img_chip_bt);
    EXPECT_TRUE(t.SentGoods().empty());
}

TEST(BetBox, ConfirmRefusesZeroAndBetsWithoutStock)
{
    BetTable t;
    t.GiveBag({});
    t.SentGoods();
    EXPECT_EQ(t.b.Txt_chip->Text(), "0");
    BetTable::Click(t.f.Img_chip_bt);
    EXPECT_TRUE(t.SentGoods().empty());
    EXPECT_TRUE(t.f.Img_chip_bt.Enabled);
}

TEST(BetBox, TheBetButtonLiesOnTheStripNotOnTheTable)
{
    BetTable t;
    EXPECT_EQ(t.f.Img_chip_bt.Surface(), t.b.Pic_prize);
    EXPECT_FLOAT_EQ(t.f.Img_chip_bt.Left, 312);
    EXPECT_EQ(t.b.Pic_prize->geometry(), QRect(104, 654, 528, 33));
}

TEST(RefreshChipBox, SendsOnlyChangesUnlessForced)
{
    BetTable t;
    rewards::SaveDefaultChip(t.c, 5);
    t.GiveBag({{3, 10}});
    EXPECT_EQ(t.b.Txt_chip->Text(), "5");
    EXPECT_EQ(t.SentGoods(), (std::vector<GoodsCmd>{{3, 3, 5}}));
    rewards::RefreshChipBox(t.c, false);
    EXPECT_TRUE(t.SentGoods().empty());
    rewards::RefreshChipBox(t.c, true);
    EXPECT_EQ(t.SentGoods(), (std::vector<GoodsCmd>{{3, 3, 5}}));
    // Fewer cigarettes than the default: 1, not the stock.
    t.ChangeGoods(3, 3);
    EXPECT_EQ(t.b.Txt_chip->Text(), "1");
    EXPECT_EQ(t.b.Lb_mysmoke.Caption, "3");
    EXPECT_EQ(t.c.game.ChipRefreshDue, -1);
}

TEST(GoodsChange, RisingStockWithTheDefaultShownRefreshesNothing)
{
    BetTable t;
    rewards::SaveDefaultChip(t.c, 1);
    t.GiveBag({{3, 4}});
    t.SentGoods();
    t.ChangeGoods(3, 10);
    EXPECT_TRUE(t.SentGoods().empty());
    EXPECT_EQ(t.b.Lb_mysmoke.Caption, "10");
    EXPECT_EQ(t.c.game.ChipRefreshDue, 0);
}

// --- The purchase panel -----------------------------------------------------------

TEST(Purchase, PanelOpensOnlyWithAPrice)
{
    BetTable none(0);
    BetTable::Click(none.b.Img_buy_bt);
    EXPECT_FALSE(none.b.Pic_buy->isVisible());

    BetTable t;
    BetTable::Click(t.b.Img_buy_bt);
    ASSERT_TRUE(t.b.Pic_buy->isVisible());
    EXPECT_EQ(t.b.Pic_buy->pos(), QPoint(408, 376));
    EXPECT_EQ(t.b.Lb_buy_all.Caption, QStringLiteral("合计：200"));
    BetTable::Click(t.b.Img_buy_bt);
    EXPECT_FALSE(t.b.Pic_buy->isVisible());
}

TEST(Purchase, QuantityButtonsStepByHundredsWithinTheLimit)
{
    BetTable t;
    t.c.game.UserInfos[0].Coins = 200000; // limit 999
    BetTable::Click(t.b.Img_buy_bt);
    struct Case {
        QString from;
        bool up;
        QString to;
    };
    for (const Case& k : {Case{"1", true, "100"}, Case{"150", true, "200"}, Case{"150", false, "50"},
                          Case{"100", false, "1"}, Case{"99", false, "99"}, Case{"950", true, "999"}}) {
        BetTable::Paste(t.b.Txt_buy_num, k.from);
        BetTable::Click(k.up ? t.b.Img_buy_add_bt : t.b.Img_buy_reduce_bt);
        EXPECT_EQ(t.b.Txt_buy_num->Text(), k.to) << k.from.toStdString() << (k.up ? " +" : " -");
    }
    BetTable::Paste(t.b.Txt_buy_num, "12.8");
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "12");
    BetTable::Paste(t.b.Txt_buy_num, "");
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "1");
}

TEST(Purchase, BuyOutsideAHandSendsWhatTheMoneyCovers)
{
    BetTable t; // 900 coins, 200 kept back, price 200: 3 at most
    BetTable::Click(t.b.Img_buy_bt);
    BetTable::Paste(t.b.Txt_buy_num, "4");
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "3");
    BetTable::Click(t.b.Img_buy_buy_bt);
    EXPECT_EQ(t.SentGoods(), (std::vector<GoodsCmd>{{2, 3, 3}}));
    EXPECT_EQ(t.b.Lb_buy_my.Caption, QStringLiteral("可用金额：100金"));
}

TEST(Purchase, NotEnoughMoneyIsSaidAndNothingSent)
{
    BetTable t;
    t.c.game.UserInfos[0].Coins = 350; // 150 available
    BetTable::Click(t.b.Img_buy_bt);
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "1");
    BetTable::Click(t.b.Img_buy_buy_bt);
    EXPECT_TRUE(t.SentGoods().empty());
    EXPECT_TRUE(t.b.Pic_buy->isVisible());
    ASSERT_GT(t.c.Talk->Text1->count(), 0);
    EXPECT_EQ(t.c.Talk->Text1->item(t.c.Talk->Text1->count() - 1)->text().trimmed(), QStringLiteral("您的可用金额不足！"));
}

TEST(Purchase, MoneyBelowTheReserveShowsTheWholeMoney)
{
    BetTable t;
    t.c.game.UserInfos[0].Coins = 100;
    BetTable::Click(t.b.Img_buy_bt);
    EXPECT_EQ(t.b.Lb_buy_my.Caption, QStringLiteral("可用金额：100金"));
}

TEST(Purchase, OrdersDuringAHandAddUpAndGoOutOnceAtTheResults)
{
    BetTable t;
    t.c.game.UserInfos[0].Coins = 1100; // 900 available: limit 4
    t.c.rewards.BuyDeferred = -1;
    BetTable::Click(t.b.Img_buy_bt);
    BetTable::Paste(t.b.Txt_buy_num, "3");
    BetTable::Click(t.b.Img_buy_buy_bt);
    EXPECT_EQ(t.c.rewards.DeferredBuy, 3);
    BetTable::Paste(t.b.Txt_buy_num, "5");
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "1");
    BetTable::Click(t.b.Img_buy_buy_bt);
    EXPECT_EQ(t.c.rewards.DeferredBuy, 4);
    BetTable::Click(t.b.Img_buy_buy_bt);
    EXPECT_EQ(t.b.Txt_buy_num->Text(), "0");
    EXPECT_EQ(t.c.rewards.DeferredBuy, 4);
    EXPECT_TRUE(t.SentGoods().empty());
    const QListWidget& lines = *t.c.Talk->Text1;
    ASSERT_GE(lines.count(), 2);
    EXPECT_EQ(lines.item(lines.count() - 1)->text().trimmed(), QStringLiteral("您提交购买4根香烟的订单，游戏结束时交易生效！"));

    rewards::SendDeferredBuy(t.c);
    EXPECT_EQ(t.SentGoods(), (std::vector<GoodsCmd>{{2, 3, 4}}));
    rewards::SendDeferredBuy(t.c);
    EXPECT_TRUE(t.SentGoods().empty());
    EXPECT_EQ(t.c.rewards.DeferredBuyOn, 0);
}

TEST(Purchase, GoodsCommandLayout)
{
    BetTable t;
    rewards::SendDeferredBuy(t.c);
    t.c.rewards.DeferredBuy = 1000;
    t.c.rewards.DeferredBuyOn = -1;
    t.c.game.UserInfos[0].Coins = 1e9;
    rewards::SendDeferredBuy(t.c);
    const std::vector<protocol::GameFrame> sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    const protocol::GameFrame& f = sent[0];
    EXPECT_EQ(f[3], 93);
    EXPECT_EQ(f[16], 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(f.data() + 17), 3u);
    EXPECT_EQ(qFromLittleEndian<quint32>(f.data() + 21), 1000u);
    for (int i : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 25, 100, 259, 262, 271})
        EXPECT_EQ(f[static_cast<std::size_t>(i)], 0) << i;
}

// --- The strip's hover pictures and panels -----------------------------------------

TEST(Strip, ButtonsHoverAndTheStripPutsThemBack)
{
    BetTable t;
    BetTable::MoveOver(t.b.Img_add_bt);
    EXPECT_EQ(t.b.Img_add_bt.GetPicture().resourceId, 649);
    EXPECT_EQ(t.b.Img_add_bt.Tag, "1");
    BetTable::MoveOver(t.f.Img_chip_bt);
    EXPECT_EQ(t.f.Img_chip_bt.GetPicture().resourceId, 653);
    BetTable::MoveOver(t.b.Pic_prize, QPoint(500, 16));
    EXPECT_EQ(t.b.Img_add_bt.GetPicture().resourceId, 648);
    EXPECT_EQ(t.f.Img_chip_bt.GetPicture().resourceId, 652);
    EXPECT_EQ(t.b.Img_add_bt.Tag, "0");
}

TEST(Strip, RulesPanelFollowsTheDigitsUnlessOpenedByTheIcon)
{
    BetTable t;
    BetTable::MoveOver(t.b.Pic_prize, QPoint(40, 12));
    EXPECT_TRUE(t.b.Pic_chipinfo->isVisible());
    BetTable::MoveOver(t.b.Pic_prize, QPoint(500, 12));
    EXPECT_FALSE(t.b.Pic_chipinfo->isVisible());
    BetTable::Click(t.b.Img_yan);
    EXPECT_TRUE(t.b.Pic_chipinfo->isVisible());
    BetTable::MoveOver(t.b.Pic_prize, QPoint(500, 12));
    EXPECT_TRUE(t.b.Pic_chipinfo->isVisible());
    QTest::keyClick(t.b.Pic_chipinfo, Qt::Key_Escape);
    EXPECT_FALSE(t.b.Pic_chipinfo->isVisible());
    EXPECT_TRUE(t.b.lb_chipinfo.Caption.startsWith(QStringLiteral("1.系统默认下注为1支香烟")));
    EXPECT_EQ(t.b.lb_chipinfo.Caption.count(QStringLiteral("\r\n")), 4);
}

TEST(Strip, SecondSetUpMakesNoNewControls)
{
    BetTable t;
    rewards::InitChipPanel(t.c);
    EXPECT_EQ(t.b.Lb_prize.Count(), 12);
    EXPECT_EQ(t.b.APNG_prizenum.size(), 11u);
    EXPECT_FALSE(t.b.Pic_buy->isVisible());
}

TEST(Strip, AnimationShowsTwoMoreFramesThenStops)
{
    BetTable t;
    t.f.Picture_ani[0]->show();
    t.f.Timer_ani->Tag = "0";
    t.c.game.PicAniRunning = -1;
    t.f.Timer_ani->SetEnabled(true);
    rewards::Timer_ani_Timer(t.c);
    EXPECT_TRUE(t.f.Picture_ani[1]->isVisible());
    EXPECT_FALSE(t.f.Picture_ani[0]->isVisible());
    rewards::Timer_ani_Timer(t.c);
    EXPECT_TRUE(t.f.Picture_ani[2]->isVisible());
    rewards::Timer_ani_Timer(t.c);
    for (auto* p : t.f.Picture_ani)
        EXPECT_FALSE(p->isVisible());
    EXPECT_FALSE(t.f.Timer_ani->Enabled());
    EXPECT_EQ(t.c.game.PicAniRunning, 0);
}

} // namespace
