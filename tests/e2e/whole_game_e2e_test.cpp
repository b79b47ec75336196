// The built client, started by the stand-in lobby in hosted play, plays two
// whole hands against the local table server with three robots. The
// server's trace shows every frame: none of the client's is refused (the
// server refuses malformed frames, stale turn stamps and unknown echo
// tokens), and both hands reach their settlement.
#include "support/processes.h"
#include "screen_client.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(WholeGameEndToEnd, HostedClientPlaysTwoHandsAgainstTheTableServer)
{
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("7"),
                    QStringLiteral("--hands"), QStringLiteral("2"), QStringLiteral("--robot-wait"), QStringLiteral("0"),
                    QStringLiteral("--robot-delay"), QStringLiteral("0"), QStringLiteral("--countdown"),
                    QStringLiteral("2"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    // Field 11 = 1: hosted play, the client plays by itself.
    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$1$E2E Lobby$Table$0$0$").arg(port);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, IsolatedEnvironment(runtime));
    Program& lobby = *lobbyRun;

    // The server ends by itself after the second hand. The hosted client
    // waits out its two-second countdown at every decision, and claims
    // lengthen its hands: about 130 s on a busy machine.
    const bool finished = server.WaitForExit(240000);
    const QStringList trace = server.Lines();
    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
    ASSERT_TRUE(finished) << trace.mid(std::max<qsizetype>(0, trace.size() - 40)).join('\n').toStdString();

    int fromClient = 0, results = 0, settlements = 0, wins = 0;
    for (const QString& l : trace) {
        EXPECT_FALSE(l.contains(QStringLiteral("refused")) || l.contains(QStringLiteral("dropped"))) << l.toStdString();
        if (l.startsWith(QStringLiteral("IN seat=0 ")))
            ++fromClient;
        if (l.startsWith(QStringLiteral("OUT seat=0 kind=9 ")))
            ++results;
        if (l.startsWith(QStringLiteral("OUT seat=0 kind=17 ")))
            ++settlements;
        if (l.contains(QStringLiteral("hand won")) || l.contains(QStringLiteral("hand drawn")))
            ++wins;
    }
    EXPECT_GT(fromClient, 10); // the login, discards, passes, ready marks
    EXPECT_EQ(results, 2 * 4);
    EXPECT_EQ(settlements, 2 * 16);
    EXPECT_EQ(wins, 2);
    EXPECT_TRUE(trace.join('\n').contains(QStringLiteral("game over")));
}
