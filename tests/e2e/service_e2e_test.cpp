// The built client and the customer-service host on loopback: the player
// opens the customer-service window, types a message and sends it; the
// service's echo is written to the conversation log; the window opened
// again fetches the service's answer, shows and logs it and acknowledges
// it. A datagram from another port pretending to be a reply is ignored.
#include "support/mouse.h"
#include "support/processes.h"
#include "screen_client.h"
#include "support/rfb_client.h"
#include "support/table_fixture.h"

#include "core/startup.h"
#include "platform/gbk.h"
#include "services/gm_channel.h"
#include "services/gm_form.h"
#include "services/gm_packet.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QFile>
#include <QRegularExpression>
#include <QUdpSocket>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Where the player clicks on a 1024 x 768 screen, from the client's own
// layout: the table window lies at the screen's corner, the service window
// near its lower right corner.
struct ServiceSpots {
    QPoint icon, text, send;
};

ServiceSpots SpotsOnTheScreen()
{
    TableClient probe;
    core::SizeWindow(probe.c, QSize(1024, 768));
    window::LayoutTableControls(probe.c);
    window::LayoutPlayControls(probe.c);
    const auto onTable = [&](const platform::GraphicControl& b) { return probe.f.pic1->pos() + CentreOf(b); };
    ServiceSpots s;
    s.icon = onTable(probe.f.ImgGm);
    services::GmForm& gm = services::GmWindow(probe.c);
    const QPoint form(probe.f.width() - gm.width() * 3 / 2 + 3, probe.f.height() - gm.height() * 3 / 2);
    s.text = form + gm.TxtInfo->geometry().center();
    s.send = form + CentreOf(gm.ImgSend);
    return s;
}

QString LogOf(const QString& dataDir)
{
    QFile log(dataDir + QStringLiteral("/Gm.log.txt"));
    return log.open(QIODevice::ReadOnly) ? platform::gbk::Decode(log.readAll()) : QString();
}

} // namespace

TEST(ServiceEndToEnd, AMessageIsEchoedAndItsAnswerFetchedWhileStrayDatagramsAreIgnored)
{
    const ServiceSpots spots = SpotsOnTheScreen();
    Program service(QStringLiteral(MJ_SERVICEHOST_PROGRAM), {QStringLiteral("--welcome"), QString()},
                    QProcessEnvironment::systemEnvironment());
    if (!service.WaitForLine(QStringLiteral("servicehost listening on"), 5000))
        GTEST_SKIP() << "port 4001 is taken here: " << service.Lines().join('\n').toStdString();

    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--robot-wait"), QStringLiteral("0"),
                    QStringLiteral("--robot-delay"), QStringLiteral("5000"), QStringLiteral("--countdown"),
                    QStringLiteral("99"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);

    QTemporaryDir runtime;
    const int vncPort = FreePort();
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    env.insert(QStringLiteral("MJCLIENT_SERVICE_HOST"), QStringLiteral("127.0.0.1"));
    const QString dataDir = env.value(QStringLiteral("MJCLIENT_DATA_DIR"));
    const std::unique_ptr<Program> lobbyRun = LobbyWithClientOnVnc(port, vncPort, env);
    Program& lobby = *lobbyRun;
    RfbInput input;
    ASSERT_TRUE(input.Connect(vncPort, 15000)) << lobby.Lines().join('\n').toStdString();
    // The own user-info frame switches the service on and shows the icon.
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("OUT seat=0 kind=20"), 15000))
        << server.Lines().join('\n').toStdString();
    const auto serviceSaw = [&](const QString& text) { return service.Lines().join('\n').contains(text); };

    // The icon opens the window, which asks for a waiting reply.
    ASSERT_TRUE(WaitFor(
        [&] {
            input.Click(spots.icon);
            return WaitFor([&] { return serviceSaw(QStringLiteral("fetch from alice")); }, 1500);
        },
        15000))
        << service.Lines().join('\n').toStdString();

    // The player types a message and sends it; the echo is logged.
    input.Click(spots.text);
    input.Type("hello desk");
    input.Click(spots.send);
    ASSERT_TRUE(WaitFor([&] { return serviceSaw(QStringLiteral("message from alice (alice): hello desk")); }, 5000))
        << service.Lines().join('\n').toStdString();
    ASSERT_TRUE(WaitFor([&] { return LogOf(dataDir).contains(QStringLiteral("留言如下:\r\nhello desk\r\n")); }, 5000))
        << LogOf(dataDir).toStdString();

    // The client's port, from the service's lines.
    static const QRegularExpression kFrom(QStringLiteral("from port (\\d+): message"));
    const int clientPort = kFrom.match(service.Lines().join('\n')).captured(1).toInt();
    ASSERT_GE(clientPort, 3000);

    // The window closes about two seconds after the send; opened again, it
    // fetches the answer, shows and logs it and acknowledges it.
    WaitFor([] { return false; }, 2500);
    ASSERT_TRUE(WaitFor(
        [&] {
            input.Click(spots.icon);
            return WaitFor([&] { return serviceSaw(QStringLiteral("ack 1 from alice")); }, 1500);
        },
        15000))
        << service.Lines().join('\n').toStdString();
    const QString answer = QStringLiteral("您好，您的留言“hello desk”我们已记下，会尽快处理。");
    ASSERT_TRUE(WaitFor([&] { return LogOf(dataDir).contains(answer); }, 5000)) << LogOf(dataDir).toStdString();

    // A reply from another port while the window is open: not shown, not logged.
    QUdpSocket stray;
    QByteArray fake("\x09\x00\x00\x00", 4);
    fake += platform::gbk::Encode(QStringLiteral("伪造的回复")) + QByteArray(2, '\0');
    services::GmPacket p;
    p.Magic = services::GmPacket::kMagic;
    p.Command = services::GmReply;
    p.Flag = 1;
    std::copy(fake.begin(), fake.end(), reinterpret_cast<char*>(p.Payload.data()));
    p.Length = static_cast<int16_t>(12 + fake.size());
    stray.writeDatagram(services::GmPacketBytes(p), QHostAddress::LocalHost, static_cast<quint16>(clientPort));
    WaitFor([] { return false; }, 1500);
    EXPECT_FALSE(LogOf(dataDir).contains(QStringLiteral("伪造")));
    EXPECT_FALSE(serviceSaw(QStringLiteral("ack 9"))) << "no acknowledgement for the stray reply";
}
