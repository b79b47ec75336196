// The built client logs in to a scripted server, keeps the link alive,
// loses the connection in the middle of a frame and comes back with the
// reconnect frame; the lobby's 0x400 then makes it leave.
#include "support/processes.h"
#include "screen_client.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QByteArray ServerFrame(int kind, int seat, int sub, uint8_t token)
{
    QByteArray f(272, '\0');
    f[3] = static_cast<char>(kind);
    f[6] = static_cast<char>(seat);
    f[15] = static_cast<char>(sub);
    f[260] = static_cast<char>(token);
    f[261] = static_cast<char>(token + 1);
    return f;
}

// One connection of the scripted server, with what it has received.
struct Link {
    QTcpSocket* socket = nullptr;
    QByteArray received;
    // The kinds of the whole frames received so far.
    std::vector<int> Kinds() const
    {
        std::vector<int> k;
        for (int at = 0; at + 272 <= received.size(); at += 272)
            k.push_back(static_cast<uint8_t>(received[at + 3]));
        return k;
    }
    bool Has(int kind) const
    {
        const auto k = Kinds();
        return std::find(k.begin(), k.end(), kind) != k.end();
    }
};

} // namespace

TEST(ReconnectEndToEnd, LostMidFrameTheClientComesBackWithItsReconnectId)
{
    QTemporaryDir runtime;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    std::vector<std::unique_ptr<Link>> links;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        auto link = std::make_unique<Link>();
        link->socket = server.nextPendingConnection();
        Link* l = link.get();
        QObject::connect(l->socket, &QTcpSocket::readyRead, [l] { l->received += l->socket->readAll(); });
        links.push_back(std::move(link));
    });

    const QString line = QStringLiteral("alice$secret$127.0.0.1$%1$本地$0$$0$$$0$E2E Lobby$Table$0$0$").arg(server.serverPort());
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, IsolatedEnvironment(runtime));
    Program& lobby = *lobbyRun;

    ASSERT_TRUE(WaitFor([&] { return !links.empty() && links[0]->received.size() >= 272; }, 15000));
    Link& first = *links[0];
    EXPECT_EQ(first.Kinds().front(), 18);

    // The login is accepted and the game starts with reconnect id
    // 0x80000180 (its low byte above 127 and its top bit set).
    first.socket->write(ServerFrame(18, 0, 1, 0x10));
    QByteArray start = ServerFrame(16, 1, 2, 0x20);
    start[268] = '\x80';
    start[269] = '\x01';
    start[270] = '\x00';
    start[271] = '\x80';
    first.socket->write(start);
    first.socket->flush();

    // Keep-alives come every five seconds once logged in.
    ASSERT_TRUE(WaitFor([&] { return first.Has(24); }, 8000)) << lobby.Lines().join('\n').toStdString();
    const QByteArray keepAlive = first.received.mid(272, 272);
    EXPECT_EQ(static_cast<uint8_t>(keepAlive[260]), 0x20); // the echo token of the last frame
    EXPECT_EQ(static_cast<uint8_t>(keepAlive[261]), 0x21);

    // Half a frame, then the link drops.
    first.socket->write(ServerFrame(5, 1, 1, 0x30).left(100));
    first.socket->flush();
    WaitFor([] { return false; }, 200);
    first.socket->abort();

    // A second connection carries the reconnect frame.
    ASSERT_TRUE(WaitFor([&] { return links.size() >= 2 && links[1]->received.size() >= 272; }, 10000))
        << lobby.Lines().join('\n').toStdString();
    const QByteArray again = links[1]->received.left(272);
    EXPECT_EQ(static_cast<uint8_t>(again[3]), 28);
    EXPECT_EQ(again.mid(16, 5), QByteArray("alice"));
    EXPECT_EQ(again.mid(32, 6), QByteArray("secret"));
    EXPECT_EQ(again.mid(268, 4), QByteArray("\x80\x01\x00\x80", 4));
    EXPECT_EQ(static_cast<uint8_t>(again[260]), 0x20);

    // The reconnect is accepted; the lobby's 0x400 makes the client leave.
    links[1]->socket->write(ServerFrame(29, 0, 1, 0x40));
    links[1]->socket->flush();
    WaitFor([] { return false; }, 300);
    lobby.Write("send 0x400\n");
    ASSERT_TRUE(WaitFor([&] { return links[1]->Has(16); }, 5000)) << lobby.Lines().join('\n').toStdString();
    const auto kinds = links[1]->Kinds();
    const QByteArray leave = links[1]->received.mid(272 * static_cast<int>(std::find(kinds.begin(), kinds.end(), 16) - kinds.begin()), 272);
    EXPECT_EQ(leave.count('\0'), 271); // kind only: the seat bit is 0 before any seating
    lobby.Write("quit\n");
    EXPECT_TRUE(lobby.WaitForExit(5000));
}
