// The built client starts its table without the browser engine: the engine
// lives in a module beside the program that only a web panel's first page
// loads. And the start-up measurement's hook: the client prints
// "first paint" and ends once its table window has been painted.
#include "support/processes.h"
#include "screen_client.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kLobbyTitle = QStringLiteral("E2E Lobby");

// A game server that takes the connection and counts the bytes sent to it.
struct SilentServer {
    QTcpServer server;
    QByteArray received;
    SilentServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] { received += peer->readAll(); });
        });
    }
};

std::unique_ptr<Program> StartLobby(int port, const QProcessEnvironment& env)
{
    const QString line = QStringLiteral("alice$secret$127.0.0.1$%1$本地$0$$0$$$0$%2$Table$0$0$").arg(port).arg(kLobbyTitle);
    return LobbyWithClient(line, env, kLobbyTitle, QStringLiteral("1280x1024"));
}

// The client's process id, from the lobby's "started <pid>" line.
qint64 ClientPid(Program& lobby)
{
    if (!lobby.WaitForLine(QStringLiteral("started "), 10000))
        return 0;
    for (const QString& l : lobby.Lines())
        if (l.startsWith(QStringLiteral("started ")))
            return l.mid(8).trimmed().toLongLong();
    return 0;
}

} // namespace

TEST(ClientLibrariesEndToEnd, TheTableStartsWithoutTheBrowserEngine)
{
    // The module the web panels load lies beside the program.
    EXPECT_TRUE(QFileInfo(QFileInfo(QStringLiteral(MJ_CLIENT_PROGRAM)).dir().filePath(
                              QStringLiteral("mjclient_webengine.so")))
                    .isFile());

    QTemporaryDir runtime;
    SilentServer table;
    auto lobby = StartLobby(table.server.serverPort(), IsolatedEnvironment(runtime));
    const qint64 pid = ClientPid(*lobby);
    ASSERT_GT(pid, 0) << lobby->Lines().join('\n').toStdString();
    // Logged in: start-up, the table window included, is through.
    ASSERT_TRUE(WaitFor([&] { return table.received.size() >= 272; }, 15000)) << lobby->Lines().join('\n').toStdString();

    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QString mapped = QString::fromUtf8(maps.readAll());
    EXPECT_TRUE(mapped.contains(QLatin1String("libQt6Widgets"))) << "the maps are the client's";
    EXPECT_FALSE(mapped.contains(QLatin1String("webengine"), Qt::CaseInsensitive))
        << mapped.split(QLatin1Char('\n')).filter(QStringLiteral("webengine"), Qt::CaseInsensitive).join('\n').toStdString();
    lobby->Write("quit\n");
    EXPECT_TRUE(lobby->WaitForExit(5000));
}

TEST(ClientLibrariesEndToEnd, WithTheFirstPaintHookTheClientPrintsAndEndsAfterShowingItsTable)
{
    QTemporaryDir runtime;
    SilentServer table;
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    env.insert(QStringLiteral("MJCLIENT_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    auto lobby = StartLobby(table.server.serverPort(), env);
    ASSERT_TRUE(lobby->WaitForExit(15000)) << lobby->Lines().join('\n').toStdString();
    const QStringList lines = lobby->Lines();
    EXPECT_EQ(lines.filter(QStringLiteral("first paint")).size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("exited 0"))) << lines.join('\n').toStdString();
}
