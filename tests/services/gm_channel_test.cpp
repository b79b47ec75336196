// The customer-service channel: its set-up, the port search, what arrives on
// it, the polling and the blinking, and the conversation log.
#include "service_fixture.h"

#include "platform/udp_link.h"

#include <QUdpSocket>
#include <gtest/gtest.h>

using namespace services;
using testing_support::ReplyDatagram;
using testing_support::ServiceDatagram;
using testing_support::ServiceTable;

namespace {

QByteArray Count(uint32_t n, int length = 16)
{
    QByteArray payload;
    for (int i = 0; i < 4; ++i)
        payload.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    return ServiceDatagram(GmCount, 0, payload, 0, length);
}

} // namespace

struct PortCase {
    const char* name;
    QList<int> taken;
    int expected;
};
void PrintTo(const PortCase& c, std::ostream* os) { *os << c.name; }

class PortSearch : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortSearch, BindsTheFirstFreePortFrom3000)
{
    testing_support::TestClient t;
    t.udp.taken = GetParam().taken;
    InitUdpChannel(t.client);
    EXPECT_EQ(t.udp.localPort, GetParam().expected);
    EXPECT_TRUE(t.udp.bound);
    EXPECT_TRUE(t.client.services.GmChannelUp);
    EXPECT_EQ(t.udp.remotePort, 4001);
}

INSTANTIATE_TEST_SUITE_P(GmChannel, PortSearch,
                         ::testing::Values(PortCase{"AllFree", {}, 3000}, PortCase{"TwoTaken", {3000, 3001}, 3002},
                                           PortCase{"GapAfterTaken", {3000, 3002}, 3001}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GmChannel, NoFreePortMarksTheChannelUnavailable)
{
    ServiceTable t;
    t.udp.bound = false;
    t.udp.allTaken = true;
    InitUdpChannel(t.c);
    EXPECT_FALSE(t.c.services.GmChannelUp);
    EXPECT_FALSE(t.udp.bound);
    EXPECT_EQ(t.f.ImgGm.ToolTipText, kGmChannelDownTip);
    EXPECT_EQ(FindFreeUdpPort(t.udp, 3000), -1);
    // Nothing is sent while the channel is down.
    t.ServiceOn();
    TimerGmQuery_Timer(t.c);
    EXPECT_TRUE(t.udp.sent.isEmpty());
}

TEST(GmChannel, AFailedBindMarksTheChannelUnavailable)
{
    ServiceTable t;
    t.udp.bound = false;
    t.udp.failBind = true; // taken by another program between probe and bind
    InitUdpChannel(t.c);
    EXPECT_FALSE(t.c.services.GmChannelUp);
    EXPECT_EQ(t.f.ImgGm.ToolTipText, kGmChannelDownTip);
    // The next table tries again and succeeds.
    t.udp.failBind = false;
    InitUdpChannel(t.c);
    EXPECT_TRUE(t.c.services.GmChannelUp);
    EXPECT_TRUE(t.f.ImgGm.ToolTipText.isEmpty());
}

TEST(GmChannel, TheRealPortSearchSkipsPortsOtherSocketsHold)
{
    // Two neighbouring ports held by "other programs", somewhere free.
    QUdpSocket first, second;
    int base = 0;
    for (int p = 41000; p < 60000 && !base; p += 7) {
        if (first.bind(QHostAddress::AnyIPv4, static_cast<quint16>(p), QAbstractSocket::DontShareAddress) &&
            second.bind(QHostAddress::AnyIPv4, static_cast<quint16>(p + 1), QAbstractSocket::DontShareAddress))
            base = p;
        else {
            first.close();
            second.close();
        }
    }
    ASSERT_GT(base, 0);
    platform::QtUdpLink link;
    EXPECT_TRUE(IsUdpPortInUse(link, base));
    const int found = FindFreeUdpPort(link, base);
    EXPECT_GE(found, base + 2);
    ASSERT_TRUE(link.Bind(found));
    // The port the link now holds is in use for the next search, too.
    EXPECT_TRUE(IsUdpPortInUse(link, found));
    EXPECT_FALSE(link.Bind(base));
}

TEST(GmChannel, SetUpResetsTheStateAndTheTimers)
{
    ServiceTable t;
    ServicesState& s = t.c.services;
    s.GmServiceOn = -1;
    s.gm_iNum = 4;
    s.FrmGmOpen = -1;
    s.GmLastSendTime = 5u;
    s.TimerGmFlash->SetEnabled(true);
    s.TimerClick->SetEnabled(true);
    s.TimerGmQuery->Tag = QStringLiteral("7");
    t.f.ImgGm.SetVisible(true);
    const int port = t.udp.localPort;

    InitUdpChannel(t.c);
    EXPECT_EQ(s.GmServiceOn, 0);
    EXPECT_EQ(s.gm_iNum, 0);
    EXPECT_EQ(s.FrmGmOpen, 0);
    EXPECT_FALSE(s.GmLastSendTime.has_value());
    EXPECT_FALSE(s.TimerGmFlash->Enabled());
    EXPECT_FALSE(s.TimerClick->Enabled());
    EXPECT_EQ(s.TimerClick->interval(), 1000);
    EXPECT_TRUE(s.TimerGmQuery->Enabled());
    EXPECT_EQ(s.TimerGmQuery->interval(), 40000);
    EXPECT_EQ(s.TimerGmQuery->Tag, QStringLiteral("0"));
    EXPECT_FALSE(t.f.ImgGm.Visible);
    // A channel still bound keeps its port.
    EXPECT_EQ(t.udp.localPort, port);
}

struct PlaceCase {
    const char* name;
    float scale;
    float width, height, top;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class GmIconPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(GmIconPlace, SitsAtTheRightEdge140AboveTheChatBar)
{
    ServiceTable t(GetParam().scale);
    EXPECT_FLOAT_EQ(t.f.ImgGm.Width, GetParam().width);
    EXPECT_FLOAT_EQ(t.f.ImgGm.Height, GetParam().height);
    EXPECT_FLOAT_EQ(t.f.ImgGm.Top, t.f.imgLocation.Top - 140);
    EXPECT_FLOAT_EQ(t.f.ImgGm.Left, static_cast<float>(t.f.pic1->width()) - t.f.ImgGm.Width);
}

INSTANTIATE_TEST_SUITE_P(GmChannel, GmIconPlace,
                         ::testing::Values(PlaceCase{"FullScale", 1.0f, 55, 55, 0},
                                           PlaceCase{"SmallScale", 0.78125f, 42.96875f, 38.28125f, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GmChannel, DatagramsFromAnyoneButTheServiceAreDropped)
{
    ServiceTable t;
    t.udp.Arrive(Count(3), /*fromRemote=*/false);
    EXPECT_EQ(t.c.services.gm_iNum, 0);
    EXPECT_FALSE(t.c.services.TimerGmFlash->Enabled());
    t.udp.Arrive(Count(3));
    EXPECT_EQ(t.c.services.gm_iNum, 3);
    EXPECT_TRUE(t.c.services.TimerGmFlash->Enabled());
}

struct CountCase {
    const char* name;
    QByteArray datagram;
    int expected;
    bool blinking;
};
void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class GmCountPacket : public ::testing::TestWithParam<CountCase> {};

TEST_P(GmCountPacket, SetsTheWaitingRepliesAndTheBlinking)
{
    ServiceTable t;
    t.c.services.gm_iNum = 9;
    t.udp.Arrive(GetParam().datagram);
    EXPECT_EQ(t.c.services.gm_iNum, GetParam().expected);
    EXPECT_EQ(t.c.services.TimerGmFlash->Enabled(), GetParam().blinking);
}

INSTANTIATE_TEST_SUITE_P(GmChannel, GmCountPacket,
                         ::testing::Values(CountCase{"Three", Count(3), 3, true}, CountCase{"Zero", Count(0), 0, false},
                                           CountCase{"Length14IsZero", Count(5, 14), 0, false},
                                           // A count beyond the signed range leaves the known one.
                                           CountCase{"Huge", Count(0x80000000u), 9, true},
                                           CountCase{"Rejected", QByteArray("\xFE\x7F junk", 8), 9, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GmChannel, PollingStartsWithTheServiceAndAsksEveryTenthTick)
{
    ServiceTable t;
    for (int i = 0; i < 3; ++i)
        TimerGmQuery_Timer(t.c);
    EXPECT_TRUE(t.TakeDatagrams().isEmpty()) << "service off: nothing is asked";
    EXPECT_EQ(t.c.services.TimerGmQuery->Tag, QStringLiteral("0"));

    t.ServiceOn();
    QList<int> queries;
    for (int tick = 0; tick < 21; ++tick) {
        TimerGmQuery_Timer(t.c);
        for (const GmPacket& p : t.TakeDatagrams()) {
            EXPECT_EQ(p.Command, GmQuery);
            queries << tick;
        }
    }
    EXPECT_EQ(queries, (QList<int>{0, 10, 20}));
}

TEST(GmChannel, TheIconBlinksBetweenItsTwoPicturesBySecond)
{
    ServiceTable t;
    t.t.clock.seconds = 100.2;
    TimerGmFlash_Timer(t.c);
    EXPECT_EQ(t.f.ImgGm.PictureId(), kGmIconNormal);
    t.t.clock.seconds = 101.7;
    TimerGmFlash_Timer(t.c);
    EXPECT_EQ(t.f.ImgGm.PictureId(), kGmIconHighlighted);
}

TEST(GmChannel, AReplyWhileTheWindowIsClosedIsNeitherShownLoggedNorAcknowledged)
{
    ServiceTable t;
    t.udp.Arrive(ReplyDatagram("\x01\x02\x03\x04", QStringLiteral("您好"), 2));
    EXPECT_TRUE(t.TakeDatagrams().isEmpty());
    EXPECT_TRUE(t.LogText().isEmpty());
    EXPECT_EQ(t.c.services.gm_iNum, 1) << "the count is kept";
}

TEST(GmLog, LinesEndInCrLfAndAreGbk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Gm.log.txt"));
    AppendTextFile(path, QStringLiteral("客服留言如下:\n第一行\r\n第二行"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), platform::gbk::Encode(QStringLiteral("客服留言如下:\r\n第一行\r\r\n第二行\r\n")));
}

TEST(GmLog, AFullLogIsMovedAsideBeforeTheNextEntry)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Gm.log.txt"));
    for (int i = 0; i < 5; ++i)
        AppendTextFile(path, QString(30, QLatin1Char('a' + i)), 64);
    // Each entry is 32 bytes: two fit, then the file moves aside.
    QFile current(path), older(path + QStringLiteral(".1"));
    ASSERT_TRUE(current.open(QIODevice::ReadOnly));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(current.readAll(), QByteArray(30, 'e') + "\r\n");
    EXPECT_EQ(older.readAll(), QByteArray(30, 'c') + "\r\n" + QByteArray(30, 'd') + "\r\n");
}
