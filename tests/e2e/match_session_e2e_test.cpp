// The built client in hosted play against the table server's small match:
// after the announcement and the download of the document it is given the
// match list, its sign-ups, the server clock and the lead of the automatic
// sign-up; its match clock signs it up by itself shortly before the start;
// it plays the session's two hands, is sent its places, its result, the end,
// the next session and the champion, takes every one of these frames and
// plays on to the end of the game. About a minute and a half.
#include "support/processes.h"
#include "screen_client.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(MatchSessionEndToEnd, TheClientTakesAWholeMatchSessionAndPlaysOn)
{
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("34"),
                    QStringLiteral("--hands"), QStringLiteral("2"), QStringLiteral("--robot-wait"), QStringLiteral("0"),
                    QStringLiteral("--robot-delay"), QStringLiteral("0"), QStringLiteral("--countdown"),
                    QStringLiteral("2"), QStringLiteral("--match-info"), QStringLiteral(TABLESERVER_MATCH_INFO),
                    QStringLiteral("--match"), QStringLiteral("--match-lead"), QStringLiteral("10"),
                    QStringLiteral("--match-auto-sign"), QStringLiteral("6"),
                    QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("match-info document http://127.0.0.1:"), 5000));
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    // Field 11 = 1: hosted play, so the client plays its hands itself.
    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$1$E2E Lobby$Table$0$0$").arg(port);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, IsolatedEnvironment(runtime));
    Program& lobby = *lobbyRun;

    const bool finished = server.WaitForExit(180000);
    const QStringList trace = server.Lines();
    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
    ASSERT_TRUE(finished) << trace.mid(std::max<qsizetype>(0, trace.size() - 40)).join('\n').toStdString();

    // The match frames the client was sent, in order, up to the game's end.
    QStringList sent;
    static const QRegularExpression kOut(QStringLiteral("^OUT seat=0 kind=(\\d+) "));
    for (const QString& l : trace) {
        if (l.contains(QStringLiteral("game over")))
            break;
        for (const char* failure : {"refused", "dropped", "connection lost", "disconnected"})
            EXPECT_FALSE(l.contains(QLatin1String(failure))) << l.toStdString();
        const QRegularExpressionMatch m = kOut.match(l);
        if (m.hasMatch() && m.captured(1).toInt() >= 72 && m.captured(1).toInt() <= 99)
            sent << m.captured(1);
    }
    EXPECT_TRUE(server.Lines().join('\n').contains(QStringLiteral("NOTE seat=- http GET /matches.xml")));
    // The announcement, then list, sign-ups, clock and the sign-up lead; the
    // client's own sign-up is answered; the start, a place after the first
    // hand, then the result, the end, the next session and the champion.
    const QString order = sent.join(',');
    EXPECT_TRUE(order.startsWith(QStringLiteral("80,82,74,81,90,"))) << order.toStdString();
    EXPECT_TRUE(order.contains(QStringLiteral("72,87"))) << order.toStdString();
    EXPECT_TRUE(order.contains(QStringLiteral("75,77"))) << order.toStdString();
    EXPECT_TRUE(order.endsWith(QStringLiteral(",78,75,83,89"))) << order.toStdString();
    // The sign-up came from the client, once, before the start (indexOf
    // matches whole lines).
    const qsizetype signUp = trace.indexOf(QRegularExpression(QStringLiteral("^IN seat=0 kind=72 .*match-sign id=101.*")));
    const qsizetype start = trace.indexOf(QRegularExpression(QStringLiteral("^OUT seat=0 kind=75 .*")));
    EXPECT_GE(signUp, 0);
    EXPECT_LT(signUp, start);
    EXPECT_EQ(trace.filter(QRegularExpression(QStringLiteral("^IN seat=0 kind=72 "))).size(), 1);
}
