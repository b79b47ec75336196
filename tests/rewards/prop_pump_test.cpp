// The prop plug-in's side of the tick: its messages, the hand's end, the
// treasure-box countdown, and its start through the loader.

#include "core/scheduler.h"

#include "chat/seat_handlers.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/rings.h"
#include "protocol/frame.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "rewards/prop_pump.h"
#include "support/fake_prop_plugin.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using testing_support::FakePropPlugin;
using testing_support::TestClient;

namespace {

// A client at a seated table whose prop plug-in runs (mode 1, or 2 with
// treasure boxes) and is scripted by the test.
struct PluginTable : TestClient {
    Client& c = client;
    window::MainForm& f = *client.MainForm;
    std::shared_ptr<FakePropPlugin> plugin = std::make_shared<FakePropPlugin>();

    explicit PluginTable(int16_t mode = 1)
    {
        for (int v = 0; v < 4; ++v) {
            c.game.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << v);
            c.game.UserInfos[static_cast<std::size_t>(v)].Nickname = QStringLiteral("玩家%1").arg(v);
        }
        c.game.InputEnabled = -1;
        c.rewards.PropPlugin = plugin;
        c.rewards.PropPluginState = mode;
        c.rewards.PropPluginReady = -1;
        tcp.state = platform::TcpLink::Connected;
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            core::TimerBong_Timer(c);
    }
    void Output(int16_t type, const QString& text, QByteArray frame = {}, std::vector<int32_t> params = {})
    {
        FakePropPlugin::Output o;
        o.type = type;
        o.text = text;
        o.frame = std::move(frame);
        o.params = std::move(params);
        o.extra = {0, 0, 12, 0xFFFF, 2};
        plugin->outputs.push_back(o);
    }
    QString Box(int i) const
    {
        const platform::ListBox& box = *f.Sysmsg[static_cast<std::size_t>(i)];
        return box.ListCount() > 0 ? box.List(0) : QString();
    }
    bool ScoreShown() const { return c.core.SchedReady.On; }
};

// ---- messages ------------------------------------------------------------------

TEST(PropPump, NothingIsFetchedForNoOrANegativeCount)
{
    for (int16_t count : {int16_t{0}, int16_t{-3}}) {
        PluginTable t;
        t.Output(0, QStringLiteral("never"));
        t.plugin->sendBuffCount = count;
        t.Tick();
        EXPECT_EQ(t.plugin->Count(QStringLiteral("GetSendBuff")), 0) << count;
        EXPECT_EQ(t.Box(0), QString()) << count;
    }
}

TEST(PropPump, ASystemLineGoesToTheHistoryAndTheBoxes)
{
    PluginTable t;
    t.Output(0, QString(60, QLatin1Char('p')));
    t.Output(0, QString()); // empty: dropped
    t.Tick();
    EXPECT_EQ(t.c.Talk->Text1->ListCount(), 2);
    EXPECT_EQ(t.Box(0), QString(45, QLatin1Char('p')));
    EXPECT_EQ(t.Box(1), QString());
    EXPECT_EQ(t.c.rewards.PropSendText, QString());
}

TEST(PropPump, ANoticeNeedsFourBoxValues)
{
    for (std::size_t n : {3u, 4u, 5u}) {
        PluginTable t;
        t.Output(1, QStringLiteral("道具提示"), {}, std::vector<int32_t>(n, 0));
        t.plugin->outputs.back().params = n == 4 ? std::vector<int32_t>{120, 40, 300, 200} : std::vector<int32_t>(n, 7);
        t.Tick();
        if (n == 4) {
            EXPECT_TRUE(t.f.LbProp.Visible);
            EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("道具提示"));
            EXPECT_EQ(t.f.LbProp.Left, 300);
            EXPECT_EQ(t.f.LbProp.Top, 200);
            EXPECT_EQ(t.f.LbProp.Width, 120);
            EXPECT_EQ(t.f.LbProp.Height, 40);
            EXPECT_EQ(t.f.LbProp.FontSize, 12);
            EXPECT_EQ(t.f.LbProp.Alignment, platform::Label::Center);
            EXPECT_EQ(t.c.rewards.PropSendText, QString());
        } else {
            EXPECT_FALSE(t.f.LbProp.Visible) << n;
            // The text stays for the plug-in's next message.
            EXPECT_EQ(t.c.rewards.PropSendText, QStringLiteral("道具提示")) << n;
        }
    }
}

TEST(PropPump, ANoticeCountsDownOnItsTimer)
{
    PluginTable t;
    rewards::ShowPropNotice(t.c, QStringLiteral("x"), {10, 10, 0, 0}, {100, 3, 9, 0, 0});
    EXPECT_EQ(t.f.TimerProp->interval(), 100);
    for (int i = 0; i < 2; ++i)
        rewards::TimerProp_Timer(t.c);
    EXPECT_TRUE(t.f.LbProp.Visible);
    EXPECT_TRUE(t.f.TimerProp->Enabled());
    rewards::TimerProp_Timer(t.c);
    EXPECT_FALSE(t.f.LbProp.Visible);
    EXPECT_FALSE(t.f.TimerProp->Enabled());
}

class FrameMessage : public ::testing::TestWithParam<int> {};

TEST_P(FrameMessage, OnlyAWholeFrameIsQueued)
{
    PluginTable t;
    QByteArray frame(GetParam(), '\0');
    frame[3] = 45;
    t.Output(2, {}, frame);
    t.Tick();
    const int queued = t.c.core.SendRing.Waiting() / protocol::kFrameSize;
    EXPECT_EQ(queued, GetParam() == 272 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameMessage, ::testing::Values(271, 272, 273));

struct SeatMessage {
    int16_t type;
    const char* text;
    int view; // -1: nothing happens
};

class SeatMessageTest : public ::testing::TestWithParam<SeatMessage> {};

TEST_P(SeatMessageTest, TakesTheNumberAtTheStartOfTheText)
{
    PluginTable t;
    const SeatMessage m = GetParam();
    t.Output(m.type, QString::fromLatin1(m.text));
    t.Tick();
    if (m.type == 3) {
        const QString expected = m.view < 0 ? QString()
                                            : QStringLiteral("你对") + t.c.game.UserInfos[m.view].Nickname +
                                                  QStringLiteral("说: ");
        EXPECT_EQ(t.c.chat.WhisperPrefix, expected);
    } else {
        EXPECT_EQ(t.c.Information->Visible(), m.view >= 0);
        if (m.view >= 0) {
            EXPECT_EQ(t.c.Information->Inf[0].Caption, t.c.game.UserInfos[m.view].Nickname);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, SeatMessageTest,
                         ::testing::Values(SeatMessage{3, "2", 2}, SeatMessage{3, "4", -1}, SeatMessage{3, "0", -1},
                                           SeatMessage{3, "2.5", 2}, SeatMessage{3, "3.5", -1},
                                           SeatMessage{3, " 1 seat", 1}, SeatMessage{3, "x", -1},
                                           SeatMessage{5, "0", 0}, SeatMessage{5, "3", 3}, SeatMessage{5, "-1", -1},
                                           SeatMessage{5, "4", -1}, SeatMessage{5, "99999999", -1}));

TEST(PropPump, AKeyMessagePressesTheKeyOnTheTable)
{
    struct Case {
        const char* text;
        bool bossKey;    // F1: side windows gone, countdown cut to 0
        bool exitDialog; // Esc: the exit dialog opens
        QStringList told; // what the plug-in hears back from the key
    };
    const Case cases[] = {
        {"112", true, false, {QStringLiteral("SetKeyDown(112)")}},
        {"27", false, true, {QStringLiteral("setbankstate(2)")}},
        {"65", false, false, {}},
    };
    for (const Case& k : cases) {
        PluginTable t;
        t.c.Talk->Show();
        t.Output(4, QString::fromLatin1(k.text));
        t.Tick();
        EXPECT_EQ(t.c.game.F1Minimized, k.bossKey ? -1 : 0) << k.text;
        EXPECT_EQ(t.c.game.CountdownStart, k.bossKey ? 0 : 8) << k.text;
        EXPECT_EQ(t.c.game.AutoPlay, 0) << k.text << ": hosted play is the player's own choice";
        EXPECT_EQ(t.c.Talk->Visible(), !k.bossKey) << k.text;
        EXPECT_EQ(t.c.frmExit->Visible(), k.exitDialog) << k.text;
        QStringList told;
        for (const QString& call : t.plugin->calls)
            if (call.startsWith(QStringLiteral("SetKeyDown")) || call.startsWith(QStringLiteral("setbankstate")))
                told << call;
        EXPECT_EQ(told, k.told) << k.text;
    }
}

TEST(PropPump, OtherTypesDoNothing)
{
    PluginTable t;
    t.Output(6, QStringLiteral("1"));
    t.Output(-1, QStringLiteral("1"));
    t.Tick();
    EXPECT_EQ(t.plugin->Count(QStringLiteral("GetSendBuff")), 2);
    EXPECT_EQ(t.c.rewards.PropSendText, QStringLiteral("1"));
}

// A plug-in whose message stops it while more are waiting.
class StoppingPlugin : public FakePropPlugin {
public:
    Client* client = nullptr;
    void GetSendBuff(platform::Picture& picture, QString& text, QByteArray& frame, int16_t& type,
                     std::vector<int32_t>& params, std::array<int32_t, 5>& extra) override
    {
        FakePropPlugin::GetSendBuff(picture, text, frame, type, params, extra);
        client->rewards.PropPluginState = 0;
    }
};

TEST(PropPump, APluginStoppedByAMessageEndsTheTick)
{
    PluginTable t;
    auto stopping = std::make_shared<StoppingPlugin>();
    stopping->client = &t.c;
    t.c.rewards.PropPlugin = stopping;
    FakePropPlugin::Output o;
    o.type = 0;
    o.text = QStringLiteral("first");
    stopping->outputs = {o, o};
    // An emoticon due to end this tick is left for a later tick.
    t.c.chat.DBQS_flag = -1;
    t.c.chat.DBQS_Num = 59;
    t.Tick();
    EXPECT_EQ(stopping->Count(QStringLiteral("GetSendBuff")), 1);
    EXPECT_EQ(t.c.chat.DBQS_flag, -1);
    EXPECT_TRUE(t.f.TimerBong->Enabled());
}

class FailingPlugin : public FakePropPlugin {
public:
    int16_t CheckSendBuff() override { throw std::runtime_error("plug-in gone"); }
};

TEST(PropPump, APluginThatFailsIsStoppedAndTheTicksGoOn)
{
    PluginTable t;
    auto failing = std::make_shared<FailingPlugin>();
    t.c.rewards.PropPlugin = failing;
    t.Tick();
    EXPECT_EQ(t.c.rewards.PropPluginState, 0);
    EXPECT_EQ(t.c.rewards.PropPluginReady, 0);
    EXPECT_EQ(failing->Count(QStringLiteral("InitExit")), 1);
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.f.TimerBong->Enabled());
    t.Tick(); // no longer pumped
}

TEST(PropPump, NothingWhileThePluginIsNotReady)
{
    PluginTable t;
    t.c.rewards.PropPluginReady = 0;
    t.Output(0, QStringLiteral("x"));
    t.Tick();
    EXPECT_TRUE(t.plugin->calls.isEmpty());
}

// ---- the hand's end ------------------------------------------------------------

TEST(PropHandEnd, TheResultIsShownOnceWhenTheScoreInfoIsReady)
{
    PluginTable t;
    t.c.rewards.PropHandEndDue = -1;
    t.c.rewards.PropScoreInfoDue = -1;
    t.plugin->scoreInfoAnswers = {0, 0, 0, 0, 0, 1};
    for (int tick = 1; tick <= 5; ++tick) {
        t.Tick();
        EXPECT_FALSE(t.ScoreShown()) << tick;
    }
    t.Tick();
    EXPECT_TRUE(t.ScoreShown());
    EXPECT_EQ(t.plugin->Count(QStringLiteral("GetScoreInfo")), 6);
    EXPECT_EQ(t.plugin->Count(QStringLiteral("InitShowNext")), 1);
    EXPECT_TRUE(t.plugin->calls.contains(QStringLiteral("InitShowNext(false)")));
    EXPECT_EQ(t.c.rewards.PropHandEndDue, 0);
    t.Tick(3);
    EXPECT_EQ(t.plugin->Count(QStringLiteral("GetScoreInfo")), 6);
}

TEST(PropHandEnd, WithoutTheScoreFrameTheResultComesAtOnce)
{
    PluginTable t;
    t.c.rewards.PropHandEndDue = -1;
    t.Tick();
    EXPECT_TRUE(t.ScoreShown());
    EXPECT_EQ(t.plugin->Count(QStringLiteral("GetScoreInfo")), 0);
    EXPECT_EQ(t.plugin->Count(QStringLiteral("InitShowNext")), 1);
}

TEST(PropHandEnd, ADrawnHandShowsTheDrawnResultWithThePropChanges)
{
    PluginTable t;
    t.c.rewards.PropHandEndDue = -1;
    t.c.rewards.PropScoreInfoDue = -1;
    t.c.game.DrawnHandPending = -1;
    t.c.game.UserInfos[1].Coins = 100;
    t.plugin->scoreInfoAnswers = {1};
    t.plugin->scoreInfo.seatNames[1] = QStringLiteral("使用道具|+20金币");
    t.plugin->scoreInfo.coinDelta[1] = 20;
    t.Tick();
    const platform::ListBox& sheet = *t.c.Score->State[1];
    ASSERT_EQ(sheet.ListCount(), 5);
    EXPECT_EQ(sheet.List(0), QStringLiteral("      黄  庄"));
    EXPECT_EQ(sheet.List(2), QStringLiteral("使用道具"));
    EXPECT_EQ(sheet.List(3), QStringLiteral("+20金币"));
    EXPECT_EQ(t.c.Score->State[5]->List(0), QStringLiteral("最终分：20金币"));
    EXPECT_EQ(t.f.Cash[1].Caption, QStringLiteral("120金币"));
    EXPECT_EQ(t.c.game.Countdown, 15);
    EXPECT_TRUE(t.ScoreShown());
}

TEST(PropHandEnd, APluginNoLongerRunningEndsTheTickWithTheResult)
{
    PluginTable t;
    t.c.rewards.PropPluginState = 0;
    t.c.rewards.PropHandEndDue = -1;
    t.c.chat.DBQS_flag = -1;
    t.c.chat.DBQS_Num = 59;
    t.Tick();
    EXPECT_TRUE(t.ScoreShown());
    EXPECT_EQ(t.c.rewards.PropHandEndDue, 0);
    EXPECT_EQ(t.c.chat.DBQS_flag, -1); // the rest of the tick was skipped
    EXPECT_TRUE(t.f.TimerBong->Enabled());
}

// ---- treasure boxes ------------------------------------------------------------

struct TreasureTable : PluginTable {
    TreasureTable() : PluginTable(2)
    {
        c.rewards.PropHandEndDue = -1;
        c.rewards.PropScoreInfoDue = -1;
        plugin->scoreInfoAnswers = {1};
        platform::PropPlugin::BaoInfo& bao = c.rewards.PropBaoInfo;
        for (int k = 0; k < 15; ++k)
            bao.BoxPositions[static_cast<std::size_t>(k)] = {100 + 60 * (k % 5), 300 + 80 * (k / 5)};
        bao.ClosedBoxSize = {50, 50};
        bao.PropNoticePoint = {512, 200};
    }
    // TimerProp's ticks of the box results, to their end.
    void RunResultSteps()
    {
        for (int i = 0; i < 20 && c.rewards.PropTimerOn; ++i)
            rewards::TimerProp_Timer(c);
    }
};

TEST(Treasure, APlayerWithABoxGetsOneAutomaticPickAtZeroSeconds)
{
    TreasureTable t;
    t.plugin->scoreInfo.seatEntries[0][0] = QStringLiteral("我");
    t.plugin->scoreInfo.coinDelta[0] = 30;
    t.Tick(); // the score info, and the boxes
    ASSERT_EQ(t.c.rewards.TreasureCountdownOn, -1);
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(t.f.ImgProp[k].Visible && t.f.ImgProp[k].Enabled) << k;
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("请选择一个宝箱打开\n5"));
    t.Tick(80);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("请选择一个宝箱打开\n1"));
    t.Tick(18);
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, -1);
    EXPECT_FALSE(t.ScoreShown());
    t.Tick(); // five seconds
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, 0);
    const int16_t pick = t.c.rewards.TreasurePicks[0];
    EXPECT_GE(pick, 0);
    EXPECT_LE(pick, 4);
    EXPECT_FALSE(t.f.ImgProp[pick].Visible);
    t.RunResultSteps(); // the coins count up on TimerProp, then the result
    EXPECT_TRUE(t.ScoreShown());
    EXPECT_EQ(t.plugin->Count(QStringLiteral("InitShowNext")), 1);
}

TEST(Treasure, APlayerWithoutABoxSeesTheOthersOpenAtTwoSeconds)
{
    TreasureTable t;
    t.plugin->scoreInfo.seatEntries[1][2] = QStringLiteral("钻石");
    t.Tick();
    ASSERT_EQ(t.c.rewards.TreasureCountdownOn, -1);
    const int16_t pick = t.c.rewards.TreasurePicks[2];
    EXPECT_GE(pick, 0);
    EXPECT_LE(pick, 4);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("请等待其他玩家打开宝箱\n5"));
    t.Tick(58);
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, -1);
    t.Tick(); // three seconds: two left
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, 0);
    EXPECT_FALSE(t.f.ImgProp[pick].Visible);
    t.RunResultSteps();
    EXPECT_TRUE(t.ScoreShown());
}

TEST(Treasure, NoSeatTakingPartShowsTheResultAtOnce)
{
    TreasureTable t;
    t.Tick();
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, 0);
    EXPECT_TRUE(t.ScoreShown());
}

TEST(Treasure, APickedBoxStopsTheCountdown)
{
    TreasureTable t;
    t.plugin->scoreInfo.seatEntries[0][0] = QStringLiteral("我");
    t.Tick();
    t.c.rewards.PropMenuOpen = -1;
    t.Tick(20);
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, 0);
    EXPECT_FALSE(t.ScoreShown());
}

// ---- the start through the loader ---------------------------------------------

struct StartCase {
    const char* what;
    bool exists;
    bool initdll;
    bool bao;
    int16_t input;
    int16_t state;
    bool ready;
    bool object;
};

class PluginStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(PluginStart, EndsInItsState)
{
    TestClient t;
    Client& c = t.client;
    const StartCase s = GetParam();
    c.core.AppPath = QStringLiteral("/opt/mj");
    c.core.UserName = "alice";
    c.core.UserKey = "key";
    c.core.CmdLineField15 = 7;
    c.game.InputEnabled = s.input;
    t.plugins.exists = s.exists;
    t.plugins.next = std::make_unique<FakePropPlugin>();
    t.plugins.next->initdllResult = s.initdll;
    t.plugins.next->baoInfoResult = s.bao;
    FakePropPlugin* plugin = t.plugins.next.get();
    const int16_t r = rewards::InitPropPlugin(c);
    EXPECT_EQ(c.rewards.PropPluginState, s.state) << s.what;
    EXPECT_EQ(c.rewards.PropPluginReady != 0, s.ready) << s.what;
    EXPECT_EQ(r, s.ready ? -1 : 0) << s.what;
    EXPECT_EQ(c.rewards.PropPlugin != nullptr, s.object) << s.what;
    if (s.object) {
        EXPECT_EQ(t.plugins.folders.last(), QStringLiteral("/opt/mj"));
        EXPECT_EQ(plugin->calls.value(0), QStringLiteral("Initdll(alice, key, DLL, dorvak, 1, 7)")) << s.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PluginStart,
                         ::testing::Values(StartCase{"no plug-in", false, true, true, -1, -1, false, false},
                                           StartCase{"input not allowed", true, true, true, 0, -1, false, false},
                                           StartCase{"with boxes", true, true, true, -1, 2, true, true},
                                           StartCase{"without boxes", true, true, false, -1, 1, true, true},
                                           StartCase{"refused", true, false, true, -1, 0, false, false}));

TEST(PluginStartScale, TheSmallLayoutTellsScaleTwo)
{
    TestClient t;
    t.client.game.InputEnabled = -1;
    t.client.game.ScaleY = 0.78125f;
    t.plugins.exists = true;
    t.plugins.next = std::make_unique<FakePropPlugin>();
    FakePropPlugin* plugin = t.plugins.next.get();
    rewards::InitPropPlugin(t.client);
    EXPECT_TRUE(plugin->calls.value(0).endsWith(QStringLiteral(", 2, 0)")));
}

TEST(PluginExit, StopsThePumpAndKeepsTheObject)
{
    PluginTable t;
    t.c.rewards.TreasureCountdownOn = -1;
    t.f.LbProp.SetVisible(true);
    rewards::ExitPropPlugin(t.c, 0);
    EXPECT_EQ(t.c.rewards.PropPluginState, 0);
    EXPECT_EQ(t.c.rewards.PropPluginReady, 0);
    EXPECT_EQ(t.c.rewards.TreasureCountdownOn, 0);
    EXPECT_FALSE(t.f.LbProp.Visible);
    EXPECT_TRUE(t.plugin->calls.contains(QStringLiteral("InitExit(0)")));
    EXPECT_NE(t.c.rewards.PropPlugin, nullptr);
}

} // namespace
