// The quick-phrase window through real mouse events: the button, the tabs,
// a double click that sends, and the chat.ini that comes with the program.

#include "chat_screen.h"

#include "chat/talk_form.h"
#include "core/ini_file.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using chat_test::ChatScreen;
using chat_test::GameFrame;
using chat_test::NameBytes;
using chat_test::TextOf;
using chat_test::Word;

namespace {

struct PhraseScreen : ChatScreen {
    PhraseScreen()
    {
        WritePhrases({QStringLiteral("快点吧"), QStringLiteral("等等我"), QStringLiteral("你好")},
                     {QStringLiteral("谢谢"), QStringLiteral("再见")});
    }
    chat::HuifuForm& h = *c.huifu;
};

TEST(PhraseWindow, OpensOnList2TurnsToList2ThenCloses)
{
    PhraseScreen t;
    t.c.Talk->show();
    t.c.frmBiaoqing->show();
    t.Click(t.f.imgword2);
    ASSERT_TRUE(t.h.Visible());
    EXPECT_FALSE(t.c.Talk->isVisible());
    EXPECT_FALSE(t.c.frmBiaoqing->isVisible());
    EXPECT_TRUE(t.h.List2->isVisible());
    EXPECT_FALSE(t.h.List1->isVisible());
    const QRect table = t.f.pic1->geometry();
    EXPECT_EQ(t.h.pos(), QPoint(static_cast<int>(t.f.x() + table.x() + table.width() * 0.3),
                                static_cast<int>(t.f.y() + table.y() + table.height() * 0.62)));
    EXPECT_EQ(t.h.Picture1.GetPicture().resourceId, 850);
    EXPECT_EQ(t.h.Picture2.GetPicture().resourceId, 852);

    // The second tab shows list 1, the first list 2.
    t.Click(t.h.Picture2);
    EXPECT_TRUE(t.h.List1->isVisible());
    EXPECT_FALSE(t.h.List2->isVisible());
    // The button turns the window back to list 2, and then closes it.
    t.Click(t.f.imgword2);
    EXPECT_TRUE(t.h.List2->isVisible());
    t.Click(t.f.imgword2);
    EXPECT_FALSE(t.h.Visible());
}

TEST(PhraseWindow, HoverPicturesComeAndGo)
{
    PhraseScreen t;
    t.MoveTo(t.f.imgword2);
    EXPECT_EQ(t.f.imgword2.GetPicture().resourceId, 666);
    EXPECT_EQ(t.f.imgword2.Tag, QStringLiteral("1"));
    t.MoveTo(t.f.imgLocation.Surface(), QPoint(static_cast<int>(t.f.imgLocation.Left + 3),
                                                static_cast<int>(t.f.imgLocation.Top + 3)));
    EXPECT_EQ(t.f.imgword2.GetPicture().resourceId, 664);
    EXPECT_EQ(t.f.imgword2.Tag, QStringLiteral("0"));

    t.Click(t.f.imgword2);
    t.MoveTo(t.h.Picture1);
    EXPECT_EQ(t.h.Picture1.GetPicture().resourceId, 851);
    t.MoveTo(t.h.Picture2);
    EXPECT_EQ(t.h.Picture2.GetPicture().resourceId, 853);
}

struct SendCase {
    int list, row;
    int mode, marker, item;
    QString phrase;
};

class PhraseSend : public testing::TestWithParam<SendCase> {};

TEST_P(PhraseSend, ADoubleClickSendsThePhraseByNumber)
{
    const SendCase& k = GetParam();
    PhraseScreen t;
    t.c.chat.ChatAllowed = 0; // phrases pass the gate
    t.f.Chat->SetText(QStringLiteral("typed"));
    t.Click(t.f.imgword2);
    if (k.list == 1)
        t.Click(t.h.Picture2);
    t.DoubleClickRow(k.list == 1 ? *t.h.List1 : *t.h.List2, k.row);
    const GameFrame f = t.OnlySent();
    EXPECT_EQ(f[3], 19);
    EXPECT_EQ(f[6], 1);
    EXPECT_EQ(Word(f, 0), k.mode);
    EXPECT_EQ(Word(f, 1), 0);
    EXPECT_EQ(Word(f, 2), k.marker);
    EXPECT_EQ(Word(f, 3), k.item);
    EXPECT_EQ(TextOf(f), QStringLiteral("小张说道: ") + k.phrase);
    EXPECT_EQ(NameBytes(f), t.NameOf(0) + QByteArray(16 - t.NameOf(0).size(), '\0'));
    EXPECT_FALSE(t.h.Visible());
    EXPECT_EQ(t.f.Chat->Text(), QString()); // the typed text is dropped
}

INSTANTIATE_TEST_SUITE_P(Cases, PhraseSend,
                         testing::Values(SendCase{1, 0, 1, 0, 1, QStringLiteral("快点吧")},
                                         SendCase{1, 2, 1, 0, 3, QStringLiteral("你好")},
                                         SendCase{2, 1, 2, 97, 2, QStringLiteral("再见")}));

TEST(PhraseSend, AWhisperedPhraseGoesToTheTargetOnce)
{
    PhraseScreen t;
    t.Click(t.f.Tou[3]); // 小李, seat bit 2
    t.Click(t.f.imgword2);
    t.DoubleClickRow(*t.h.List2, 0);
    const GameFrame whisper = t.OnlySent();
    EXPECT_EQ(Word(whisper, 1), 2);
    EXPECT_EQ(TextOf(whisper), QStringLiteral("小张对小李说: 谢谢"));
    EXPECT_EQ(t.c.chat.WhisperPrefix, QString());

    t.Click(t.f.imgword2);
    t.DoubleClickRow(*t.h.List2, 0);
    const GameFrame plain = t.OnlySent();
    EXPECT_EQ(Word(plain, 1), 0);
    EXPECT_EQ(TextOf(plain), QStringLiteral("小张说道: 谢谢"));
}

TEST(PhraseSend, NothingWithoutInputOrFromAnEmptyList)
{
    ChatScreen t; // no chat.ini
    t.Click(t.f.imgword2);
    QTest::mouseDClick(t.c.huifu->List2->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_TRUE(t.Sent().empty());

    PhraseScreen p;
    p.c.game.InputEnabled = 0;
    p.Click(p.f.imgword2);
    p.DoubleClickRow(*p.h.List2, 0);
    EXPECT_TRUE(p.Sent().empty());
}

TEST(PhraseSend, ALongSeatNameIsCutOnACharactersEnd)
{
    PhraseScreen t;
    t.c.game.Players[0].Name = platform::gbk::Encode(QStringLiteral("a一二三四五六七八")); // 17 bytes
    t.Click(t.f.imgword2);
    t.DoubleClickRow(*t.h.List2, 0);
    EXPECT_EQ(NameBytes(t.OnlySent()),
              platform::gbk::Encode(QStringLiteral("a一二三四五六七")) + QByteArray(1, '\0'));
}

// ---- the phrases that come with the program ------------------------------------

// The phrase lists of the sound pack's script: list1=( "..." ...) and
// list2=( ... ).
QStringList SoundPackList(const QString& script, const QString& name)
{
    const QRegularExpression list(name + QStringLiteral("=\\(([^)]*)\\)"));
    const QRegularExpressionMatch m = list.match(script);
    QStringList out;
    QRegularExpressionMatchIterator words = QRegularExpression(QStringLiteral("\"([^\"]*)\"")).globalMatch(m.captured(1));
    while (words.hasNext())
        out << words.next().captured(1);
    return out;
}

TEST(ShippedPhrases, AreTheSoundPacksSpokenPhrases)
{
    QFile script(QStringLiteral(MJ_SOUNDPACK_SCRIPT));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(script.readAll());
    testing_support::TestClient t;
    t.client.core.AppPath = QStringLiteral(MJ_PROGRAM_FOLDER);
    ASSERT_TRUE(QFile::exists(QStringLiteral(MJ_PROGRAM_FOLDER "/chat.ini")));
    for (int list : {1, 2}) {
        const QStringList spoken = SoundPackList(text, QStringLiteral("list%1").arg(list));
        ASSERT_FALSE(spoken.isEmpty());
        QStringList shipped;
        for (int n = 1; !chat::QuickPhrase(t.client, list, n).isEmpty(); ++n)
            shipped << chat::QuickPhrase(t.client, list, n);
        EXPECT_EQ(shipped, spoken) << list;
    }
}

} // namespace
