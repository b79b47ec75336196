// The built client, started by the stand-in lobby in hosted play, plays the
// preset game `client_win` against the table server: it declares the win of
// both preset hands itself. While it still sits at the table (the server
// plays a third hand), the hand archive "info.zq" in its data folder holds a
// section per hand with the four players' names and, in each seat's column,
// the total the server settled for that seat.
#include "support/processes.h"
#include "screen_client.h"

#include "platform/gbk.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using Section = QHash<QString, QString>;

// The keys of section `name` in the INI bytes (GBK, CR LF lines).
Section ReadSection(const QByteArray& file, const QString& name)
{
    Section out;
    bool inside = false;
    for (QByteArray line : file.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            inside = platform::gbk::Decode(line) == QLatin1Char('[') + name + QLatin1Char(']');
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (inside && eq > 0)
            out.insert(platform::gbk::Decode(line.left(eq)), platform::gbk::Decode(line.mid(eq + 1)));
    }
    return out;
}

// The lines of list `j` of a section, in order.
QStringList Items(const Section& s, int j)
{
    QStringList out;
    bool ok = false;
    const int count = s.value(QStringLiteral("count( %1 )").arg(j)).toInt(&ok);
    if (!ok)
        return {QStringLiteral("<no count>")};
    for (int k = 0; k < count; ++k)
        out << s.value(QStringLiteral("count( %1 )( %2 )").arg(j).arg(k), QStringLiteral("<missing>"));
    return out;
}

// What the trace says about the seats: the name at each seat bit, and the
// amount each seat bit was settled per hand.
struct Settled {
    QMap<int, QString> names;                // seat bit -> login name
    QList<QMap<int, qint64>> amounts;        // per hand: seat bit -> amount
    QStringList winners;                     // per hand: "seat=N hand won" or "hand drawn"
};

Settled ReadTrace(const QStringList& trace)
{
    static const QRegularExpression kName(QStringLiteral("^OUT seat=0 kind=3 .*seatname bit=(\\d+) name=(\\S+)"));
    static const QRegularExpression kResult(
        QStringLiteral("^OUT seat=0 kind=9 .*result bit=(\\d+) amount=(-?\\d+) "));
    static const QRegularExpression kEnd(QStringLiteral("^NOTE seat=(\\S+) (hand won|hand drawn)"));
    Settled out;
    QMap<int, qint64> hand;
    for (const QString& l : trace) {
        if (const auto m = kName.match(l); m.hasMatch())
            out.names.insert(m.captured(1).toInt(), m.captured(2));
        if (const auto m = kResult.match(l); m.hasMatch())
            hand.insert(m.captured(1).toInt(), m.captured(2).toLongLong());
        if (const auto m = kEnd.match(l); m.hasMatch()) {
            out.amounts << hand;
            out.winners << QStringLiteral("seat=%1 %2").arg(m.captured(1), m.captured(2));
            hand.clear();
        }
    }
    return out;
}

// The name the client shows for a login name: robots have a nickname of
// their own.
QString Nickname(const QString& login)
{
    static const QRegularExpression kRobot(QStringLiteral("^robot(\\d)$"));
    if (const auto m = kRobot.match(login); m.hasMatch())
        return QStringLiteral("机器人") + m.captured(1);
    return login;
}

} // namespace

TEST(HandResultsEndToEnd, TheArchiveHoldsEachHandWithTheNamesAndTheSettledTotals)
{
    QTemporaryDir runtime;
    // Three hands: the client is still at the table while the third is
    // played, so its archive is read before it leaves (leaving deletes it).
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--preset"),
                    QStringLiteral(TABLESERVER_PRESETS "/client_win.preset"), QStringLiteral("--hands"),
                    QStringLiteral("3"), QStringLiteral("--robot-wait"), QStringLiteral("0"),
                    QStringLiteral("--robot-delay"), QStringLiteral("0"), QStringLiteral("--countdown"),
                    QStringLiteral("2"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    const QProcessEnvironment env = IsolatedEnvironment(runtime);
    const QString archive = env.value(QStringLiteral("MJCLIENT_DATA_DIR")) + QStringLiteral("/info.zq");
    // Field 11 = 1: hosted play, the client plays by itself.
    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$1$E2E Lobby$Table$0$0$").arg(port);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, env);
    Program& lobby = *lobbyRun;

    // Both preset hands settled, and the second one's sheet archived (the
    // file is replaced as a whole, so a section that is there is complete).
    const auto handsEnded = [&server] {
        return server.Lines().filter(QRegularExpression(QStringLiteral("^NOTE seat=\\S+ hand (won|drawn)"))).size();
    };
    const bool settled = WaitFor([&] { return handsEnded() >= 2; }, 90000);
    const bool archived = settled && WaitFor([&] { return FileBytes(archive).contains("[juNum:2]\r\n"); }, 10000);
    const QByteArray file = FileBytes(archive);
    const QStringList trace = server.Lines();
    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
    const std::string tail = trace.mid(std::max<qsizetype>(0, trace.size() - 40)).join('\n').toStdString();
    ASSERT_TRUE(settled) << tail;
    ASSERT_TRUE(archived) << tail;

    for (const QString& l : trace)
        EXPECT_FALSE(l.contains(QStringLiteral("refused")) || l.contains(QStringLiteral("dropped"))) << l.toStdString();

    // The client declared both wins itself, as the preset has it.
    const Settled s = ReadTrace(trace);
    ASSERT_GE(s.winners.size(), 2);
    EXPECT_EQ(s.winners.mid(0, 2), (QStringList{QStringLiteral("seat=0 hand won"), QStringLiteral("seat=0 hand won")}));
    EXPECT_EQ(trace.filter(QRegularExpression(QStringLiteral("^IN seat=0 kind=7 .* op=128 "))).size(), 2);
    // Hand 1: seat 3 pays 20 for its discard; hand 2: self-drawn, 30 from each.
    EXPECT_EQ(s.amounts[0], (QMap<int, qint64>{{1, 20}, {2, 0}, {4, 0}, {8, -20}}));
    EXPECT_EQ(s.amounts[1], (QMap<int, qint64>{{1, 90}, {2, -30}, {4, -30}, {8, -30}}));
    ASSERT_EQ(s.names.size(), 4);

    for (int hand = 1; hand <= 2; ++hand) {
        SCOPED_TRACE(hand);
        const Section section = ReadSection(file, QStringLiteral("juNum:%1").arg(hand));
        ASSERT_FALSE(section.isEmpty());
        const QMap<int, qint64>& amounts = s.amounts[hand - 1];

        // The four names, each once, the local player's first.
        QMap<QString, int> bitOf; // shown name -> seat bit
        for (auto it = s.names.cbegin(); it != s.names.cend(); ++it)
            bitOf.insert(Nickname(it.value()), it.key());
        QStringList names;
        for (int i = 0; i < 4; ++i)
            names << section.value(QStringLiteral("name( %1 )").arg(i));
        EXPECT_EQ(names[0], QStringLiteral("alice"));
        QStringList sorted = names;
        sorted.sort();
        EXPECT_EQ(sorted, bitOf.keys());

        // Each seat's column and its history line end with the amount the
        // server settled for the seat shown at that column.
        for (int i = 0; i < 4; ++i) {
            const int bit = bitOf.value(names[i], -1);
            ASSERT_TRUE(amounts.contains(bit)) << names[i].toStdString();
            const QString total = QStringLiteral("最终分：%1金币").arg(amounts.value(bit));
            const QStringList column = Items(section, i);
            EXPECT_EQ(column.filter(QRegularExpression(QStringLiteral("^最终分："))), QStringList{total})
                << column.join('|').toStdString();
            EXPECT_TRUE(column.contains(QStringLiteral("总分：%1金币").arg(amounts.value(bit))))
                << column.join('|').toStdString();
            EXPECT_EQ(Items(section, i + 4), QStringList{total});
        }
    }
}
