// The table window's keys through real Qt key events on the table, the chat
// box and the system-message lists, and the click on the bare table.
#include "button_fixture.h"

#include "chat/emoticon_picker.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "platform/lobby_link.h"
#include "results/result_forms.h"
#include "services/web_links.h"
#include "window/hot_keys.h"
#include "window/main_buttons.h"
#include "window/notice_forms.h"
#include "window/settings_form.h"

#include <gtest/gtest.h>

using testing_support::ButtonTable;

namespace {

enum class Target { Table, Chat, Sysmsg };

QWidget* WidgetOf(ButtonTable& t, Target target)
{
    switch (target) {
    case Target::Chat:
        return t.f.Chat;
    case Target::Sysmsg:
        return t.f.Sysmsg[1];
    case Target::Table:
        break;
    }
    return t.f.pic1;
}

const char* NameOf(Target target)
{
    return target == Target::Chat ? "Chat" : target == Target::Sysmsg ? "Sysmsg" : "Table";
}

} // namespace

// ---- F1 to F6 to the plug-in ----

struct PluginKeyCase {
    Target target;
    Qt::Key key;
    int16_t pluginState;
    int calls; // SetKeyDown calls with that key
};

class PluginKeys : public testing::TestWithParam<PluginKeyCase> {};

TEST_P(PluginKeys, FunctionKeysReachThePluginOnceOrTwiceForF1)
{
    const PluginKeyCase& k = GetParam();
    ButtonTable t;
    t.c.rewards.PropPluginState = k.pluginState;
    QTest::keyClick(WidgetOf(t, k.target), k.key);
    const int16_t code = window::VbKeyCode(k.key);
    EXPECT_EQ(t.plugin->calls.count(QStringLiteral("SetKeyDown(%1)").arg(code)), k.calls) << NameOf(k.target);
    EXPECT_EQ(t.plugin->Count(QStringLiteral("SetKeyDown")), k.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PluginKeys,
    testing::Values(PluginKeyCase{Target::Table, Qt::Key_F3, 1, 1}, PluginKeyCase{Target::Chat, Qt::Key_F3, 1, 1},
                    PluginKeyCase{Target::Sysmsg, Qt::Key_F3, 1, 1}, PluginKeyCase{Target::Table, Qt::Key_F6, 1, 1},
                    PluginKeyCase{Target::Chat, Qt::Key_F2, 1, 1}, PluginKeyCase{Target::Table, Qt::Key_F7, 1, 0},
                    PluginKeyCase{Target::Table, Qt::Key_F1, 1, 2}, PluginKeyCase{Target::Chat, Qt::Key_F1, 1, 2},
                    PluginKeyCase{Target::Sysmsg, Qt::Key_F1, 1, 2}, PluginKeyCase{Target::Table, Qt::Key_F1, 0, 0},
                    PluginKeyCase{Target::Chat, Qt::Key_F4, 0, 0}, PluginKeyCase{Target::Table, Qt::Key_F2, -1, 0}));

// ---- F1, the boss key ----

struct BossKeyCase {
    Target target;
    int16_t keyPreview;
    bool quickPhrasesHidden;
};

class BossKey : public testing::TestWithParam<BossKeyCase> {};

TEST_P(BossKey, F1HidesTheSideWindowsAndMinimisesTableAndLobby)
{
    const BossKeyCase& k = GetParam();
    ButtonTable t;
    t.c.window.KeyPreview = k.keyPreview;
    QWidget* side[] = {t.c.Talk.get(), t.c.Score.get(), t.c.Hero.get(), t.c.Information.get(),
                       t.c.frmExit.get(), &t.settings, &t.rules};
    for (QWidget* w : side)
        w->show();
    t.c.huifu->show();

    QTest::keyClick(WidgetOf(t, k.target), Qt::Key_F1);

    for (QWidget* w : side)
        EXPECT_FALSE(w->isVisible()) << NameOf(k.target) << " " << w->objectName().toStdString();
    EXPECT_EQ(!t.c.huifu->isVisible(), k.quickPhrasesHidden) << NameOf(k.target);
    EXPECT_EQ(t.c.game.F1Minimized, -1);
    EXPECT_EQ(t.c.game.CountdownStart, 0);
    EXPECT_TRUE(t.f.isMinimized());
    ASSERT_FALSE(t.t.lobby.commands.empty());
    EXPECT_EQ(t.t.lobby.commands.back(), platform::LobbyLink::kScMinimize);
}

INSTANTIATE_TEST_SUITE_P(Cases, BossKey,
                         testing::Values(BossKeyCase{Target::Table, -1, true}, BossKeyCase{Target::Table, 0, false},
                                         BossKeyCase{Target::Chat, -1, true}, BossKeyCase{Target::Chat, 0, false},
                                         BossKeyCase{Target::Sysmsg, 0, true}));

// ---- Esc ----

TEST(HotKeys, EscOnTheTableOpensThenClosesTheExitDialog)
{
    ButtonTable t;
    t.c.rewards.PropPluginState = 1;
    t.c.Score->Show();
    t.c.Hero->Show();
    QTest::keyClick(t.f.pic1, Qt::Key_Escape);
    EXPECT_TRUE(t.c.frmExit->Visible());
    // Unlike the exit button, the key leaves the result windows as they are.
    EXPECT_TRUE(t.c.Score->Visible());
    EXPECT_TRUE(t.c.Hero->Visible());
    EXPECT_EQ(t.plugin->calls, QStringList{QStringLiteral("setbankstate(2)")});
    QTest::keyClick(t.f.pic1, Qt::Key_Escape);
    EXPECT_FALSE(t.c.frmExit->Visible());
}

TEST(HotKeys, EscClosesAnOpenPanelAndOpensTheDialogInTheSamePress)
{
    ButtonTable t;
    t.f.Pic_matchDetail->show();
    t.f.Pic_sortDetail->show();
    QTest::keyClick(t.f.pic1, Qt::Key_Escape);
    EXPECT_FALSE(t.f.Pic_matchDetail->isVisible());
    EXPECT_FALSE(t.f.Pic_sortDetail->isVisible());
    EXPECT_TRUE(t.c.frmExit->Visible());
}

TEST(HotKeys, EscOutsideTheTableDoesNothing)
{
    for (Target target : {Target::Chat, Target::Sysmsg}) {
        ButtonTable t;
        t.c.rewards.PropPluginState = 1;
        t.f.Pic_matchDetail->show();
        QTest::keyClick(WidgetOf(t, target), Qt::Key_Escape);
        EXPECT_FALSE(t.c.frmExit->Visible()) << NameOf(target);
        EXPECT_TRUE(t.f.Pic_matchDetail->isVisible()) << NameOf(target);
        EXPECT_TRUE(t.plugin->calls.isEmpty()) << NameOf(target);
    }
}

TEST(HotKeys, EscInEachStateShowsTheWarningOfTheMoment)
{
    struct Case {
        int16_t picAni, inGame, roundNo;
        bool label1, label2, label3;
    };
    for (const Case& k : {Case{-1, 0, 0, false, false, true}, Case{0, -1, 1, true, true, false},
                          Case{0, 0, 2, true, true, false}, Case{0, 0, -1, true, false, false}}) {
        ButtonTable t;
        t.c.game.PicAniRunning = k.picAni;
        t.c.game.InGame = k.inGame;
        t.c.game.RoundNo = k.roundNo;
        QTest::keyClick(t.f.pic1, Qt::Key_Escape);
        const core::ExitForm& d = *t.c.frmExit;
        ASSERT_TRUE(d.Visible());
        EXPECT_EQ(d.Label1.Visible, k.label1) << k.picAni << k.inGame << k.roundNo;
        EXPECT_EQ(d.Label2.Visible, k.label2) << k.picAni << k.inGame << k.roundNo;
        EXPECT_EQ(d.Label3.Visible, k.label3) << k.picAni << k.inGame << k.roundNo;
        EXPECT_GE(t.c.game.RoundNo, 0);
    }
}

// ---- the Alt-C chord and the focus ----

struct ChordCase {
    const char* name;
    std::vector<Qt::Key> keys;
    bool opens;
};

class AltC : public testing::TestWithParam<ChordCase> {};

TEST_P(AltC, AltAndCOnTheTableOpenTheChatWindow)
{
    const ChordCase& k = GetParam();
    ButtonTable t;
    for (Qt::Key key : k.keys)
        QTest::keyClick(t.f.pic1, key);
    EXPECT_EQ(t.c.Talk->Visible(), k.opens);
    if (k.opens) {
        const QRect table = t.f.pic1->geometry();
        EXPECT_EQ(t.c.Talk->pos(), QPoint(t.f.x() + table.x() + static_cast<int>(0.3 * table.width()),
                                          t.f.y() + table.y() + static_cast<int>(0.66 * table.height())));
        EXPECT_EQ(t.c.window.KeyLatch, (std::array<int16_t, 2>{0, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AltC,
    testing::Values(ChordCase{"AltThenC", {Qt::Key_Alt, Qt::Key_C}, true},
                    ChordCase{"CThenAlt", {Qt::Key_C, Qt::Key_Alt}, true},
                    ChordCase{"AltAgainThenC", {Qt::Key_Alt, Qt::Key_Alt, Qt::Key_C}, true},
                    ChordCase{"OtherKeyBetween", {Qt::Key_Alt, Qt::Key_X, Qt::Key_C}, false},
                    ChordCase{"F1Between", {Qt::Key_Alt, Qt::Key_F1, Qt::Key_C}, false},
                    ChordCase{"EscLeavesTheLatches", {Qt::Key_Alt, Qt::Key_Escape, Qt::Key_C}, true},
                    ChordCase{"AltAlone", {Qt::Key_Alt}, false}),
    [](const testing::TestParamInfo<ChordCase>& i) { return std::string(i.param.name); });

TEST(HotKeys, TheChordInTheChatBoxMeansNothing)
{
    ButtonTable t;
    QTest::keyClick(t.f.Chat, Qt::Key_Alt);
    QTest::keyClick(t.f.Chat, Qt::Key_C);
    EXPECT_FALSE(t.c.Talk->Visible());
    EXPECT_EQ(t.f.Chat->Text(), QStringLiteral("c")) << "the chat box still types";
}

TEST(HotKeys, AnyKeyButEscOnTheTableMovesTheFocusToTheChatBox)
{
    ButtonTable t;
    t.f.Sysmsg[0]->setFocus();
    ASSERT_EQ(t.f.focusWidget(), t.f.Sysmsg[0]);
    QTest::keyClick(t.f.pic1, Qt::Key_Escape);
    EXPECT_EQ(t.f.focusWidget(), t.f.Sysmsg[0]);
    QTest::keyClick(t.f.pic1, Qt::Key_A);
    EXPECT_EQ(t.f.focusWidget(), t.f.Chat);
    EXPECT_TRUE(t.f.Chat->Text().isEmpty()) << "the key itself stays with the table";
}

// ---- a click on the table ----

TEST(HotKeys, ALeftClickOnTheBareTableHidesTheSideWindows)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        ButtonTable t;
        QWidget* side[] = {t.c.Talk.get(), t.c.huifu.get(), t.c.Score.get(), t.c.Hero.get(),
                           &t.settings, t.c.frmExit.get(), &t.rules};
        for (QWidget* w : side)
            w->show();
        const QPoint cloth = t.Cloth();
        QTest::mousePress(t.f.pic1, button, {}, cloth, 20);
        QTest::mouseRelease(t.f.pic1, button, {}, cloth, 20);
        for (QWidget* w : side)
            EXPECT_EQ(w->isVisible(), button != Qt::LeftButton) << w->objectName().toStdString();
    }
}

TEST(HotKeys, AClickOnAControlIsNotAClickOnTheTable)
{
    ButtonTable t;
    t.c.Hero->Show();
    t.Click(t.f.AnNiu[5]);
    EXPECT_TRUE(t.c.Score->Visible()) << "the score button's own click, not the table's";
}

TEST(HotKeys, ATableClickHidesTheClientsOwnSettingsAndRulesWindows)
{
    ButtonTable t;
    // The client's own windows instead of the fixture's stand-ins.
    window::WireClientDialogs(t.c);
    window::ShowSettings(t.c);
    window::ShowRules(t.c);
    t.c.huifu->Show();
    t.c.frmBiaoqing->show();
    services::VipWindow(t.c).show();
    QApplication::processEvents();
    ASSERT_TRUE(t.c.VosSet->isVisible());
    ASSERT_TRUE(t.c.FrmRule->isVisible());
    const QPoint cloth = t.Cloth();
    QTest::mouseClick(t.f.pic1, Qt::LeftButton, {}, cloth, 20);
    EXPECT_FALSE(t.c.VosSet->isVisible());
    EXPECT_FALSE(t.c.FrmRule->isVisible());
    EXPECT_FALSE(t.c.huifu->isVisible());
    EXPECT_FALSE(t.c.frmBiaoqing->isVisible()); // the emoticon picker
    EXPECT_FALSE(services::VipWindow(t.c).isVisible()); // the membership offer
}
