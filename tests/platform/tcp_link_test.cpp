// The real TCP and UDP links of the table window, over loopback: they go
// straight to the address they are given, whatever proxy the application or
// the system names (the client speaks SOCKS5 itself when the lobby asks).
#include "platform/tcp_link.h"
#include "platform/udp_link.h"

#include "support/processes.h"

#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

// How long a socket event may take to arrive over loopback.
constexpr int kWaitMs = 5000;

// An address of this machine that is not loopback (proxies are never asked
// about loopback); null when the machine has none.
QHostAddress OwnAddress()
{
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a;
    return {};
}

// A port nothing listens on: a proxy there refuses every connection.
quint16 DeadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Names a proxy for the whole application while it lives; the system's
// proxy settings apply again afterwards.
class ApplicationProxy {
public:
    explicit ApplicationProxy(const QNetworkProxy& proxy) { QNetworkProxy::setApplicationProxy(proxy); }
    ~ApplicationProxy()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::DefaultProxy));
        QNetworkProxyFactory::setUseSystemConfiguration(true);
    }
};

class LinksIgnoreProxies : public ::testing::TestWithParam<QNetworkProxy::ProxyType> {};

TEST_P(LinksIgnoreProxies, TheGameConnectionGoesStraightToTheServer)
{
    const QHostAddress own = OwnAddress();
    if (own.isNull())
        GTEST_SKIP() << "no address other than loopback";
    QTcpServer server;
    ASSERT_TRUE(server.listen(own, 0));
    ApplicationProxy proxy(QNetworkProxy(GetParam(), QStringLiteral("127.0.0.1"), DeadPort()));

    platform::QtTcpLink link;
    bool connected = false;
    QString error;
    QObject::connect(&link, &platform::TcpLink::ConnectEvent, [&] { connected = true; });
    QObject::connect(&link, &platform::TcpLink::ErrorEvent, [&](int, const QString& text) { error = text; });
    link.Connect(own.toString(), server.serverPort());
    ASSERT_TRUE(testing_support::WaitFor([&] { return connected || !error.isEmpty(); }, kWaitMs));
    EXPECT_TRUE(connected) << error.toStdString();
    ASSERT_TRUE(testing_support::WaitFor([&] { return server.hasPendingConnections(); }, kWaitMs));
    QTcpSocket* peer = server.nextPendingConnection();
    link.SendData(QByteArray("\x01\x02", 2));
    ASSERT_TRUE(testing_support::WaitFor([&] { return peer->bytesAvailable() == 2; }, kWaitMs));
    EXPECT_EQ(peer->readAll(), QByteArray("\x01\x02", 2));
}

TEST_P(LinksIgnoreProxies, TheServiceChannelBindsAndReceivesDirectly)
{
    ApplicationProxy proxy(QNetworkProxy(GetParam(), QStringLiteral("127.0.0.1"), DeadPort()));
    platform::QtUdpLink link;
    ASSERT_TRUE(link.Bind(0));
    EXPECT_FALSE(link.ProbePortInUse(0)) << "a free port probes free";
    QByteArray got;
    QObject::connect(&link, &platform::UdpLink::DataArrival, [&](qint64) { got = link.GetData(); });
    QUdpSocket sender;
    sender.setProxy(QNetworkProxy::NoProxy);
    sender.writeDatagram(QByteArray("hi"), QHostAddress::LocalHost, static_cast<quint16>(link.LocalPort()));
    ASSERT_TRUE(testing_support::WaitFor([&] { return !got.isEmpty(); }, kWaitMs));
    EXPECT_EQ(got, QByteArray("hi"));
}

INSTANTIATE_TEST_SUITE_P(Proxies, LinksIgnoreProxies,
                         ::testing::Values(QNetworkProxy::Socks5Proxy, QNetworkProxy::HttpProxy),
                         [](const ::testing::TestParamInfo<QNetworkProxy::ProxyType>& info) {
                             return info.param == QNetworkProxy::Socks5Proxy ? std::string("Socks5")
                                                                             : std::string("Http");
                         });

} // namespace
