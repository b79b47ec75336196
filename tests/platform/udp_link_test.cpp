// The real UDP socket of the table window, over loopback.
#include "platform/udp_link.h"

#include "support/processes.h"

#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

// How long a socket event may take to arrive over loopback.
constexpr int kWaitMs = 5000;

} // namespace

TEST(QtUdpLink, EachDatagramArrivesAsOneEventWithItsBytes)
{
    platform::QtUdpLink link;
    ASSERT_TRUE(link.Bind(0));
    ASSERT_GT(link.LocalPort(), 0);
    QList<QByteArray> got;
    QList<qint64> sizes;
    QObject::connect(&link, &platform::UdpLink::DataArrival, [&](qint64 n) {
        sizes << n;
        got << link.GetData();
        EXPECT_TRUE(link.GetData().isEmpty()) << "taken once";
    });

    QUdpSocket sender;
    const QByteArray first("\xFF\x7F\x10\x00", 4);
    const QByteArray second(300, 'x');
    sender.writeDatagram(first, QHostAddress::LocalHost, static_cast<quint16>(link.LocalPort()));
    sender.writeDatagram(second, QHostAddress::LocalHost, static_cast<quint16>(link.LocalPort()));
    ASSERT_TRUE(testing_support::WaitFor([&] { return got.size() == 2; }, kWaitMs));
    EXPECT_EQ(got, (QList<QByteArray>{first, second}));
    EXPECT_EQ(sizes, (QList<qint64>{4, 300}));
}

TEST(QtUdpLink, ADatagramTheHandlerLeavesIsDropped)
{
    platform::QtUdpLink link;
    ASSERT_TRUE(link.Bind(0));
    int events = 0;
    QObject::connect(&link, &platform::UdpLink::DataArrival, [&](qint64) { ++events; });
    QUdpSocket sender;
    sender.writeDatagram(QByteArray("a"), QHostAddress::LocalHost, static_cast<quint16>(link.LocalPort()));
    ASSERT_TRUE(testing_support::WaitFor([&] { return events == 1; }, kWaitMs));
    EXPECT_TRUE(link.GetData().isEmpty());
}

TEST(QtUdpLink, APortInUseCannotBeBound)
{
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, 0));
    platform::QtUdpLink link;
    EXPECT_FALSE(link.Bind(holder.localPort()));
}
