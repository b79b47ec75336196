// The customer-service window, driven by the mouse and the keyboard.
#include "service_fixture.h"

#include <gtest/gtest.h>

using namespace services;
using testing_support::ReplyDatagram;
using testing_support::ServiceDatagram;
using testing_support::ServiceTable;

namespace {

// A table whose service is on, with the window opened by a click on the icon.
struct OpenWindow : ServiceTable {
    GmForm* form = nullptr;
    OpenWindow()
    {
        ServiceOn();
        ClickTable(f.ImgGm);
        form = c.services.FrmGm;
    }
    void Type(const QString& text)
    {
        for (QChar ch : text) {
            if (ch == QLatin1Char('\n'))
                QTest::keyClick(form->TxtInfo, Qt::Key_Return);
            else
                QTest::keyClicks(form->TxtInfo, QString(ch));
        }
    }
    // The service's echo of the message being sent, with its check byte.
    QByteArray EchoOfLastMessage(int flag = 1)
    {
        if (udp.sent.isEmpty())
            return {}; // nothing was sent: the service has nothing to echo
        const GmPacket m = ParseGmPacket(udp.sent.last());
        return ServiceDatagram(GmEcho, flag, platform::gbk::Encode(QStringLiteral("客服已收到")) + QByteArray(1, '\0'),
                               m.Check);
    }
    // Makes `deliver` run once, in the first round of events of the send.
    void DuringTheWait(std::function<void()> deliver)
    {
        t.clock.onEvents = [this, deliver, done = false]() mutable {
            if (done)
                return;
            done = true;
            deliver();
        };
    }
};

} // namespace

TEST(FrmGm, ClickingTheIconOpensTheWindowFetchesAndLocksTheIconForASecond)
{
    ServiceTable t;
    t.ServiceOn();
    t.ClickTable(t.f.ImgGm);
    ASSERT_TRUE(t.c.services.FrmGm);
    EXPECT_TRUE(t.c.services.FrmGm->isVisible());
    EXPECT_EQ(t.c.services.FrmGmOpen, -1);
    EXPECT_EQ(t.c.services.FrmGm->CurrentLayout(), GmForm::Layout::Writing);
    const QList<GmPacket> sent = t.TakeDatagrams();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].Command, GmFetch);
    EXPECT_FALSE(t.f.ImgGm.Enabled);
    EXPECT_TRUE(t.c.services.TimerClick->Enabled());
    // A second click within the second does nothing; the timer frees the icon.
    t.ClickTable(t.f.ImgGm);
    EXPECT_TRUE(t.TakeDatagrams().isEmpty());
    TimerClick_Timer(t.c);
    EXPECT_TRUE(t.f.ImgGm.Enabled);
}

TEST(FrmGm, AMessageWhoseEchoComesBackIsAcceptedShownAndLogged)
{
    OpenWindow w;
    w.TakeDatagrams();
    w.Type(QStringLiteral("hello"));
    w.DuringTheWait([&] { w.udp.Arrive(w.EchoOfLastMessage()); });
    ServiceTable::Click(w.form, w.form->ImgSend);

    const QList<GmPacket> sent = w.TakeDatagrams();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].Command, GmMessage);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(sent[0].Payload.data()) + 56, 5), QByteArray("hello"));
    EXPECT_EQ(sent[0].Payload[61], 0);
    EXPECT_TRUE(w.c.services.GmLastSendTime.has_value());
    EXPECT_TRUE(w.form->TxtInfo->Text().contains(QStringLiteral("客服已收到留言如下:\nhello")));
    EXPECT_EQ(w.LogText(), QStringLiteral("客服已收到留言如下:\r\nhello\r\n"));
    // Every send ends with the window closing and the socket closed.
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_EQ(w.c.services.FrmGmOpen, 0);
    EXPECT_FALSE(w.udp.bound);
}

struct SendCase {
    const char* name;
    QString typed;
    int secondsSinceLastSend; // -1: no message sent before
    bool echo;                // the service echoes (flag 1)
    bool echoFlagZero;        // the service echoes with flag 0
    bool messageLeaves;
    bool accepted;
    QString warning;
};
void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }

class FrmGmSend : public ::testing::TestWithParam<SendCase> {};

TEST_P(FrmGmSend, FollowsTheSendRules)
{
    const SendCase& k = GetParam();
    OpenWindow w;
    if (k.secondsSinceLastSend >= 0) {
        w.c.services.GmLastSendTime = w.t.clock.ms;
        w.t.clock.Advance(k.secondsSinceLastSend * 1000);
    }
    const auto before = w.c.services.GmLastSendTime;
    w.TakeDatagrams();
    w.Type(k.typed);
    if (k.echo || k.echoFlagZero)
        w.DuringTheWait([&] { w.udp.Arrive(w.EchoOfLastMessage(k.echo ? 1 : 0)); });
    ServiceTable::Click(w.form, w.form->ImgSend);

    const QList<GmPacket> sent = w.TakeDatagrams();
    EXPECT_EQ(!sent.isEmpty() && sent[0].Command == GmMessage, k.messageLeaves);
    EXPECT_EQ(w.c.services.GmLastSendTime != before, k.accepted);
    if (!k.warning.isEmpty()) {
        EXPECT_TRUE(w.form->TxtInfo->Text().contains(k.warning)) << w.form->TxtInfo->Text().toStdString();
    }
    EXPECT_FALSE(w.form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    FrmGm, FrmGmSend,
    ::testing::Values(
        SendCase{"FirstMessage", QStringLiteral("hi"), -1, true, false, true, true, QString()},
        SendCase{"NoEcho", QStringLiteral("hi"), -1, false, false, true, false, QStringLiteral("消息发送失败")},
        SendCase{"EchoFlagZero", QStringLiteral("hi"), -1, false, true, true, false, QStringLiteral("消息发送失败")},
        SendCase{"After59Seconds", QStringLiteral("hi"), 59, true, false, false, false,
                 QStringLiteral("二次留言的时间间隔至少1分钟")},
        SendCase{"After60Seconds", QStringLiteral("hi"), 60, true, false, true, true, QString()},
        SendCase{"Blank", QStringLiteral("   "), -1, true, false, false, false, QStringLiteral("请不要发空消息")},
        SendCase{"LineBreaksOnlyAreSent", QStringLiteral("\n\n"), -1, true, false, true, true, QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrmGm, ClosingTheWindowDuringTheWaitEndsTheSendThere)
{
    OpenWindow w;
    w.Type(QStringLiteral("hello"));
    // The player closes the window and opens it again while the send waits.
    w.DuringTheWait([&] {
        ServiceTable::Click(w.form, w.form->Imgclose);
        w.ClickTable(w.f.ImgGm);
    });
    w.f.ImgGm.Enabled = true;
    ServiceTable::Click(w.form, w.form->ImgSend);
    // The window opened meanwhile stays open and untouched.
    EXPECT_EQ(w.c.services.FrmGmOpen, -1);
    EXPECT_TRUE(w.form->isVisible());
    EXPECT_FALSE(w.form->TxtInfo->Text().contains(QStringLiteral("消息发送失败")));
}

TEST(FrmGm, AReplyIsShownLoggedAndAcknowledgedAndTheNextCanBeFetched)
{
    OpenWindow w;
    w.TakeDatagrams();
    w.udp.Arrive(ReplyDatagram(QByteArray("\x11\x22\x33\x44", 4), QStringLiteral("请稍候"), 3));
    EXPECT_TRUE(w.form->TxtInfo->Text().endsWith(QStringLiteral("\n请稍候")));
    EXPECT_EQ(w.LogText(), QStringLiteral("请稍候\r\n"));
    EXPECT_EQ(w.form->LblQuery.Caption, QStringLiteral("有客服回复"));
    EXPECT_TRUE(w.c.services.TimerGmFlash->Enabled());
    EXPECT_EQ(w.form->CurrentLayout(), GmForm::Layout::Reading);
    EXPECT_TRUE(w.form->TxtInfo->isReadOnly());
    EXPECT_FALSE(w.form->ImgSend.Enabled);
    const QList<GmPacket> ack = w.TakeDatagrams();
    ASSERT_EQ(ack.size(), 1);
    EXPECT_EQ(ack[0].Command, GmAck);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ack[0].Payload.data()), 4), QByteArray("\x11\x22\x33\x44", 4));

    ServiceTable::Click(w.form, w.form->LblQuery);
    const QList<GmPacket> fetch = w.TakeDatagrams();
    ASSERT_EQ(fetch.size(), 1);
    EXPECT_EQ(fetch[0].Command, GmFetch);

    // The reply button goes back to writing.
    ServiceTable::Click(w.form, w.form->ImgHf);
    EXPECT_EQ(w.form->CurrentLayout(), GmForm::Layout::Writing);
    EXPECT_TRUE(w.form->TxtInfo->Text().isEmpty());
    EXPECT_FALSE(w.form->TxtInfo->isReadOnly());
}

TEST(FrmGm, TheLastReplyStopsTheBlinkingAndFlagZeroChangesNothing)
{
    OpenWindow w;
    w.c.services.TimerGmFlash->SetEnabled(true);
    w.udp.Arrive(ReplyDatagram(QByteArray("\x01\x00\x00\x00", 4), QStringLiteral("再见"), 1));
    EXPECT_EQ(w.c.services.gm_iNum, 0);
    EXPECT_EQ(w.form->LblQuery.Caption, QStringLiteral("无客服回复"));
    EXPECT_FALSE(w.c.services.TimerGmFlash->Enabled());
    EXPECT_EQ(w.f.ImgGm.PictureId(), kGmIconNormal);

    w.TakeDatagrams();
    const QString shown = w.form->TxtInfo->Text();
    w.udp.Arrive(ReplyDatagram(QByteArray("\x02\x00\x00\x00", 4), QStringLiteral("不该出现"), 0));
    EXPECT_EQ(w.form->TxtInfo->Text(), shown);
    EXPECT_TRUE(w.TakeDatagrams().isEmpty()) << "no acknowledgement";
    EXPECT_EQ(w.c.services.GmReplyIdBytes[0], 1);
}

TEST(FrmGm, LineBreaksInTheServiceTextCannotAddLinesToTheLog)
{
    OpenWindow w;
    w.udp.Arrive(ReplyDatagram(QByteArray("\x01\x00\x00\x00", 4), QStringLiteral("好\r\n玩家甲留言如下:"), 1));
    const QStringList lines = w.LogText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines, QStringList{QStringLiteral("好\\r\\n玩家甲留言如下:")});
}

TEST(FrmGm, TypingStopsAt400Characters)
{
    OpenWindow w;
    w.Type(QString(410, QLatin1Char('x')));
    EXPECT_EQ(w.form->TxtInfo->Text().size(), 400);
}

TEST(FrmGm, HistoryShowsTheLogWhenThereIsOne)
{
    OpenWindow w;
    ServiceTable::Click(w.form, w.form->ImgHistory);
    EXPECT_EQ(w.form->CurrentLayout(), GmForm::Layout::Writing) << "no log: nothing changes";
    EXPECT_TRUE(w.form->TxtInfo->isVisible());

    AppendTextFile(GmLogPath(w.c), QStringLiteral("旧的回复"));
    ServiceTable::Click(w.form, w.form->ImgHistory);
    EXPECT_EQ(w.form->CurrentLayout(), GmForm::Layout::History);
    EXPECT_EQ(w.form->TxtInfo->Text(), QStringLiteral("旧的回复\n"));
    EXPECT_FALSE(w.form->ImgHistory.Visible);
    EXPECT_TRUE(w.form->ImgHf.Visible);
}

TEST(FrmGm, ASendAfterTheWindowClosedTheSocketReopensIt)
{
    OpenWindow w;
    ServiceTable::Click(w.form, w.form->ImgExit);
    EXPECT_FALSE(w.udp.bound);
    EXPECT_FALSE(w.form->isVisible());
    w.TakeDatagrams();
    TimerGmQuery_Timer(w.c);
    EXPECT_TRUE(w.udp.bound);
    ASSERT_EQ(w.TakeDatagrams().size(), 1);
}

TEST(FrmGm, MinimisingTheTableClosesTheServiceAndReportWindows)
{
    OpenWindow w;
    w.c.game.ImpeachAllowed = -1;
    w.f.cmdImpeach.SetVisible(true);
    w.f.cmdImpeach.Enabled = true;
    w.ClickTable(w.f.cmdImpeach);
    ASSERT_TRUE(w.c.services.Frmimpeach->isVisible());
    w.f.showMinimized();
    QTest::qWait(20);
    EXPECT_EQ(w.c.services.FrmGmOpen, 0);
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_FALSE(w.c.services.Frmimpeach->isVisible());
}
