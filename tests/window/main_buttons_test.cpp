// The nine main buttons through real Qt mouse events: each button's action,
// its hover picture and tooltip, and the bare table's hover reset.
#include "support/mouse.h"
#include "window/settings_form.h"
#include "app/client.h"
#include "window/notice_forms.h"
#include "button_fixture.h"

#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "platform/gbk.h"
#include "platform/lobby_link.h"
#include "results/result_forms.h"
#include "window/main_buttons.h"

#include <gtest/gtest.h>

using testing_support::ButtonTable;
using testing_support::WordOf;

namespace {

int Gif(const Client& c, int entry) { return c.window.PicIds.AnNiuPicIds[static_cast<std::size_t>(entry)].toInt(); }

} // namespace

// ---- hover pictures and tooltips ----

struct ButtonHoverCase {
    int button;
    int16_t roundNo;
    int16_t hoverEnabled;
    int normalEntry, hoverEntry;
    const char* tooltip;
};

class MainButtonHover : public testing::TestWithParam<ButtonHoverCase> {};

TEST_P(MainButtonHover, PointerOverTheButtonShowsItsHoverPictureUntilTheTableIsCrossed)
{
    const ButtonHoverCase& k = GetParam();
    ButtonTable t;
    t.c.game.RoundNo = k.roundNo;
    t.c.game.HoverEnabled = k.hoverEnabled;
    platform::Image& b = t.f.AnNiu[k.button];
    const QPoint cloth = t.Cloth();
    ASSERT_NE(cloth, QPoint(-1, -1));

    t.MoveTo(b);
    EXPECT_EQ(b.PictureId(), Gif(t.c, k.hoverEntry));
    EXPECT_EQ(b.ToolTipText, QString::fromUtf8(k.tooltip));
    EXPECT_EQ(t.c.window.AnNiuHoverShown[static_cast<std::size_t>(k.button)], -1);
    // Further moves over the button keep it.
    t.MoveTo(testing_support::CentreOf(b) + QPoint(2, 1));
    EXPECT_EQ(b.PictureId(), Gif(t.c, k.hoverEntry));

    t.MoveTo(cloth);
    EXPECT_EQ(b.PictureId(), Gif(t.c, k.normalEntry));
    EXPECT_EQ(t.c.window.AnNiuHoverShown[static_cast<std::size_t>(k.button)], 0);
}

INSTANTIATE_TEST_SUITE_P(
    AllButtons, MainButtonHover,
    testing::Values(ButtonHoverCase{0, 0, -1, 0, 1, "发送信息，快捷键为回车键"},
                    ButtonHoverCase{1, 0, -1, 2, 3, "点击打开聊天窗口"},
                    ButtonHoverCase{2, 0, -1, 4, 5, "点击开始新一局游戏"},     // start look
                    ButtonHoverCase{2, 1, -1, 6, 7, "点击开始新一局游戏"},     // a hand was played
                    ButtonHoverCase{2, 0, 0, 6, 7, "点击开始新一局游戏"},      // the button was used
                    ButtonHoverCase{3, 0, -1, 8, 9, "游戏的基本设置"},
                    ButtonHoverCase{4, 0, -1, 10, 11, "最小化窗口，快捷键为F1"},
                    ButtonHoverCase{5, 0, -1, 12, 13, "可以查看当前牌局详细结果"},
                    ButtonHoverCase{6, 0, -1, 14, 15, "可以查看本次游戏的所有牌局详细结果"},
                    ButtonHoverCase{7, 0, -1, 16, 17, "点击这里了解游戏规则"},
                    ButtonHoverCase{8, 0, -1, 18, 19, "退出游戏"}));

TEST(MainButtons, SmallLayoutButtonsUseTheirOwnPictures)
{
    // Entries from 2 on are the small pictures 379 + entry.
    testing_support::TestClient t;
    t.client.game.ScaleX = t.client.game.ScaleY = 0.78125f;
    window::InitPicIds(t.client);
    window::LayoutTableControls(t.client);
    window::AnNiu_MouseMove(t.client, window::AnNiuRules);
    EXPECT_EQ(t.client.MainForm->AnNiu[7].PictureId(), 379 + 17);
}

TEST(MainButtons, MultiplierTooltipsFollowTheirCaptionsOnlyWhileAMultiplierIsSet)
{
    ButtonTable t;
    for (platform::GraphicControl* ctl : std::initializer_list<platform::GraphicControl*>{
             &t.f.imgBeishu, &t.f.lblDifen, &t.f.Imgwealth, &t.f.lbwealth}) {
        ctl->ToolTipText = QStringLiteral("before");
        ctl->SetVisible(true);
        ctl->ZOrder(0);
    }
    t.f.imgBeishu.Move(100, 100, 40, 30);
    t.f.lbwealth.Move(100, 200, 40, 30);
    t.f.lblDifen.SetCaption(QStringLiteral("4"));
    t.f.lbwealth.SetCaption(QStringLiteral("3"));

    t.MoveTo(t.f.imgBeishu);
    t.MoveTo(t.f.lbwealth);
    EXPECT_EQ(t.f.imgBeishu.ToolTipText, QStringLiteral("before")) << "both multipliers are 0";
    EXPECT_EQ(t.f.Imgwealth.ToolTipText, QStringLiteral("before"));

    t.c.game.DiceMultiplier = 4;
    t.c.game.WealthMultiplier = 3;
    t.MoveTo(t.f.imgBeishu);
    EXPECT_EQ(t.f.imgBeishu.ToolTipText, QStringLiteral("骰子加倍 ×4"));
    EXPECT_EQ(t.f.lblDifen.ToolTipText, QStringLiteral("骰子加倍 ×4"));
    EXPECT_EQ(t.f.Imgwealth.ToolTipText, QStringLiteral("before"));
    t.MoveTo(t.f.lbwealth);
    EXPECT_EQ(t.f.Imgwealth.ToolTipText, QStringLiteral("财富加倍 ×3"));
    EXPECT_EQ(t.f.lbwealth.ToolTipText, QStringLiteral("财富加倍 ×3"));
}

// ---- the hover reset on the bare table ----

TEST(MainButtons, TableMovesLowerARaisedHandTileOnlyWhenThePointerLeftIt)
{
    ButtonTable t;
    t.GiveOwnHand({0x11, 0x12, 0x13, 0x14}, 0);
    t.c.game.AnNiuPressed[2] = -1;
    table::PlayerRecord& p = t.Player(0);
    platform::Image& tile = t.f.MJ_Image[p.Slots[static_cast<std::size_t>(p.HandFirst + 1)].Image];
    for (int i = 0; i < 4; ++i)
        t.f.MJ_Image[p.Slots[static_cast<std::size_t>(p.HandFirst + i)].Image].ZOrder(0);
    const float handY = p.HandY;
    tile.Move(tile.Left, handY - 10);

    // The gap the raised tile left under it counts as the tile.
    const QPoint gap(static_cast<int>(tile.Left + tile.Width / 2), static_cast<int>(tile.Top + tile.Height + 5));
    ASSERT_EQ(t.f.pic1->ControlAt(static_cast<float>(gap.x()), static_cast<float>(gap.y())), nullptr);
    t.MoveTo(gap);
    EXPECT_EQ(tile.Top, handY - 10);

    t.MoveTo(t.Cloth());
    EXPECT_EQ(tile.Top, handY);

    // A spectator's table never moves the hand.
    t.c.game.WatchMode = true;
    tile.Move(tile.Left, handY - 10);
    t.MoveTo(t.Cloth());
    EXPECT_EQ(tile.Top, handY - 10);
}

TEST(MainButtons, TableMovesHideThePlayerCardAndResetThePictureButtons)
{
    ButtonTable t;
    t.c.Information->Show();
    t.f.ImgJadeExch.Tag = QStringLiteral("1");
    t.f.ImgJadeExch.ClearPicture();
    t.MoveTo(t.Cloth());
    EXPECT_FALSE(t.c.Information->Visible());
    EXPECT_EQ(t.f.ImgJadeExch.Tag, QStringLiteral("0"));
    EXPECT_EQ(t.f.ImgJadeExch.PictureId(), 560);
}

TEST(MainButtons, TableMovesPutEveryHoveredPictureButtonBack)
{
    struct Case {
        const char* name;
        platform::Image window::MainForm::*button;
        bool matchListShown;
        const char* tag; // before the move
        int picture;     // after it; 0: left as it was
    };
    const Case cases[] = {
        {"match button, list hidden", &window::MainForm::ImgOpenMatchBtn, false, "1", 562},
        {"match button, list shown", &window::MainForm::ImgOpenMatchBtn, true, "1", 564},
        {"prize exchange", &window::MainForm::ImgJadeExch, false, "1", 560},
        {"jade tasks", &window::MainForm::ImgJadeTask, false, "2", 680},
        {"jade tasks already normal", &window::MainForm::ImgJadeTask, false, "0", 0},
    };
    for (const Case& k : cases) {
        ButtonTable t;
        platform::Image& b = t.f.*k.button;
        t.f.ImgShowMatch.Visible = k.matchListShown;
        b.Tag = QString::fromLatin1(k.tag);
        b.ClearPicture();
        t.MoveTo(t.Cloth());
        EXPECT_EQ(b.Tag, QStringLiteral("0")) << k.name;
        EXPECT_EQ(b.PictureId(), k.picture) << k.name;
    }
}

TEST(MainButtons, MatchImageButtonsHoverUnderThePointerUntilTheTableIsCrossed)
{
    ButtonTable t;
    QImage normal(60, 30, QImage::Format_RGB32);
    normal.fill(qRgb(0, 0, 200));
    QImage hover = normal;
    hover.fill(qRgb(0, 200, 0));
    for (widgets::InodePic* b : {&t.f.ImgShowMatch, &t.f.ImgShowSort}) {
        b->Move(b == &t.f.ImgShowMatch ? 600 : 680, 480, 60, 30);
        b->init();
        b->SetiState(0);
        b->SetMouseOriPic(platform::Picture{0, normal});
        b->SetMouseInPic(platform::Picture{0, hover});
        b->SetVisible(true);
        b->SetEnabled(true);
        b->ZOrder(0);
    }
    int presses = 0;
    t.f.ImgShowSort.MouseDown = [&](int16_t, int16_t, float, float) { ++presses; };

    t.MoveTo(t.f.ImgShowSort);
    EXPECT_EQ(t.f.ImgShowSort.iState(), 1);
    EXPECT_EQ(t.f.ImgShowMatch.iState(), 0);
    t.Click(t.f.ImgShowSort);
    EXPECT_EQ(presses, 1);
    t.MoveTo(t.f.ImgShowMatch); // straight from one to the other, over no table
    EXPECT_EQ(t.f.ImgShowSort.iState(), 1);
    EXPECT_EQ(t.f.ImgShowMatch.iState(), 1);
    t.MoveTo(t.Cloth());
    EXPECT_EQ(t.f.ImgShowSort.iState(), 0);
    EXPECT_EQ(t.f.ImgShowMatch.iState(), 0);

    // Switched off as the session's end does it, a button takes no pointer.
    t.f.ImgShowSort.Enabled = false;
    t.Click(t.f.ImgShowSort);
    EXPECT_EQ(presses, 1);
}

// ---- clicks ----

TEST(MainButtons, ChatButtonShowsTheChatWindowOverTheTableAndHidesItAgain)
{
    ButtonTable t;
    t.Click(t.f.AnNiu[1]);
    ASSERT_TRUE(t.c.Talk->Visible());
    // All in screen pixels: the window's place, the table's, shares of its size.
    const QRect table = t.f.pic1->geometry();
    EXPECT_EQ(t.c.Talk->pos(), QPoint(t.f.x() + table.x() + static_cast<int>(0.3 * table.width()),
                                      t.f.y() + table.y() + static_cast<int>(0.66 * table.height())));
    t.Click(t.f.AnNiu[1]);
    EXPECT_FALSE(t.c.Talk->Visible());
}

TEST(MainButtons, SettingsButtonOpensTheSettingsWindowNearTheTablesCorner)
{
    ButtonTable t;
    t.c.rewards.PropPluginState = 1;
    t.Click(t.f.AnNiu[3]);
    ASSERT_TRUE(t.settings.Visible());
    const QRect table = t.f.pic1->geometry();
    EXPECT_EQ(t.settings.pos(), QPoint(static_cast<int>(t.f.x() + table.x() + table.width() - 1.1 * 220),
                                       static_cast<int>(t.f.y() + table.y() + table.height() - 1.35 * 330)));
    EXPECT_EQ(t.plugin->Count(QStringLiteral("setbankstate")), 1);
    t.Click(t.f.AnNiu[3]);
    EXPECT_FALSE(t.settings.Visible());
}

TEST(MainButtons, RulesButtonAlwaysLeavesTheRulesWindowShownAndCentred)
{
    ButtonTable t;
    for (int i = 0; i < 2; ++i) {
        t.Click(t.f.AnNiu[7]);
        ASSERT_TRUE(t.rules.Visible()) << "click " << i;
        EXPECT_EQ(t.rules.pos(), QPoint(t.f.x() + (t.f.width() - 337) / 2, t.f.y() + (t.f.height() - 534) / 2));
    }
}

TEST(MainButtons, EveryOtherClickHidesTheRulesWindow)
{
    for (int button : {0, 1, 3, 5, 6, 8}) {
        ButtonTable t;
        t.rules.Show();
        t.Click(t.f.AnNiu[button]);
        EXPECT_FALSE(t.rules.Visible()) << "button " << button;
    }
}

TEST(MainButtons, ScoreAndHistoryButtonsShowOneResultWindowAtATime)
{
    ButtonTable t;
    t.c.rewards.PropPluginState = 1;
    t.Click(t.f.AnNiu[5]);
    EXPECT_TRUE(t.c.Score->Visible());
    EXPECT_FALSE(t.c.Hero->Visible());
    t.Click(t.f.AnNiu[6]);
    EXPECT_TRUE(t.c.Hero->Visible());
    EXPECT_FALSE(t.c.Score->Visible());
    t.Click(t.f.AnNiu[6]);
    EXPECT_FALSE(t.c.Hero->Visible());
    EXPECT_EQ(t.plugin->Count(QStringLiteral("setbankstate")), 3);
}

TEST(MainButtons, ExitButtonOpensAndClosesTheExitDialog)
{
    ButtonTable t;
    t.c.Score->Show();
    t.c.game.InGame = -1;
    t.Click(t.f.AnNiu[8]);
    ASSERT_TRUE(t.c.frmExit->Visible());
    EXPECT_FALSE(t.c.Score->Visible());
    EXPECT_TRUE(t.c.frmExit->Label2.Visible);
    EXPECT_EQ(t.c.frmExit->Label2.Caption, QStringLiteral("游戏正在进行，逃跑会扣分！"));
    t.Click(t.f.AnNiu[8]);
    EXPECT_FALSE(t.c.frmExit->Visible());
}

TEST(MainButtons, TitleBarPicturesActAsTheExitAndMinimiseButtons)
{
    ButtonTable t;
    ASSERT_TRUE(t.f.Imgclose[0].Click);
    t.f.Imgclose[0].Click();
    EXPECT_TRUE(t.c.frmExit->Visible());
    t.rules.Show();
    t.f.ImgMin[0].Click();
    EXPECT_FALSE(t.rules.Visible());
    EXPECT_TRUE(t.f.isMinimized());
}

TEST(MainButtons, MinimiseButtonHidesTheSideWindowsAndRunsTheBossKey)
{
    ButtonTable t;
    t.c.rewards.PropPluginState = 1;
    for (QWidget* w : std::initializer_list<QWidget*>{t.c.Talk.get(), t.c.Score.get(), t.c.Hero.get(),
                                                      t.c.huifu.get(), &t.settings, &t.rules})
        w->show();
    t.Click(t.f.AnNiu[4]);
    EXPECT_TRUE(t.f.isMinimized());
    for (QWidget* w : std::initializer_list<QWidget*>{t.c.Talk.get(), t.c.Score.get(), t.c.Hero.get(),
                                                      t.c.huifu.get(), &t.settings, &t.rules})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(t.c.game.F1Minimized, -1);
    EXPECT_EQ(t.c.game.CountdownStart, 8) << "the window's own F1 leaves the countdown";
    EXPECT_EQ(t.plugin->calls, QStringList{QStringLiteral("SetKeyDown(112)")});
    EXPECT_EQ(t.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScMinimize});
}

// ---- the chat line (button 0) ----

struct SendCase {
    const char* name;
    int16_t inputEnabled;
    const char* prefix; // the whisper prefix
    const char* box;    // the chat box's text
    bool sends;
    const char* line; // what goes out
    int whisperSeat;  // Data(1) of the frame
};

class SendButton : public testing::TestWithParam<SendCase> {};

TEST_P(SendButton, SendsTheChatLineOrLeavesTheBoxAlone)
{
    const SendCase& k = GetParam();
    ButtonTable t;
    t.TakeSent();
    t.c.game.InputEnabled = k.inputEnabled;
    t.c.game.UserInfos[0].Nickname = QStringLiteral("阿明");
    t.c.chat.WhisperPrefix = QString::fromUtf8(k.prefix);
    t.c.chat.WhisperSeat = 4;
    t.f.Chat->SetText(QString::fromUtf8(k.box));
    t.Click(t.f.AnNiu[0]);
    const auto sent = t.TakeSent();
    if (!k.sends) {
        EXPECT_TRUE(sent.empty());
        EXPECT_EQ(t.f.Chat->Text(), QString::fromUtf8(k.box));
        return;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 19);
    EXPECT_EQ(WordOf(sent[0], 1), k.whisperSeat);
    EXPECT_EQ(platform::gbk::Decode(sent[0].data() + 16, 200), QString::fromUtf8(k.line));
    EXPECT_TRUE(t.f.Chat->Text().isEmpty());
    EXPECT_TRUE(t.c.chat.WhisperPrefix.isEmpty());
    EXPECT_EQ(t.c.chat.WhisperSeat, 4) << "the whisper seat is kept";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendButton,
    testing::Values(SendCase{"Plain", -1, "", "你好", true, "阿明说道: 你好", 0},
                    SendCase{"Whisper", -1, "你对小红说: ", "你对小红说: 快点", true, "阿明对小红说: 快点", 4},
                    SendCase{"EmptyBox", -1, "", "", false, "", 0},
                    SendCase{"OnlyThePrefix", -1, "你对小红说:", "  你对小红说:  ", false, "", 0},
                    SendCase{"InputNotEnabled", 0, "", "你好", false, "", 0}),
    [](const testing::TestParamInfo<SendCase>& i) { return std::string(i.param.name); });

// ---- the start button ----

TEST(StartButton, ReadiesOnceAndTakesTheContinueLook)
{
    ButtonTable t;
    t.TakeSent();
    t.c.game.HoverEnabled = -1;
    t.c.game.TableCleared = -1;
    t.c.game.ChipRefreshDue = -1;
    t.c.core.SchedReady.Start();
    t.Click(t.f.AnNiu[2]);
    EXPECT_TRUE(t.TakeSent().empty()) << "the ready command follows the rewards of the hand";
    // With no reward of the hand pending it goes out two seconds later.
    t.t.clock.Advance(2000);
    core::TimerBong_Timer(t.c);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 16);
    EXPECT_EQ(sent[0][6], t.SeatBitOf(0));
    EXPECT_EQ(WordOf(sent[0], 3), 1);
    EXPECT_EQ(t.c.game.AnNiuPressed[2], -1);
    EXPECT_EQ(t.c.game.HoverEnabled, 0);
    EXPECT_EQ(t.f.AnNiu[2].PictureId(), Gif(t.c, 6));
    EXPECT_TRUE(t.f.OK[0].Visible);
    EXPECT_FALSE(t.c.core.SchedReady.On);
    EXPECT_EQ(t.c.game.ChipRefreshDue, 0);

    t.c.Score->Show();
    t.Click(t.f.AnNiu[2]);
    EXPECT_TRUE(t.TakeSent().empty()) << "a second click before the hand ends sends nothing";
    EXPECT_FALSE(t.c.Score->Visible());
}

TEST(StartButton, AfterTheGameEndedLeadsBackToTheLobby)
{
    for (bool lobbyThere : {true, false}) {
        ButtonTable t;
        t.TakeSent();
        t.c.core.LeaveAfterHand = true;
        t.t.lobby.exists = lobbyThere;
        t.Click(t.f.AnNiu[2]);
        EXPECT_TRUE(t.TakeSent().empty()) << "no ready and no leave frame";
        EXPECT_EQ(t.t.tcp.state, platform::TcpLink::Closed) << "the session is closed first";
        if (lobbyThere) {
            EXPECT_EQ(t.t.process.calls, 0);
            EXPECT_TRUE(t.f.isMinimized());
            EXPECT_EQ(t.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
        } else {
            EXPECT_EQ(t.t.process.calls, 1) << "the client ends at once";
            EXPECT_TRUE(t.t.lobby.commands.empty());
        }
    }
}

// Without stand-ins the buttons open the client's own settings and rules
// windows, loaded on their first showing.
TEST(MainButtons, SettingsAndRulesButtonsOpenTheClientsOwnWindows)
{
    ButtonTable t;
    t.c.window.VosSet = nullptr;
    t.c.window.FrmRule = nullptr;
    window::WireClientDialogs(t.c);
    t.Click(t.f.AnNiu[3]);
    EXPECT_TRUE(t.c.VosSet->isVisible());
    EXPECT_TRUE(t.c.VosSet->Loaded());
    t.Click(t.f.AnNiu[7]);
    EXPECT_TRUE(t.c.FrmRule->isVisible());
}
