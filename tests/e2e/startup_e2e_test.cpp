// The built client, started by the stand-in lobby, connects to a scripted
// server on loopback, directly and through a real SOCKS5 proxy, and sends
// its login frame; the lobby sees the client's messages both ways. A proxy
// that breaks off the handshake is reported.
#include "support/processes.h"
#include "screen_client.h"

#include <QStandardPaths>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The login frame a client logging in as alice/secret sends first.
QByteArray ExpectedLogin()
{
    QByteArray f(272, '\0');
    f[3] = 18;
    f[14] = 1;
    f.replace(16, 5, "alice");
    f.replace(32, 6, "secret");
    return f;
}

struct Table {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;

    Table()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
        });
    }
    int Port() const { return server.serverPort(); }
};

QString LobbyTitle() { return QStringLiteral("E2E Lobby"); }

QString Line(const QString& mode, int port, const QString& proxyHost, int proxyPort, const QString& user,
             const QString& password)
{
    return QStringLiteral("alice$secret$127.0.0.1$%1$本地$%2$%3$%4$%5$%6$0$%7$Table$0$0$")
        .arg(port)
        .arg(mode, proxyHost)
        .arg(proxyPort)
        .arg(user, password, LobbyTitle());
}

std::unique_ptr<Program> StartLobby(const QTemporaryDir& runtime, const QString& line)
{
    return LobbyWithClient(line, IsolatedEnvironment(runtime), LobbyTitle(), QStringLiteral("1280x1024"));
}

// A real SOCKS5 proxy on loopback that wants the user puser/ppass; the
// returned port is where it listens once it answers.
std::unique_ptr<Program> StartProxy(int& port)
{
    const QString microsocks = QStandardPaths::findExecutable(QStringLiteral("microsocks"));
    if (microsocks.isEmpty())
        return nullptr;
    port = FreePort();
    auto proxy = std::make_unique<Program>(
        microsocks,
        QStringList{QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port),
                    QStringLiteral("-u"), QStringLiteral("puser"), QStringLiteral("-P"), QStringLiteral("ppass")},
        QProcessEnvironment::systemEnvironment());
    const bool up = WaitFor(
        [&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
            return probe.waitForConnected(100);
        },
        5000);
    return up ? std::move(proxy) : nullptr;
}

} // namespace

TEST(StartupEndToEnd, DirectConnectionSendsTheLoginAndLeavesOnTheLobbysWord)
{
    QTemporaryDir runtime;
    Table table;
    auto lobby = StartLobby(runtime, Line(QStringLiteral("0"), table.Port(), QString(), 0, QString(), QString()));
    ASSERT_TRUE(WaitFor([&] { return table.received.size() >= 272; }, 15000)) << lobby->Lines().join('\n').toStdString();
    EXPECT_EQ(table.received.left(272), ExpectedLogin());

    // The lobby's window was restored at start-up, and the client told the
    // main lobby that the connection stands.
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("syscommand restore E2E Lobby"), 5000));
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("message 0x303 Olvenhall"), 5000));

    // Asked whether a hand is being played, the client says it is idle;
    // told to leave, it sends the leave frame and closes the connection.
    lobby->Write("send 0x465\n");
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("message 0x400 Olvenhall"), 5000));
    lobby->Write("send 0x400\n");
    ASSERT_TRUE(WaitFor([&] { return table.received.size() >= 544; }, 5000));
    const QByteArray leave = table.received.mid(272, 272);
    EXPECT_EQ(static_cast<uint8_t>(leave[3]), 16);
    EXPECT_TRUE(WaitFor([&] { return table.peer->state() != QAbstractSocket::ConnectedState; }, 5000));
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}

TEST(StartupEndToEnd, ThroughARealSocks5ProxyWithAuthentication)
{
    int proxyPort = 0;
    auto proxy = StartProxy(proxyPort);
    ASSERT_TRUE(proxy) << "microsocks is installed by scripts/setup";
    QTemporaryDir runtime;
    Table table;

    auto lobby = StartLobby(runtime, Line(QStringLiteral("5"), table.Port(), QStringLiteral("127.0.0.1"), proxyPort,
                                          QStringLiteral("puser"), QStringLiteral("ppass")));
    ASSERT_TRUE(WaitFor([&] { return table.received.size() >= 272; }, 15000)) << lobby->Lines().join('\n').toStdString();
    EXPECT_EQ(table.received.left(272), ExpectedLogin());
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("message 0x303 Olvenhall"), 5000));
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}

TEST(StartupEndToEnd, WrongProxyPasswordIsReportedAndNothingReachesTheServer)
{
    int proxyPort = 0;
    auto proxy = StartProxy(proxyPort);
    ASSERT_TRUE(proxy);
    QTemporaryDir runtime;
    Table table;
    auto lobby = StartLobby(runtime, Line(QStringLiteral("5"), table.Port(), QStringLiteral("127.0.0.1"), proxyPort,
                                          QStringLiteral("puser"), QStringLiteral("wrong")));
    // The client shows the refusal in a message box, which stays open under
    // the offscreen platform; the server sees no connection at all.
    WaitFor([] { return false; }, 3000);
    EXPECT_EQ(table.peer, nullptr);
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}

// A command line start-up refuses: the client ends with exit code 1 and one
// stderr line that quotes the field, shows nothing, and restores the lobby
// window named in field 12 even though an earlier field failed.
TEST(StartupEndToEnd, RefusedFieldsEndWithAFailureCodeAndOneLine)
{
    {
        QTemporaryDir runtime;
        const QString line = Line(QStringLiteral("0"), 7000, QString(), 0, QString(), QString())
                                 .replace(QStringLiteral("$7000$"), QStringLiteral("$80a$"));
        auto lobby = StartLobby(runtime, line);
        EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("syscommand restore E2E Lobby"), 15000));
        ASSERT_TRUE(lobby->WaitForExit(15000)) << lobby->Lines().join('\n').toStdString();
        EXPECT_EQ(lobby->ExitCode(), 1);
        EXPECT_TRUE(lobby->Lines().contains(
            QStringLiteral("start-up failed: field 4 (server port): port is not a number: \"80a\"")))
            << lobby->Lines().join('\n').toStdString();
        EXPECT_TRUE(lobby->Lines().contains(QStringLiteral("exited 1")));
    }
    {
        // A name in GBK bytes on a UTF-8 system: the shell passes the bytes
        // as they are, which a QString argument could not.
        QTemporaryDir runtime;
        Program client(QStringLiteral("/bin/sh"),
                       QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf '%b' \"$1\")\""),
                                   QStringLiteral(MJ_CLIENT_PROGRAM),
                                   QStringLiteral("\\0325\\0305$secret$127.0.0.1$7000$x$0$$0$$$0$$Table$0$0$")},
                       IsolatedEnvironment(runtime));
        ASSERT_TRUE(client.WaitForExit(15000));
        EXPECT_EQ(client.ExitCode(), 1);
        const QStringList failures = client.Lines().filter(QStringLiteral("start-up failed"));
        ASSERT_EQ(failures.size(), 1) << client.Lines().join('\n').toStdString();
        EXPECT_TRUE(failures[0].startsWith(QStringLiteral("start-up failed: field 1 (account name): not valid text: \"")))
            << failures[0].toStdString();
    }
}

TEST(StartupEndToEnd, ProxyThatClosesAfterTheGreetingIsReported)
{
    // A scripted proxy: it accepts, reads the client's greeting and closes
    // the connection without a reply.
    QTcpServer proxy;
    ASSERT_TRUE(proxy.listen(QHostAddress::LocalHost, 0));
    QByteArray greeting;
    QObject::connect(&proxy, &QTcpServer::newConnection, [&] {
        QTcpSocket* peer = proxy.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&greeting, peer] {
            greeting += peer->readAll();
            if (greeting.size() >= 4)
                peer->close();
        });
    });
    QTemporaryDir runtime;
    Table table;
    auto lobby = StartLobby(runtime, Line(QStringLiteral("5"), table.Port(), QStringLiteral("127.0.0.1"),
                                          proxy.serverPort(), QStringLiteral("puser"), QStringLiteral("ppass")));
    ASSERT_TRUE(WaitFor([&] { return greeting.size() >= 4; }, 15000)) << lobby->Lines().join('\n').toStdString();
    EXPECT_EQ(greeting, QByteArray("\x05\x02\x00\x02", 4));
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("syscommand restore E2E Lobby"), 5000));
    // The failure shows in a message box, well within the proxy wait; the
    // offscreen platform notes every message box it shows with this line.
    EXPECT_TRUE(lobby->WaitForLine(QStringLiteral("propagateSizeHints"), 5000))
        << lobby->Lines().join('\n').toStdString();
    EXPECT_EQ(table.peer, nullptr);
    EXPECT_FALSE(lobby->Lines().join('\n').contains(QStringLiteral("exited")));
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}

// A server that floods the client: a burst of 10,000 frames in one write,
// then a frame every 20 ms. The client takes frames at its own pace and
// leaves what does not fit in its ring in the socket; it neither ends nor
// drops the connection.
TEST(StartupEndToEnd, AFloodingServerNeitherEndsTheClientNorLosesTheConnection)
{
    QTemporaryDir runtime;
    Table table;
    auto lobby = StartLobby(runtime, Line(QStringLiteral("0"), table.Port(), QString(), 0, QString(), QString()));
    ASSERT_TRUE(WaitFor([&] { return table.received.size() >= 272; }, 15000)) << lobby->Lines().join('\n').toStdString();

    // Chat lines from another seat: frames every client takes without a reply.
    auto chat = [](int n) {
        QByteArray f(272, '\0');
        f[3] = 19;
        f[6] = 2;
        const QByteArray text = "line " + QByteArray::number(n);
        f.replace(16, text.size(), text);
        f.replace(217, 3, "bob");
        return f;
    };
    QByteArray burst;
    burst.reserve(10000 * 272);
    for (int n = 0; n < 10000; ++n)
        burst += chat(n);
    table.peer->write(burst);
    for (int n = 0; n < 150; ++n) {
        table.peer->write(chat(10000 + n));
        WaitFor([] { return false; }, 20);
    }
    WaitFor([] { return false; }, 2000);
    EXPECT_FALSE(lobby->Lines().join('\n').contains(QStringLiteral("exited"))) << lobby->Lines().join('\n').toStdString();
    EXPECT_EQ(table.peer->state(), QAbstractSocket::ConnectedState);
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}
