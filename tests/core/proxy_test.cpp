#include "core/proxy.h"

#include "core/lobby.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace core;
using namespace protocol;
using testing_support::TestClient;

namespace {

// A client in proxy mode whose proxy accepts the TCP connection at once.
struct ProxyFixture : ::testing::Test {
    TestClient t;
    void SetUp() override
    {
        CoreState& s = t.client.core;
        s.ConnectMode = 5;
        s.ProxyHost = QStringLiteral("127.0.0.1");
        s.ProxyPort = 1080;
        s.ServerHost = QStringLiteral("10.1.2.3");
        s.ServerPort = 8000;
        s.ProxyUser = "user";
        s.ProxyPassword = "pw";
        s.LoginFrame[3] = 18;
        s.LoginFrame[16] = 'a';
        t.clock.onEvents = [this] {
            if (t.tcp.state == platform::TcpLink::Connecting)
                t.tcp.state = platform::TcpLink::Connected;
        };
    }
    QByteArray TakeSent()
    {
        QByteArray b = t.tcp.sent;
        t.tcp.sent.clear();
        return b;
    }
    QByteArray Login() const
    {
        return QByteArray(reinterpret_cast<const char*>(t.client.core.LoginFrame.data()), kFrameSize);
    }
};

} // namespace

TEST_F(ProxyFixture, NoAuthenticationGoesStraightToTheConnectRequest)
{
    ProxyConnect(t.client);
    EXPECT_FALSE(t.client.core.DirectConnection);
    EXPECT_TRUE(t.client.core.LoginPending);
    EXPECT_TRUE(t.client.core.SchedWatch.On);
    EXPECT_EQ(TakeSent(), QByteArray("\x05\x02\x00\x02", 4));
    t.tcp.Arrive(QByteArray("\x05\x00", 2));
    EXPECT_EQ(TakeSent(), QByteArray("\x05\x01\x00\x01\x0A\x01\x02\x03\x1F\x40", 10));
}

TEST_F(ProxyFixture, AuthenticatedHandshakeToTheLogin)
{
    ProxyConnect(t.client);
    TakeSent();
    // Replies split anywhere are judged only when whole.
    t.tcp.Arrive(QByteArray("\x05", 1));
    EXPECT_TRUE(TakeSent().isEmpty());
    t.tcp.Arrive(QByteArray("\x02", 1));
    EXPECT_EQ(TakeSent(), QByteArray("\x01\x04user\x02pw", 9));
    t.tcp.Arrive(QByteArray("\x01\x00", 2));
    EXPECT_EQ(TakeSent().size(), 10);

    // The connect reply with a domain-name address, split, and the first
    // bytes of the game stream right behind it.
    const QByteArray reply("\x05\x00\x00\x03\x09localhost\x1F\x40", 4 + 1 + 9 + 2);
    QByteArray game(300, '\x07');
    t.tcp.Arrive(reply.left(6));
    EXPECT_FALSE(t.client.core.DirectConnection);
    EXPECT_TRUE(TakeSent().isEmpty());
    t.tcp.Arrive(reply.mid(6) + game.left(100));
    EXPECT_TRUE(t.client.core.DirectConnection);
    EXPECT_EQ(TakeSent(), Login()); // sent as it is, no token stamped
    EXPECT_EQ(t.lobby.posted, std::vector<uint32_t>{LobbyMsgLeave});
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QStringLiteral("连接代理服务器成功！"));
    EXPECT_TRUE(t.client.MainForm->TimerBong->Enabled());
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 100);
    t.tcp.Arrive(game.mid(100));
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 300);
    EXPECT_TRUE(t.client.core.SchedReceive.On);
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
}

struct RefusalCase {
    const char* name;
    std::vector<QByteArray> replies;
    QString message;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class ProxyRefusalTest : public ProxyFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ProxyRefusalTest, ShowsTheMessageAndClosesTheSocket)
{
    ProxyConnect(t.client);
    for (const QByteArray& r : GetParam().replies)
        t.tcp.Arrive(r);
    EXPECT_EQ(t.dialogs.texts, QStringList{GetParam().message});
    EXPECT_EQ(t.tcp.state, platform::TcpLink::Closed);
    EXPECT_FALSE(t.client.core.DirectConnection);
}

INSTANTIATE_TEST_SUITE_P(
    Proxy, ProxyRefusalTest,
    ::testing::Values(
        RefusalCase{"no_method", {QByteArray("\x05\xFF", 2)}, QStringLiteral("请求代理失败！")},
        RefusalCase{"not_socks5", {QByteArray("\x04\x00", 2)}, QStringLiteral("请求代理失败！")},
        RefusalCase{"bad_password", {QByteArray("\x05\x02", 2), QByteArray("\x01\x01", 2)},
                    QStringLiteral("代理服务器用户验证失败！")},
        RefusalCase{"connect_refused", {QByteArray("\x05\x00", 2), QByteArray("\x05\x05\x00\x01", 4)},
                    QStringLiteral("通过代理连接主站失败！")},
        RefusalCase{"unknown_address_type",
                    {QByteArray("\x05\x00", 2), QByteArray("\x05\x00\x00\x07\x00\x00", 6)},
                    QStringLiteral("通过代理连接主站失败！")}),
    [](const auto& info) { return std::string(info.param.name); });

// The proxy goes away, or falls silent, somewhere in the handshake; after
// that only the 50 ms timer's ticks run.
enum class ProxyStops { AtAccept, Closes, FallsSilent };
struct BrokenHandshakeCase {
    const char* name;
    std::vector<QByteArray> replies; // what the proxy sends before it stops
    ProxyStops how;
};
void PrintTo(const BrokenHandshakeCase& c, std::ostream* os) { *os << c.name; }

class ProxyBrokenHandshakeTest : public ProxyFixture, public ::testing::WithParamInterface<BrokenHandshakeCase> {
protected:
    // Ticks as the timer would, while it is on, until a message is shown or
    // the time given is over.
    void TickFor(uint32_t spanMs)
    {
        const uint32_t end = t.clock.ms + spanMs;
        while (t.client.MainForm->TimerBong->Enabled() && t.dialogs.texts.isEmpty() && t.clock.ms < end) {
            t.clock.Advance(50);
            TimerBong_Timer(t.client);
        }
    }
};

TEST_P(ProxyBrokenHandshakeTest, ShowsTheProxyFailureOnceWithinTheWait)
{
    const BrokenHandshakeCase& k = GetParam();
    if (k.how == ProxyStops::AtAccept) {
        t.clock.onEvents = [this] {
            if (t.tcp.state == platform::TcpLink::Connecting) {
                t.tcp.state = platform::TcpLink::Connected;
                t.tcp.PeerCloses();
            }
        };
    }
    ProxyConnect(t.client);
    for (const QByteArray& r : k.replies)
        t.tcp.Arrive(r);
    const uint32_t start = t.clock.ms;
    if (k.how == ProxyStops::Closes)
        t.tcp.PeerCloses();

    if (k.how == ProxyStops::FallsSilent) {
        // A silent proxy is given the whole wait.
        TickFor(kProxyConnectWaitMs - 100);
        EXPECT_TRUE(t.dialogs.texts.isEmpty());
    }
    TickFor(kProxyConnectWaitMs + 1000);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("请求代理失败！")});
    EXPECT_LE(t.clock.ms - start, static_cast<uint32_t>(k.how == ProxyStops::FallsSilent ? kProxyConnectWaitMs + 100 : 100));
    EXPECT_EQ(t.tcp.state, platform::TcpLink::Closed);
    EXPECT_FALSE(t.client.core.DirectConnection);

    // Shown once: the watch goes on looking at the closed socket, as after a
    // refusal, and the lobby hears what it hears after a refusal: no word
    // that the connection stands.
    t.tcp.sent.clear();
    TickFor(2000);
    EXPECT_EQ(t.dialogs.texts.size(), 1);
    EXPECT_TRUE(t.tcp.sent.isEmpty());
    EXPECT_TRUE(t.lobby.posted.empty());
    EXPECT_FALSE(t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(
    Proxy, ProxyBrokenHandshakeTest,
    ::testing::Values(
        BrokenHandshakeCase{"closed_at_accept", {}, ProxyStops::AtAccept},
        BrokenHandshakeCase{"closed_after_the_greeting", {}, ProxyStops::Closes},
        BrokenHandshakeCase{"closed_after_half_a_method_reply", {QByteArray("\x05", 1)}, ProxyStops::Closes},
        BrokenHandshakeCase{"closed_after_the_authentication", {QByteArray("\x05\x02", 2)}, ProxyStops::Closes},
        BrokenHandshakeCase{"closed_after_the_connect_request", {QByteArray("\x05\x00", 2)}, ProxyStops::Closes},
        BrokenHandshakeCase{"closed_after_half_a_connect_reply",
                            {QByteArray("\x05\x02", 2), QByteArray("\x01\x00", 2),
                             QByteArray("\x05\x00\x00\x01\x0A", 5)},
                            ProxyStops::Closes},
        BrokenHandshakeCase{"silent_after_accept", {}, ProxyStops::FallsSilent},
        BrokenHandshakeCase{"silent_after_the_connect_request", {QByteArray("\x05\x00", 2)},
                            ProxyStops::FallsSilent}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProxyFixture, RefusalIsNotReportedAgainByTheWatch)
{
    ProxyConnect(t.client);
    t.tcp.Arrive(QByteArray("\x05\x02", 2));
    t.tcp.Arrive(QByteArray("\x01\x01", 2));
    for (int i = 0; i < 2 * kProxyConnectWaitMs / 50; ++i) {
        t.clock.Advance(50);
        TimerBong_Timer(t.client);
    }
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("代理服务器用户验证失败！")});
}

TEST_F(ProxyFixture, UnreachableProxyEndsTheWait)
{
    t.clock.onEvents = nullptr; // the connection never stands
    ProxyConnect(t.client);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("请求代理失败！")});
    EXPECT_GE(t.clock.ms, static_cast<uint32_t>(kProxyConnectWaitMs));
    EXPECT_TRUE(t.tcp.sent.isEmpty());

    TestClient refused;
    refused.client.core.ProxyHost = QStringLiteral("127.0.0.1");
    refused.clock.onEvents = [&] { refused.tcp.state = platform::TcpLink::Error; };
    ProxyConnect(refused.client);
    EXPECT_EQ(refused.dialogs.texts, QStringList{QStringLiteral("请求代理失败！")});
    EXPECT_LT(refused.clock.ms, 1000u);
}

TEST(ProxyRequests, Bytes)
{
    EXPECT_EQ(ProxyAuthRequest({}, {}), QByteArray("\x01\x00\x00", 3));
    EXPECT_EQ(ProxyAuthRequest(QByteArray("\xD5\xC5", 2), "p"), QByteArray("\x01\x02\xD5\xC5\x01p", 6));
    EXPECT_EQ(ProxyConnectRequest(QStringLiteral("game.example"), 65535),
              QByteArray("\x05\x01\x00\x03\x0Cgame.example\xFF\xFF", 4 + 1 + 12 + 2));
    EXPECT_EQ(ProxyConnectRequest(QStringLiteral("1.2.3"), 1), QByteArray("\x05\x01\x00\x03\x05" "1.2.3\x00\x01", 12));
    EXPECT_TRUE(ProxyConnectRequest(QString(256, QLatin1Char('h')), 1).isEmpty());
    const uint8_t v4[] = {5, 0, 0, 1, 1};
    const uint8_t v6[] = {5, 0, 0, 4, 1};
    const uint8_t name[] = {5, 0, 0, 3, 20};
    EXPECT_EQ(ConnectReplyLength(v4, 5), 10);
    EXPECT_EQ(ConnectReplyLength(v6, 5), 22);
    EXPECT_EQ(ConnectReplyLength(name, 5), 27);
    EXPECT_EQ(ConnectReplyLength(name, 4), 0);
}
