// The built client in hosted play against the local table server over
// seeded hands: it decides every turn by itself when its two-second
// countdown runs out, claims at least once, and every hand ends in a win or
// a drawn hand without a refused frame, a lost connection or the server
// having to act for the client.
#include "support/processes.h"
#include "screen_client.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The server's trace of one game: the client plays seat 0.
struct HostedRun {
    QStringList trace;
    bool finished = false;
};

HostedRun RunHostedGame(int seed, int hands)
{
    HostedRun run;
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QString::number(seed),
                    QStringLiteral("--hands"), QString::number(hands), QStringLiteral("--robot-wait"),
                    QStringLiteral("0"), QStringLiteral("--robot-delay"), QStringLiteral("0"),
                    QStringLiteral("--countdown"), QStringLiteral("2"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    if (port.isEmpty()) {
        ADD_FAILURE() << "no port";
        return run;
    }
    // Field 11 = 1: hosted play.
    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$1$E2E Lobby$Table$0$0$").arg(port);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, IsolatedEnvironment(runtime));
    Program& lobby = *lobbyRun;
    run.finished = server.WaitForExit(180000);
    run.trace = server.Lines();
    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
    return run;
}

// The operation code of a claim frame the client sent, 0 for other lines.
int ClientOperation(const QString& line)
{
    static const QRegularExpression kOp(QStringLiteral("^IN seat=0 kind=7 .*\\| operation bit=1 .* op=(\\d+) "));
    const QRegularExpressionMatch m = kOp.match(line);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

// Seed 34, two hands: the client pongs and wins the first hand, pongs and
// lays a single-tile kong in the second, which a robot wins. About 80 s.
TEST(HostedPlayEndToEnd, TheHostedClientClaimsAndEveryHandEndsWithoutAFailure)
{
    constexpr int kSeed = 34;
    constexpr int kHands = 2;
    const HostedRun run = RunHostedGame(kSeed, kHands);
    const QStringList& trace = run.trace;
    ASSERT_TRUE(run.finished) << trace.mid(std::max<qsizetype>(0, trace.size() - 40)).join('\n').toStdString();

    int claims = 0, discards = 0, ends = 0, ownWins = 0, settlements = 0;
    for (const QString& l : trace) {
        // After the game's end the client leaves: its connection closes.
        if (l.contains(QStringLiteral("game over")))
            break;
        for (const char* failure : {"refused", "dropped", "connection lost", "disconnected", "no answer in time"})
            EXPECT_FALSE(l.contains(QLatin1String(failure))) << l.toStdString();
        const int op = ClientOperation(l);
        // Chow 4, pong 8, exposed kong 16, concealed kong 32, single-tile kong 64.
        if (op == 4 || op == 8 || op == 16 || op == 32 || op == 64)
            ++claims;
        if (l.startsWith(QStringLiteral("IN seat=0 kind=2 ")))
            ++discards;
        if (l.contains(QStringLiteral("hand won")) || l.contains(QStringLiteral("hand drawn")))
            ++ends;
        if (l == QStringLiteral("NOTE seat=0 hand won"))
            ++ownWins;
        if (l.startsWith(QStringLiteral("OUT seat=0 kind=17 ")))
            ++settlements;
    }
    EXPECT_GE(claims, 1);
    EXPECT_GE(ownWins, 1);
    EXPECT_GT(discards, 0);
    EXPECT_EQ(ends, kHands);
    EXPECT_EQ(settlements, kHands * 16) << "every hand's score sheet reached the client";
    EXPECT_TRUE(trace.join('\n').contains(QStringLiteral("game over")));
}
