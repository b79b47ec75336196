// Received chat frames: relayed plug-in frames, lines, quick phrases and
// emoticons, with the senders named in GBK.

#include "chat_fixture.h"

#include "chat/huifu_form.h"
#include "chat/speak_box.h"
#include "dispatch/dispatcher.h"
#include "support/fake_prop_plugin.h"
#include "dispatch/recording_plugin.h"

#include <gtest/gtest.h>

using chat_test::ChatFrame;
using chat_test::ChatTable;
using chat_test::SeatName;

namespace {

// ---- relayed plug-in frames --------------------------------------------------

class RelayTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RelayTest, GoesToTheRunningPluginAndIsNeverShown)
{
    ChatTable t;
    auto plugin = std::make_shared<testing_support::FakePropPlugin>();
    t.c.rewards.PropPlugin = plugin;
    t.c.rewards.PropPluginState = 1;
    const protocol::GameFrame frame = ChatFrame(t.SeatBitOf(2), 0, 0, QStringLiteral("hello"), {}, GetParam());
    t.Receive(frame);
    ASSERT_EQ(plugin->received.size(), 1u);
    EXPECT_EQ(plugin->received[0], frame);
    EXPECT_TRUE(t.History().isEmpty());
    EXPECT_EQ(t.Box(0), QString());
    EXPECT_EQ(t.c.chat.ChatBlinkCount, 0);
}

TEST_P(RelayTest, IsDroppedWhileNoPluginRuns)
{
    ChatTable t;
    auto plugin = std::make_shared<testing_support::FakePropPlugin>();
    t.c.rewards.PropPlugin = plugin;
    t.c.rewards.PropPluginState = -1;
    t.Receive(ChatFrame(t.SeatBitOf(2), 0, 0, QStringLiteral("hello"), {}, GetParam()));
    EXPECT_TRUE(plugin->received.empty());
    EXPECT_TRUE(t.History().isEmpty());
    EXPECT_EQ(t.c.core.RecvRing.Read, protocol::kFrameSize);
}

INSTANTIATE_TEST_SUITE_P(Lengths, RelayTest, ::testing::Values(272u, 260u));

TEST(ChatReceive, OtherRelayLengthsAreChatLines)
{
    ChatTable t;
    t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QStringLiteral("hi"), {}, 271));
    EXPECT_EQ(t.History(), QStringList{QStringLiteral(" hi")});
}

TEST(ChatReceive, APluginFailureAbandonsOnlyThatFrame)
{
    ChatTable t;
    auto plugin = std::make_shared<testing_support::RecordingPlugin>();
    plugin->fails = true;
    t.c.rewards.PropPlugin = plugin;
    t.c.rewards.PropPluginState = 1;
    t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QStringLiteral("x"), {}, 272));
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
    EXPECT_EQ(t.c.core.RecvRing.Read, protocol::kFrameSize);
    // The next frame is read as usual.
    t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QStringLiteral("next")));
    EXPECT_EQ(t.History(), QStringList{QStringLiteral(" next")});
}

// ---- lines -------------------------------------------------------------------

struct LineCase {
    int fromView;
    bool blinks;
};

class LineFromView : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineFromView, GoesToTheHistoryAndTheBoxesAndBlinksForOthers)
{
    ChatTable t(1);
    const QString line = QStringLiteral("小王说道: 快点出牌");
    t.Receive(ChatFrame(t.SeatBitOf(GetParam().fromView), 0, 0, line));
    EXPECT_EQ(t.History(), QStringList{QStringLiteral(" ") + line});
    EXPECT_EQ(t.Box(0), line);
    EXPECT_EQ(t.c.chat.ChatBlinkCount, GetParam().blinks ? 8 : 0);
    // The arm works out the view on its own: the decoded header keeps the seat bit.
    EXPECT_EQ(t.c.core.CurMsg.Seat, t.SeatBitOf(GetParam().fromView));
}

INSTANTIATE_TEST_SUITE_P(Views, LineFromView,
                         ::testing::Values(LineCase{0, false}, LineCase{1, true}, LineCase{2, true}, LineCase{3, true}));

TEST(ChatReceive, OnlyTheFirstOwnNicknameBecomesYou)
{
    ChatTable t;
    const QString own = t.c.game.UserInfos[0].Nickname;
    t.Receive(ChatFrame(t.SeatBitOf(2), 0, 0, own + QStringLiteral("说道: 你好") + own));
    EXPECT_EQ(t.Box(0), QStringLiteral("你说道: 你好") + own);
}

TEST(ChatReceive, ASystemNoticeKeepsTheNickname)
{
    ChatTable t;
    const QString line = QStringLiteral("系统提示：") + t.c.game.UserInfos[0].Nickname + QStringLiteral("获得奖励");
    t.Receive(ChatFrame(t.SeatBitOf(2), 0, 0, line));
    EXPECT_EQ(t.Box(0), line);
}

TEST(ChatReceive, ALongLineIsWrappedInTheHistoryAndCutInTheBox)
{
    ChatTable t;
    const QString line(60, QLatin1Char('x'));
    t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, line));
    EXPECT_EQ(t.History(), (QStringList{QStringLiteral(" ") + QString(46, QLatin1Char('x')),
                                        QStringLiteral(" ") + QString(14, QLatin1Char('x'))}));
    EXPECT_EQ(t.Box(0), QString(45, QLatin1Char('x')));
}

TEST(ChatReceive, TheBoxesShowTheLastTwoLines)
{
    ChatTable t;
    for (const char* line : {"one", "two", "three"})
        t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QString::fromLatin1(line)));
    EXPECT_EQ(t.Box(0), QStringLiteral("two"));
    EXPECT_EQ(t.Box(1), QStringLiteral("three"));
}

TEST(ChatReceive, BannedWordsAreRemovedInListOrder)
{
    ChatTable t;
    t.c.chat.FilterWords = {QStringLiteral("坏蛋蛋"), QStringLiteral("坏蛋"), QStringLiteral("damn")};
    t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QStringLiteral("你这坏蛋蛋 damn DAMN 坏蛋")));
    EXPECT_EQ(t.Box(0), QStringLiteral("你这  DAMN "));
}

TEST(ChatReceive, NoWordIsRemovedWithoutAList)
{
    ChatTable t;
    EXPECT_EQ(chat::FilterChat(t.c, QStringLiteral("坏蛋 damn")), QStringLiteral("坏蛋 damn"));
}

// ---- quick phrases -----------------------------------------------------------

struct PhraseCase {
    int mode;
    int item;
    const char* code; // of the voice file
    const char* phrase;
};

class PhraseTest : public ::testing::TestWithParam<PhraseCase> {};

TEST_P(PhraseTest, BubbleBesideTheSpeakerAndTheSpeakersVoice)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧"), QStringLiteral("等等我"), QStringLiteral("我到花儿都谢了")},
                   {QStringLiteral("不要走"), QStringLiteral("再见")});
    t.c.window.Sound.SoundOn = -1;
    const PhraseCase p = GetParam();
    const QString voice = t.c.window.Sound.VoicePath + QStringLiteral("v2710") +
                          QString::number(t.c.game.UserInfos[2].Sex) + QStringLiteral("2") + QString::fromLatin1(p.code);
    testing_support::WriteWave(voice);
    // The sender sits at view 2 and is named in GBK.
    const QString line = QStringLiteral("小王说道: ") + QString::fromUtf8(p.phrase);
    t.Receive(ChatFrame(t.SeatBitOf(2), p.mode, p.item, line, t.NameOf(2)));

    chat::SpeakBoxForm* box = chat::FindSpeakBox(t.c, 2);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Tag, QStringLiteral("2speak"));
    EXPECT_EQ(box->labPhrase.Caption, QString::fromUtf8(p.phrase));
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->tmrFadeIn->Enabled());
    EXPECT_EQ(box->FadePeak, 210);
    EXPECT_EQ(box->FadeInStep, 8);
    EXPECT_EQ(box->FadeOutStep, 4);
    EXPECT_EQ(box->FadeHold, 2000);
    ASSERT_EQ(t.sound.buffers.size(), 1u);
    EXPECT_EQ(t.sound.buffers[0]->path, voice);
    EXPECT_EQ(t.Box(0), line);
    EXPECT_EQ(t.c.chat.ChatBlinkCount, 8);
}

INSTANTIATE_TEST_SUITE_P(Lists, PhraseTest,
                         ::testing::Values(PhraseCase{1, 3, "00103.wav", "我到花儿都谢了"},
                                           PhraseCase{1, 1, "00101.wav", "快点吧"},
                                           PhraseCase{2, 2, "00202.wav", "再见"}));

TEST(QuickPhrase, ASecondPhraseOfTheSeatReusesItsBubble)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("甲"), QStringLiteral("乙")}, {});
    t.Receive(ChatFrame(t.SeatBitOf(3), 1, 1, QStringLiteral("x"), t.NameOf(3)));
    t.Receive(ChatFrame(t.SeatBitOf(3), 1, 2, QStringLiteral("y"), t.NameOf(3)));
    EXPECT_EQ(t.c.chat.SpeakBoxes.size(), 1u);
    EXPECT_EQ(chat::FindSpeakBox(t.c, 3)->labPhrase.Caption, QStringLiteral("乙"));
}

struct NoBubbleCase {
    const char* what;
    int item;
    bool minimised;
    bool bubblesAllowed;
};

class NoBubble : public ::testing::TestWithParam<NoBubbleCase> {};

TEST_P(NoBubble, TheLineIsShownWithoutBubbleOrVoice)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    t.c.window.Sound.SoundOn = -1;
    testing_support::WriteWave(t.c.window.Sound.VoicePath + QStringLiteral("v271002") + QStringLiteral("00101.wav"));
    if (GetParam().minimised)
        t.f.setWindowState(Qt::WindowMinimized);
    t.c.chat.BubblesAllowed = GetParam().bubblesAllowed ? -1 : 0;
    t.Receive(ChatFrame(t.SeatBitOf(2), 1, GetParam().item, QStringLiteral("小王说道: 快点吧"), t.NameOf(2)));
    EXPECT_EQ(chat::FindSpeakBox(t.c, 2), nullptr) << GetParam().what;
    EXPECT_EQ(t.sound.createRequests, 0) << GetParam().what;
    EXPECT_EQ(t.Box(0), QStringLiteral("小王说道: 快点吧")) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Cases, NoBubble,
                         ::testing::Values(NoBubbleCase{"minimised", 1, true, true},
                                           NoBubbleCase{"phrase beyond the list", 2, false, true},
                                           NoBubbleCase{"phrase number 0", 0, false, true},
                                           NoBubbleCase{"seats not named yet", 1, false, false}));

TEST(QuickPhrase, TheSenderIsFoundByItsGbkName)
{
    // The frame's seat bit names view 1, but the name is view 3's: the
    // bubble goes to the named seat, the blink to the seat of the frame.
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    t.Receive(ChatFrame(t.SeatBitOf(1), 1, 1, QStringLiteral("x"), t.NameOf(3)));
    EXPECT_NE(chat::FindSpeakBox(t.c, 3), nullptr);
    EXPECT_EQ(chat::FindSpeakBox(t.c, 1), nullptr);
}

TEST(QuickPhrase, AnUnknownNameSpeaksFromTheLocalSeat)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    t.Receive(ChatFrame(t.SeatBitOf(2), 1, 1, QStringLiteral("x"), platform::gbk::Encode(QStringLiteral("路人甲"))));
    EXPECT_NE(chat::FindSpeakBox(t.c, 0), nullptr);
}

TEST(QuickPhrase, ANameTakenOneCharacterPerByteWouldNotMatch)
{
    // The seat name is kept as the GBK bytes the server sent; the frame's
    // name bytes are compared with it as they are.
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    const QByteArray name = t.NameOf(2);
    ASSERT_EQ(name.size(), 4); // two double-byte characters
    t.Receive(ChatFrame(t.SeatBitOf(1), 1, 1, QStringLiteral("x"), name));
    EXPECT_NE(chat::FindSpeakBox(t.c, 2), nullptr);
}

// ---- emoticons -----------------------------------------------------------------

struct EmoticonCase {
    int fromView;
    int item;
    int16_t gif; // 0: nothing shown
};

class EmoticonTest : public ::testing::TestWithParam<EmoticonCase> {};

TEST_P(EmoticonTest, PlaysBesideTheNamedSeatAndShowsNoText)
{
    ChatTable t;
    const EmoticonCase e = GetParam();
    t.Receive(ChatFrame(t.SeatBitOf(e.fromView), 3, e.item, QStringLiteral("ignored"), t.NameOf(e.fromView)));
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(t.c.chat.EmoticonIds[static_cast<std::size_t>(v)], v == e.fromView ? e.gif : 0) << v;
        EXPECT_EQ(t.f.ucAni_BBQS[static_cast<std::size_t>(v)]->Action(), v == e.fromView && e.gif ? 1 : 0) << v;
        EXPECT_TRUE(t.f.ucAni_BBQS[static_cast<std::size_t>(v)]->isVisibleTo(t.f.pic1));
    }
    EXPECT_EQ(t.c.chat.DBQS_flag, e.gif ? -1 : 0);
    EXPECT_EQ(t.c.chat.ChatBlinkCount, e.fromView != 0 ? 8 : 0);
    // The text is never shown; the local player's own emoticon costs coins.
    const QStringList history = t.History();
    if (e.fromView == 0)
        EXPECT_EQ(history, QStringList{QStringLiteral(" 您使用动态表情，消耗50金币!")});
    else
        EXPECT_TRUE(history.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Items, EmoticonTest,
                         ::testing::Values(EmoticonCase{3, 5, 672}, EmoticonCase{0, 5, 672}, EmoticonCase{1, 1, 668},
                                           EmoticonCase{2, 18, 685}, EmoticonCase{2, 19, 0}, EmoticonCase{1, 0, 0}));

TEST(Emoticon, CellsArePlacedByTheScale)
{
    ChatTable t;
    t.c.game.ScaleX = t.c.game.ScaleY = 0.78125f;
    t.Receive(ChatFrame(t.SeatBitOf(1), 3, 2, {}, t.NameOf(1)));
    EXPECT_EQ(t.f.ucAni_BBQS[0]->geometry(), QRect(398, 345, 51, 51));
    EXPECT_EQ(t.f.ucAni_BBQS[3]->geometry(), QRect(588, 205, 51, 51));
}

TEST(Emoticon, WhileNotSeatedOnlyTheLocalSeatsFramesCount)
{
    // Not seated: the own seat bit is 0, so a frame of seat bit 1 is view 0
    // and any other is not handled as an emoticon.
    ChatTable t;
    t.c.game.Players[0].SeatBit = 0;
    t.Receive(ChatFrame(2, 3, 4, {}, t.NameOf(2)));
    EXPECT_EQ(t.c.chat.EmoticonIds, (std::array<int16_t, 4>{}));
    t.Receive(ChatFrame(1, 3, 4, {}, t.NameOf(2)));
    EXPECT_EQ(t.c.chat.EmoticonIds[2], 671);
}

} // namespace
