// The built client as a spectator: started with a spectator's command line
// against the local table server, it watches four robots play a whole hand
// and takes every frame of it, to the settlement, without a failure.
#include "support/processes.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <optional>

using namespace testing_support;

namespace {

struct Traced {
    QString direction; // "OUT" or "IN"
    int kind = 0;
    QString token;
    QString fields;
};

// "OUT seat=4 kind=17 hdr=... token=1A2B | ..." of the spectator's connection.
std::optional<Traced> SpectatorLine(const QString& line)
{
    static const QRegularExpression kLine(
        QStringLiteral("^(OUT|IN) seat=4 kind=(\\d+) .* token=([0-9A-Fa-f]{4}) \\|(.*)$"));
    const QRegularExpressionMatch m = kLine.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    return Traced{m.captured(1), m.captured(2).toInt(), m.captured(3).toUpper(), m.captured(4)};
}

} // namespace

// Seed 34: the first hand has single-tile kongs of red and green dragons and
// ends in a win. About 15 s.
TEST(SpectatorEndToEnd, ASpectatorWatchesAWholeHandOfFourRobots)
{
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("34"),
                    QStringLiteral("--robot-wait"), QStringLiteral("0"), QStringLiteral("--robot-delay"),
                    QStringLiteral("100"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    // Five fields and the watched user id: seat 0 (user id 1000). The key
    // "watch" makes the login a spectator's.
    const QString line = QStringLiteral("watcher$watch$127.0.0.1$%1$本地$1000").arg(port);
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    env.insert(QStringLiteral("MJCLIENT_SCREEN"), QStringLiteral("1024x768"));
    Program client(QStringLiteral(MJ_CLIENT_PROGRAM), {line}, env);

    // The first hand ends on the server: its last settlement frame for the
    // spectator is the end of what the client must take.
    const bool ended = WaitFor(
        [&] {
            const QString all = server.Lines().join('\n');
            return all.contains(QLatin1String("hand won")) || all.contains(QLatin1String("hand drawn"));
        },
        60000);
    ASSERT_TRUE(ended) << server.Lines().join('\n').toStdString();
    QStringList sent; // tokens of the frames sent to the spectator, in order
    int lastSettlement = -1;
    int draws = 0, discards = 0, operations = 0, deals = 0;
    bool handOver = false;
    for (const QString& l : server.Lines()) {
        if (l.contains(QStringLiteral("hand won")) || l.contains(QStringLiteral("hand drawn")))
            handOver = true;
        const std::optional<Traced> t = SpectatorLine(l);
        if (!t || t->direction != QStringLiteral("OUT"))
            continue;
        sent << t->token;
        if (handOver)
            continue;
        deals += t->kind == 1;
        draws += t->kind == 5;
        discards += t->kind == 2;
        operations += t->kind == 7 && t->fields.contains(QLatin1String(" op=64 "));
        if (t->kind == 17)
            lastSettlement = static_cast<int>(sent.size()) - 1;
    }
    ASSERT_GE(lastSettlement, 0);
    EXPECT_EQ(deals, 1);
    EXPECT_GT(draws, 13);
    EXPECT_GT(discards, 8);
    EXPECT_GE(operations, 1);

    // The client's keep-alive carries the token of the last frame it took:
    // wait until it has taken the whole hand.
    const bool caughtUp = WaitFor(
        [&] {
            QStringList out;
            for (const QString& l : server.Lines()) {
                const std::optional<Traced> t = SpectatorLine(l);
                if (!t)
                    continue;
                if (t->direction == QStringLiteral("OUT"))
                    out << t->token;
                else if (out.lastIndexOf(t->token) >= lastSettlement)
                    return true;
            }
            return false;
        },
        60000);
    EXPECT_TRUE(caughtUp) << client.Lines().join('\n').toStdString();
    EXPECT_EQ(client.Process().state(), QProcess::Running) << client.Lines().join('\n').toStdString();
    for (const QString& l : client.Lines()) {
        // The dispatcher's failure path names the frame kind it failed in.
        EXPECT_FALSE(l.contains(QLatin1String("frame kind"))) << l.toStdString();
    }
    for (const QString& l : server.Lines()) {
        if (l.contains(QLatin1String("seat=4"))) {
            for (const char* bad : {"refused", "dropped", "disconnected"})
                EXPECT_FALSE(l.contains(QLatin1String(bad))) << l.toStdString();
        }
    }
}
