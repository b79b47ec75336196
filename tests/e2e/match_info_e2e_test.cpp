// The built client against the table server that serves our sample
// match-info document on loopback: after the login the server announces the
// document (kind 80), the client fetches it over HTTP, checks its MD5 and
// replaces the stale copy in its data folder with it.
#include "support/processes.h"
#include "screen_client.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(MatchInfoEndToEnd, TheClientFetchesTheAnnouncedDocumentAndReplacesItsStaleCopy)
{
    const QByteArray sample = FileBytes(QStringLiteral(TABLESERVER_MATCH_INFO));
    ASSERT_FALSE(sample.isEmpty());
    const QString md5 = QString::fromLatin1(QCryptographicHash::hash(sample, QCryptographicHash::Md5).toHex());

    QTemporaryDir runtime;
    const QString folder = runtime.path() + QStringLiteral("/data/matches");
    const QString stored = folder + QStringLiteral("/matches.xml");
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        QFile stale(stored);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("<old/>");
    }

    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--robot-wait"), QStringLiteral("60"),
                    QStringLiteral("--match-info"), QStringLiteral(TABLESERVER_MATCH_INFO), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("match-info document http://127.0.0.1:"), 5000));
    const QString out = server.Lines().join('\n');
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());
    EXPECT_TRUE(out.contains(QStringLiteral("md5=") + md5));

    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$0$E2E Lobby$Table$0$0$").arg(port);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClient(line, IsolatedEnvironment(runtime));
    Program& lobby = *lobbyRun;

    EXPECT_TRUE(server.WaitForLine(QStringLiteral("OUT seat=0 kind=80 "), 20000));
    EXPECT_TRUE(server.WaitForLine(QStringLiteral("NOTE seat=- http GET /matches.xml"), 20000));
    EXPECT_TRUE(WaitFor([&] { return FileBytes(stored) == sample; }, 20000)) << FileBytes(stored).left(80).toStdString();
    // Only the document is left in the folder: the download target is gone.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("matches.xml")});
    // The client stays at its table.
    EXPECT_EQ(lobby.Process().state(), QProcess::Running);

    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
}
