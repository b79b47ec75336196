// The chat windows: system lines, the phrase lists, the speech bubbles, the
// whisper and the player card.

#include "chat_fixture.h"

#include "chat/huifu_form.h"
#include "chat/seat_handlers.h"
#include "chat/speak_box.h"

#include <gtest/gtest.h>

using chat_test::ChatTable;

namespace {

// ---- system lines --------------------------------------------------------------

TEST(SystemLine, FillsBoxZeroThenOneThenPushes)
{
    ChatTable t;
    chat::AddSystemLine(t.c, QStringLiteral("first"));
    EXPECT_EQ(t.Box(0), QStringLiteral("first"));
    EXPECT_EQ(t.Box(1), QString());
    chat::AddSystemLine(t.c, QStringLiteral("second"));
    EXPECT_EQ(t.Box(0), QStringLiteral("first"));
    EXPECT_EQ(t.Box(1), QStringLiteral("second"));
    chat::AddSystemLine(t.c, QStringLiteral("third"));
    EXPECT_EQ(t.Box(0), QStringLiteral("second"));
    EXPECT_EQ(t.Box(1), QStringLiteral("third"));
}

TEST(SystemLine, ALongNoticeIsWrappedAt44AndCutAt45)
{
    ChatTable t;
    chat::AddSystemLine(t.c, QString(60, QLatin1Char('n')));
    EXPECT_EQ(t.History(), (QStringList{QStringLiteral(" ") + QString(44, QLatin1Char('n')),
                                        QStringLiteral(" ") + QString(16, QLatin1Char('n'))}));
    EXPECT_EQ(t.Box(0), QString(45, QLatin1Char('n')));
}

TEST(SystemLine, ABlankNoticeIsDropped)
{
    ChatTable t;
    chat::AddSystemLine(t.c, QStringLiteral("   "));
    EXPECT_TRUE(t.History().isEmpty());
    EXPECT_EQ(t.f.Sysmsg[0]->ListCount(), 0);
}

// ---- the phrase lists ----------------------------------------------------------

TEST(PhraseLists, AreReadOnceFromChatIni)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}, {QStringLiteral("四")},
                   QStringLiteral("2.6"));
    EXPECT_EQ(chat::QuickPhrase(t.c, 1, 3), QStringLiteral("三")); // 2.6 phrases are three
    EXPECT_EQ(chat::QuickPhrase(t.c, 2, 1), QStringLiteral("四"));
    EXPECT_EQ(chat::QuickPhrase(t.c, 2, 2), QString());
    // Read once: a later change of the file is not seen.
    t.WritePhrases({QStringLiteral("五")}, {});
    EXPECT_EQ(chat::QuickPhrase(t.c, 1, 1), QStringLiteral("一"));
    EXPECT_TRUE(t.c.huifu->List1->isVisibleTo(t.c.huifu.get()));
    EXPECT_FALSE(t.c.huifu->List2->isVisibleTo(t.c.huifu.get()));
}

TEST(PhraseLists, NoFileGivesEmptyLists)
{
    ChatTable t;
    EXPECT_EQ(chat::QuickPhrase(t.c, 1, 1), QString());
    EXPECT_EQ(t.c.huifu->List1->ListCount(), 0);
    EXPECT_EQ(t.c.huifu->List2->ListCount(), 0);
}

TEST(PhraseLists, AMissingKeyGivesAnEmptyEntry)
{
    ChatTable t;
    t.WritePhrases({QStringLiteral("一")}, {}, QStringLiteral("2"));
    EXPECT_EQ(t.c.huifu->List1->ListCount(), 0); // not read yet
    EXPECT_EQ(chat::QuickPhrase(t.c, 1, 2), QString());
    EXPECT_EQ(t.c.huifu->List1->ListCount(), 2);
}

// ---- speech bubbles ------------------------------------------------------------

TEST(SpeechBubble, FadesInHoldsAndFadesOut)
{
    ChatTable t;
    chat::CreateSpeakBox(t.c, 1);
    chat::SpeakBoxForm& box = *chat::FindSpeakBox(t.c, 1);
    box.showMe(1, QStringLiteral("快点吧"), 210, 8, 4, 2000);
    // A step a frame (about 16 ms), never a timer without pause.
    EXPECT_EQ(box.tmrFadeIn->interval(), 16);
    // Placed beside the seat: 1050 and 3000 twips from the window's corner.
    EXPECT_EQ(box.pos(), t.f.pos() + QPoint(70, 200));
    struct Step {
        int tick;
        int alpha;
    };
    int done = 0;
    for (const Step s : {Step{1, 8}, Step{26, 208}, Step{27, 208}, Step{276, 208}, Step{277, 206}, Step{328, 2},
                         Step{329, 2}}) {
        for (; done < s.tick; ++done)
            box.tmrFadeIn_Timer();
        EXPECT_EQ(box.Alpha(), s.alpha) << s.tick;
        EXPECT_EQ(box.tmrFadeIn->Enabled(), s.tick < 329) << s.tick;
    }
    EXPECT_EQ(box.labPhrase.Caption, QString());
    EXPECT_EQ(box.x(), -2 * box.width());
}

TEST(SpeechBubble, ANewPhraseRestartsTheFade)
{
    ChatTable t;
    chat::CreateSpeakBox(t.c, 2);
    chat::SpeakBoxForm& box = *chat::FindSpeakBox(t.c, 2);
    box.showMe(2, QStringLiteral("一"), 210, 8, 4, 2000);
    for (int i = 0; i < 300; ++i)
        box.tmrFadeIn_Timer();
    box.showMe(2, QStringLiteral("二"), 210, 8, 4, 2000);
    box.tmrFadeIn_Timer();
    EXPECT_EQ(box.Alpha(), 8);
    EXPECT_EQ(box.labPhrase.Caption, QStringLiteral("二"));
}

TEST(SpeechBubble, IsMadeOncePerViewOutOfSight)
{
    ChatTable t;
    chat::CreateSpeakBox(t.c, 2);
    chat::CreateSpeakBox(t.c, 2);
    ASSERT_EQ(t.c.chat.SpeakBoxes.size(), 1u);
    chat::SpeakBoxForm& box = *chat::FindSpeakBox(t.c, 2);
    EXPECT_EQ(box.size(), QSize(208, 104));
    EXPECT_EQ(box.y(), 3 - box.height()); // above the screen
    EXPECT_EQ(box.labPhrase.Caption, QStringLiteral("  "));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(SpeechBubble, AlphaOutsideItsRangeChangesNothing)
{
    ChatTable t;
    chat::CreateSpeakBox(t.c, 0);
    chat::SpeakBoxForm& box = *chat::FindSpeakBox(t.c, 0);
    ASSERT_TRUE(chat::SetWindowAlpha(box, 100));
    EXPECT_FALSE(chat::SetWindowAlpha(box, 256));
    EXPECT_FALSE(chat::SetWindowAlpha(box, -1));
    EXPECT_EQ(box.Alpha(), 100);
}

TEST(SpeechBubble, TheShapeLeavesOutTheBackgroundAndTheLastColumn)
{
    QImage picture(5, 2, QImage::Format_RGB32);
    picture.fill(0xFF0000FF);
    picture.setPixel(1, 0, 0xFFFFFFFF);
    picture.setPixel(2, 0, 0xFFFFFFFF);
    picture.setPixel(4, 0, 0xFFFFFFFF);
    for (int x = 0; x < 5; ++x)
        picture.setPixel(x, 1, 0xFFFFFFFF);
    const QRegion region = chat::SpeakBoxRegion(picture, picture.pixel(0, 0));
    EXPECT_EQ(region, QRegion(QRect(1, 0, 2, 1)) + QRegion(QRect(0, 1, 4, 1)));
}

TEST(SpeechBubble, EveryPictureHasItsSizeAndABackgroundCorner)
{
    const QSize sizes[4] = {{174, 92}, {198, 92}, {208, 104}, {208, 104}};
    for (int v = 0; v < 4; ++v) {
        const QImage picture = chat::SpeakBoxPicture(v);
        EXPECT_EQ(picture.size(), sizes[v]);
        const QRegion shape = chat::SpeakBoxRegion(picture, picture.pixel(0, 0));
        EXPECT_FALSE(shape.contains(QPoint(0, 0)));
        EXPECT_TRUE(shape.contains(QPoint(picture.width() / 2, picture.height() / 2)));
    }
}

// ---- the whisper and the player card -------------------------------------------

TEST(Whisper, AnAvatarClickAddressesTheChatBox)
{
    ChatTable t;
    t.f.Chat->SetText(QStringLiteral("hi"));
    chat::Tou_Click(t.c, 2);
    EXPECT_EQ(t.c.chat.WhisperPrefix, QStringLiteral("你对小王说: "));
    EXPECT_EQ(t.c.chat.WhisperSeat, 4);
    EXPECT_EQ(t.f.Chat->Text(), QStringLiteral("你对小王说: hi"));
    // Another seat replaces the prefix, the typed text stays.
    chat::Tou_Click(t.c, 3);
    EXPECT_EQ(t.f.Chat->Text(), QStringLiteral("你对小李说: hi"));
    EXPECT_EQ(t.c.chat.WhisperSeat, 2);
}

TEST(Whisper, NotForTheOwnSeatAnEmptySeatOrWithoutInput)
{
    ChatTable t;
    t.c.game.UserInfos[1].Nickname.clear();
    chat::Tou_Click(t.c, 0);
    chat::Tou_Click(t.c, 1);
    chat::Tou_Click(t.c, 4);
    t.c.game.InputEnabled = 0;
    chat::Tou_Click(t.c, 2);
    EXPECT_EQ(t.c.chat.WhisperPrefix, QString());
    EXPECT_EQ(t.f.Chat->Text(), QString());
}

TEST(PlayerCard, ShowsTheSeatsRecordOnce)
{
    ChatTable t;
    core::UserInfo& u = t.c.game.UserInfos[2];
    u.Sex = 1;
    u.CardText = QStringLiteral("上海");
    u.Points = 1234;
    u.MemberLevel = 4;
    u.Count152 = 10;
    u.Count156 = 1;
    u.Count160 = 6;
    u.Count164 = 3;
    chat::Tou_MouseMove(t.c, 2, 0, 0, 0, 0);
    chat::InformationForm& card = *t.c.Information;
    ASSERT_TRUE(card.Visible());
    const QStringList expected = {QStringLiteral("小王"), QStringLiteral("男"), QStringLiteral("上海"),
                                  QStringLiteral("1234"), QStringLiteral("黄金会员"), QStringLiteral("10"),
                                  QStringLiteral("1"), QStringLiteral("6"), QStringLiteral("3")};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(card.Inf[i].Caption, expected[i]) << i;
    // A second seat while the card is up neither moves nor refills it.
    const QPoint at = card.pos();
    chat::Tou_MouseMove(t.c, 3, 0, 0, 0, 0);
    EXPECT_EQ(card.Inf[0].Caption, QStringLiteral("小王"));
    EXPECT_EQ(card.pos(), at);
}

TEST(PlayerCard, NothingForAnEmptySeat)
{
    ChatTable t;
    t.c.game.UserInfos[3].Nickname.clear();
    chat::Tou_MouseMove(t.c, 3, 0, 0, 0, 0);
    EXPECT_FALSE(t.c.Information->Visible());
}

} // namespace
