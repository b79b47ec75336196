// Typing in the chat box with real key events: Enter and the flood gate,
// the whisper and its cancel, the send button, the frame's bytes.

#include "chat_screen.h"

#include "protocol/kinds.h"
#include "window/main_buttons.h"

#include <gtest/gtest.h>

using chat_test::ChatScreen;
using chat_test::GameFrame;
using chat_test::NameBytes;
using chat_test::TextOf;
using chat_test::Word;

namespace {

// The whole frame a typed line makes: kind 19 from the own seat, the text
// in GBK from byte 16, the echo token at 260, zeros everywhere else.
GameFrame TypedFrame(uint8_t seatBit, int target, const QString& text, uint8_t echo0, uint8_t echo1)
{
    GameFrame f{};
    f[3] = 19;
    f[6] = seatBit;
    f[10] = static_cast<uint8_t>(target >> 8);
    f[11] = static_cast<uint8_t>(target);
    const QByteArray bytes = platform::gbk::Encode(text);
    std::copy(bytes.begin(), bytes.end(), f.begin() + 16);
    f[260] = echo0;
    f[261] = echo1;
    return f;
}

TEST(ChatBox, EnterSendsTheLineByteForByteAndClosesTheGate)
{
    ChatScreen t(1);
    t.c.core.EchoToken = {0x12, 0x34};
    t.Type(QStringLiteral("hi all"));
    t.Key(Qt::Key_Return);
    EXPECT_EQ(t.OnlySent(), TypedFrame(2, 0, QStringLiteral("小李说道: hi all"), 0x12, 0x34));
    EXPECT_EQ(t.f.Chat->Text(), QString());
    EXPECT_EQ(t.c.chat.ChatAllowed, 0);
    EXPECT_TRUE(t.f.TimerChat->Enabled());

    // Inside the 800 ms: the line is lost with a word in the history.
    t.Type(QStringLiteral("again"));
    t.Key(Qt::Key_Return);
    EXPECT_TRUE(t.Sent().empty());
    EXPECT_EQ(t.f.Chat->Text(), QString());
    EXPECT_EQ(t.History().last(), QStringLiteral("（发送消息太快！）"));

    // The gate opens again by itself.
    QTRY_COMPARE_WITH_TIMEOUT(t.c.chat.ChatAllowed, int16_t(-1), 2000);
    EXPECT_FALSE(t.f.TimerChat->Enabled());
    t.Type(QStringLiteral("ok"));
    t.Key(Qt::Key_Return);
    EXPECT_EQ(TextOf(t.OnlySent()), QStringLiteral("小李说道: ok"));
}

struct SilentEnterCase {
    const char* name;
    QString text;
    int16_t watchMode;
    int16_t inputEnabled;
    int16_t gateAfter; // ChatAllowed after Enter
};

class SilentEnter : public testing::TestWithParam<SilentEnterCase> {};

TEST_P(SilentEnter, SendsNothing)
{
    const SilentEnterCase& k = GetParam();
    ChatScreen t;
    t.c.game.WatchMode = k.watchMode;
    t.c.game.InputEnabled = k.inputEnabled;
    t.Say(k.text);
    EXPECT_TRUE(t.Sent().empty()) << k.name;
    EXPECT_EQ(t.c.chat.ChatAllowed, k.gateAfter) << k.name;
    EXPECT_EQ(t.History(), QStringList()) << k.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SilentEnter,
    testing::Values(SilentEnterCase{"an empty box still closes the gate", QString(), 0, -1, 0},
                    SilentEnterCase{"blanks only", QStringLiteral("   "), 0, -1, 0},
                    SilentEnterCase{"a spectator", QStringLiteral("hi"), -1, -1, -1},
                    SilentEnterCase{"no input", QStringLiteral("hi"), 0, 0, -1}),
    [](const testing::TestParamInfo<SilentEnterCase>& info) { return "Case" + std::to_string(info.index); });

TEST(ChatBox, TheSendButtonPassesTheGateAndTheSpectatorTest)
{
    ChatScreen t;
    t.c.chat.ChatAllowed = 0;
    t.c.game.WatchMode = -1;
    t.f.Chat->SetText(QStringLiteral("button"));
    t.Click(t.f.AnNiu[window::AnNiuSend]);
    EXPECT_EQ(TextOf(t.OnlySent()), QStringLiteral("小张说道: button"));
    EXPECT_EQ(t.f.Chat->Text(), QString());
}

TEST(ChatBox, AWhisperGoesToItsTargetOnceThenLinesArePlainAgain)
{
    ChatScreen t;
    t.Click(t.f.Tou[2]); // 小王, seat bit 4
    EXPECT_EQ(t.f.Chat->Text(), QStringLiteral("你对小王说: "));
    EXPECT_EQ(t.c.window.ChatHasFocus, -1);
    t.Type(QStringLiteral("hi"));
    t.Key(Qt::Key_Return);
    const GameFrame whisper = t.OnlySent();
    EXPECT_EQ(Word(whisper, 1), 4);
    EXPECT_EQ(TextOf(whisper), QStringLiteral("小张对小王说: hi"));
    EXPECT_EQ(NameBytes(whisper), QByteArray(16, '\0'));
    EXPECT_EQ(t.c.chat.WhisperSeat, 4); // kept, but no prefix any more

    t.c.chat.ChatAllowed = -1;
    t.Type(QStringLiteral("yo"));
    t.Key(Qt::Key_Return);
    const GameFrame plain = t.OnlySent();
    EXPECT_EQ(Word(plain, 1), 0);
    EXPECT_EQ(TextOf(plain), QStringLiteral("小张说道: yo"));
}

TEST(ChatBox, ThePrefixAloneSendsNothing)
{
    ChatScreen t;
    t.Click(t.f.Tou[3]);
    t.Key(Qt::Key_Return);
    EXPECT_TRUE(t.Sent().empty());
}

struct BackspaceCase {
    int caretFromEnd; // characters left of the end
    QString boxAfter;
    bool whisperKept;
};

class WhisperBackspace : public testing::TestWithParam<BackspaceCase> {};

TEST_P(WhisperBackspace, IntoThePrefixCancelsTheWholeWhisper)
{
    const BackspaceCase& k = GetParam();
    ChatScreen t;
    t.Click(t.f.Tou[1]); // 小赵
    t.Type(QStringLiteral("hi"));
    for (int i = 0; i < k.caretFromEnd; ++i)
        t.Key(Qt::Key_Left);
    t.Key(Qt::Key_Backspace);
    EXPECT_EQ(t.f.Chat->Text(), k.boxAfter);
    EXPECT_EQ(!t.c.chat.WhisperPrefix.isEmpty(), k.whisperKept);
    EXPECT_EQ(t.c.chat.WhisperSeat, k.whisperKept ? 8 : 0);
    if (!k.whisperKept) {
        EXPECT_EQ(t.f.Chat->cursorPosition(), k.boxAfter.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WhisperBackspace,
                         testing::Values(BackspaceCase{0, QStringLiteral("你对小赵说: h"), true},
                                         BackspaceCase{1, QStringLiteral("你对小赵说: i"), true},
                                         BackspaceCase{2, QStringLiteral("hi"), false},
                                         BackspaceCase{4, QStringLiteral("hi"), false}));

TEST(ChatBox, ABackspaceAtTheVeryStartLeavesTheWhisper)
{
    ChatScreen t;
    t.Click(t.f.Tou[1]);
    t.Key(Qt::Key_Home);
    t.Key(Qt::Key_Backspace);
    t.Type(QStringLiteral("x"));
    EXPECT_EQ(t.c.chat.WhisperSeat, 8);
    EXPECT_EQ(t.f.Chat->Text(), QStringLiteral("x你对小赵说: "));
}

TEST(ChatBox, FocusIsFollowed)
{
    ChatScreen t;
    t.f.Chat->setFocus();
    QTRY_COMPARE(t.c.window.ChatHasFocus, int16_t(-1));
    t.f.Sysmsg[0]->setFocus();
    QTRY_COMPARE(t.c.window.ChatHasFocus, int16_t(0));
}

struct LengthCase {
    QString typed;
    QString sentText; // the text field as the frame carries it
};

class LineLength : public testing::TestWithParam<LengthCase> {};

TEST_P(LineLength, AtMost100CharactersAnd200Bytes)
{
    const LengthCase& k = GetParam();
    ChatScreen t;
    t.Say(k.typed);
    const GameFrame f = t.OnlySent();
    EXPECT_EQ(TextOf(f), k.sentText);
    EXPECT_EQ(f[216], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineLength,
    testing::Values(LengthCase{QString(150, QLatin1Char('a')), QStringLiteral("小张说道: ") + QString(94, QLatin1Char('a'))},
                    // 100 characters, two of them single-byte: 198 bytes.
                    LengthCase{QString(120, QChar(0x4E2D)), QStringLiteral("小张说道: ") + QString(94, QChar(0x4E2D))}));

} // namespace
