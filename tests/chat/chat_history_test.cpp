// The chat-history window through real mouse and key events, the word
// filter's list, the history's length and the text field's bounds.

#include "chat_screen.h"

#include "chat/talk_form.h"

#include <gtest/gtest.h>

using chat_test::ChatFrame;
using chat_test::ChatScreen;
using chat_test::ChatTable;

namespace {

enum class Opener { Caption, SystemBox };

struct ToggleCase {
    Opener opener;
    float scale;
    double heightShare, widthShare; // of the window on the small layout
};

class TalkToggle : public testing::TestWithParam<ToggleCase> {};

TEST_P(TalkToggle, OpensBelowTheMiddleAndClosesAgain)
{
    const ToggleCase& k = GetParam();
    ChatScreen t(0, k.scale);
    t.c.huifu->show();
    auto open = [&] {
        if (k.opener == Opener::Caption)
            t.Click(t.f.Lbchat);
        else
            t.Click(t.f.Sysmsg[1]->viewport());
    };
    open();
    ASSERT_TRUE(t.c.Talk->Visible());
    const QRect table = t.f.pic1->geometry();
    QPoint at(static_cast<int>(t.f.x() + table.x() + table.width() * 0.3),
              static_cast<int>(t.f.y() + table.y() + table.height() * 0.66));
    if (k.scale < 1.0f)
        at = QPoint(static_cast<int>(t.f.x() + table.x() + t.f.width() * k.widthShare),
                    static_cast<int>(t.f.y() + table.y() + t.f.height() * k.heightShare));
    EXPECT_EQ(t.c.Talk->pos(), at);
    // The caption also hides the quick phrases; a system box does not.
    EXPECT_EQ(t.c.huifu->isVisible(), k.opener == Opener::SystemBox);
    open();
    EXPECT_FALSE(t.c.Talk->Visible());
}

INSTANTIATE_TEST_SUITE_P(Cases, TalkToggle,
                         testing::Values(ToggleCase{Opener::Caption, 1.0f, 0, 0},
                                         ToggleCase{Opener::SystemBox, 1.0f, 0, 0},
                                         ToggleCase{Opener::Caption, 0.78125f, 0.595, 0.22},
                                         ToggleCase{Opener::SystemBox, 0.78125f, 0.6, 0.27}));

TEST(TalkWindow, IsTheChatWindowHalfTransparentWithACloseLabel)
{
    ChatScreen t;
    EXPECT_EQ(t.c.Talk->windowTitle(), QStringLiteral("聊天"));
    EXPECT_NEAR(t.c.Talk->windowOpacity(), 200 / 255.0, 0.01);
    t.Click(t.f.Lbchat);
    ASSERT_TRUE(t.c.Talk->Visible());
    t.Click(t.c.Talk->Label1);
    EXPECT_FALSE(t.c.Talk->Visible());
}

struct LatchCase {
    std::vector<Qt::Key> keys;
    bool hidden;
};

class TalkKeys : public testing::TestWithParam<LatchCase> {};

TEST_P(TalkKeys, AltThenCCloses)
{
    ChatScreen t;
    t.Click(t.f.Lbchat);
    for (Qt::Key key : GetParam().keys)
        QTest::keyClick(t.c.Talk->Text1, key);
    EXPECT_EQ(t.c.Talk->isHidden(), GetParam().hidden);
}

INSTANTIATE_TEST_SUITE_P(Cases, TalkKeys,
                         testing::Values(LatchCase{{Qt::Key_Alt, Qt::Key_C}, true},
                                         LatchCase{{Qt::Key_C, Qt::Key_Alt}, true},
                                         LatchCase{{Qt::Key_Alt, Qt::Key_X, Qt::Key_C}, false},
                                         LatchCase{{Qt::Key_C}, false}));

TEST(History, KeepsTheLast100EntriesWhateverAddsThem)
{
    ChatTable t;
    for (int i = 0; i < 90; ++i)
        chat::AddSystemLine(t.c, QStringLiteral("notice %1").arg(i));
    for (int i = 0; i < 15; ++i)
        t.Receive(ChatFrame(t.SeatBitOf(1), 0, 0, QStringLiteral("line %1").arg(i)));
    const QStringList history = t.History();
    ASSERT_EQ(history.size(), chat::kHistoryEntries);
    EXPECT_EQ(history.first(), QStringLiteral(" notice 5"));
    EXPECT_EQ(history.last(), QStringLiteral(" line 14"));
}

// ---- the word filter -------------------------------------------------------

TEST(WordFilter, HasFifteenWordsTheLongerBeforeItsStart)
{
    const QStringList words = chat::DefaultFilterWords();
    ASSERT_EQ(words.size(), 15);
    EXPECT_EQ(words[9], words[8].left(2));
    for (const QString& w : words)
        EXPECT_FALSE(platform::gbk::Encode(w).contains('?')) << w.toStdString(); // every word is GBK
}

struct FilterCase {
    QString in, out;
};

class WordFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(WordFilter, RemovesEveryListedWord)
{
    ChatTable t;
    EXPECT_EQ(chat::FilterChat(t.c, GetParam().in), GetParam().out);
}

FilterCase Removed(const QString& word) { return {QStringLiteral("a") + word + QStringLiteral("b") + word, QStringLiteral("ab")}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, WordFilter,
    testing::Values(Removed(QStringLiteral("张某某")), Removed(QStringLiteral("李某某")), Removed(QStringLiteral("王某某")),
                    Removed(QStringLiteral("赵某某")), Removed(QStringLiteral("全能神")), Removed(QStringLiteral("你妈的")),
                    Removed(QStringLiteral("他妈的")), Removed(QStringLiteral("她妈的")),
                    Removed(QStringLiteral("狗娘养的")), Removed(QStringLiteral("狗娘")), Removed(QStringLiteral("色情")),
                    Removed(QStringLiteral("淫秽")), Removed(QStringLiteral("黄色")), Removed(QStringLiteral("fuck")),
                    Removed(QStringLiteral("shit")),
                    // Upper case and a split word pass.
                    FilterCase{QStringLiteral("FUCK Shit"), QStringLiteral("FUCK Shit")},
                    FilterCase{QStringLiteral("色.情"), QStringLiteral("色.情")}));

TEST(WordFilter, ALineOfOnlyABannedWordKeepsItsSpeaker)
{
    ChatTable t;
    t.Receive(ChatFrame(t.SeatBitOf(2), 0, 0, QStringLiteral("小王说道: 狗娘养的")));
    EXPECT_EQ(t.Box(0), QStringLiteral("小王说道: "));
    EXPECT_EQ(t.History(), QStringList{QStringLiteral(" 小王说道: ")});
}

// ---- the received frame's text and name -----------------------------------

TEST(ReceivedText, NoCharacterStartsPastByte215)
{
    ChatTable t;
    chat_test::GameFrame f = ChatFrame(t.SeatBitOf(1), 0, 0, QString(200, QLatin1Char('a')));
    f[216] = 'b';
    t.Receive(f);
    EXPECT_FALSE(t.History().join(QString()).contains(QLatin1Char('b')));
    EXPECT_EQ(t.History().join(QString()).count(QLatin1Char('a')), 200);
}

TEST(ReceivedName, AnEmptyNameSpeaksFromTheFirstSeatWithoutAName)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    t.c.game.Players[2].Name.clear();
    t.Receive(ChatFrame(t.SeatBitOf(1), 1, 1, QStringLiteral("x")));
    EXPECT_NE(chat::FindSpeakBox(t.c, 2), nullptr);
    EXPECT_EQ(chat::FindSpeakBox(t.c, 0), nullptr);
}

TEST(ReceivedName, ALongSeatNameMatchesItsCutToACharactersEnd)
{
    // Seventeen bytes: "a" and eight double-byte characters; the sender cut
    // it to 15 bytes so as not to split the eighth.
    ChatTable t;
    t.WritePhrases({QStringLiteral("快点吧")}, {});
    t.c.game.Players[3].Name = platform::gbk::Encode(QStringLiteral("a一二三四五六七八"));
    t.Receive(ChatFrame(t.SeatBitOf(1), 1, 1, QStringLiteral("x"),
                        platform::gbk::Encode(QStringLiteral("a一二三四五六七"))));
    EXPECT_NE(chat::FindSpeakBox(t.c, 3), nullptr);
}

} // namespace
