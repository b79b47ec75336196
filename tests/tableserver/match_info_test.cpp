// The server's match-info announcement: the kind-80 frame it builds, sent
// without echo token right after every accepted login, and the small web
// server that serves the document.
#include "helpers.h"
#include "match_info_web.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace tableserver;

TEST(MatchInfoAnnouncement, TheFrameCarriesMd5AddressRegionAndReserve)
{
    const std::string md5(32, 'c');
    const std::string url = "http://127.0.0.1:8080/files/matches.xml"; // 39 bytes: NUL at 87
    const protocol::GameFrame f = proto::MatchInfoUrl(md5, url, 2, 10000);
    EXPECT_EQ(f[3], 80);
    EXPECT_EQ(std::string(f.begin() + 16, f.begin() + 48), md5);
    EXPECT_EQ(std::string(f.begin() + 48, f.begin() + 87), url);
    EXPECT_EQ(f[87], 0);
    EXPECT_EQ(f[89], 2);
    EXPECT_EQ(f[91], 0x10);
    EXPECT_EQ(f[92], 0x27);
    EXPECT_EQ(f[260], 0);
    EXPECT_EQ(f[261], 0);
}

TEST(MatchInfoAnnouncement, EveryAcceptedLoginGetsItAfterTheLoginReply)
{
    TableConfig config;
    config.matchInfo.url = "http://127.0.0.1:1/m.xml";
    config.matchInfo.md5 = std::string(32, 'a');
    Table table(config);
    ASSERT_EQ(table.Login("alice", 0).seat, 0);
    const auto out = table.TakeOutgoing();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].frame[3], protocol::MsgLoginReply);
    EXPECT_EQ(out[1].seat, 0);
    EXPECT_EQ(out[1].frame, proto::MatchInfoUrl(config.matchInfo.md5, config.matchInfo.url, 1, 0));

    Table plain{TableConfig{}};
    plain.Login("alice", 0);
    EXPECT_EQ(plain.TakeOutgoing().size(), 1u);
}

namespace {

// One raw HTTP exchange with the web server.
QByteArray Exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    QByteArray answer;
    QObject::connect(&s, &QTcpSocket::readyRead, [&] { answer += s.readAll(); });
    s.write(request);
    QElapsedTimer t;
    t.start();
    while (s.state() != QAbstractSocket::UnconnectedState && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return answer;
}

} // namespace

TEST(MatchInfoWeb, ServesItsOneDocumentAndNothingElse)
{
    MatchInfoWeb web(QStringLiteral("m.xml"), QByteArray("<doc/>"));
    ASSERT_TRUE(web.Listen());
    EXPECT_EQ(web.Url(), QStringLiteral("http://127.0.0.1:%1/m.xml").arg(web.Port()));
    EXPECT_EQ(web.Md5(), QStringLiteral("33ee58754dc14835f973375558d0f58f"));

    const QByteArray ok = Exchange(web.Port(), "GET /m.xml HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(ok.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(ok.endsWith("\r\n\r\n<doc/>"));
    EXPECT_TRUE(Exchange(web.Port(), "GET /other.xml HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 404 "));
    EXPECT_TRUE(Exchange(web.Port(), "GET /../m.xml HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 404 "));
    EXPECT_TRUE(Exchange(web.Port(), "POST /m.xml HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 405 "));
}
