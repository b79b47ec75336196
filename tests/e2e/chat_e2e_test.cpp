// Chat across the local table server: two clients of this program at one
// table, each over its own TCP connection. A line typed into one client's
// chat box goes to the server, which relays it to the table, and shows in
// the other client's chat history.
#include "support/processes.h"
#include "support/test_client.h"

#include "chat/talk_form.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "core/table_reset.h"
#include "core/startup.h"
#include "platform/tcp_link.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A client over the test doubles whose socket's bytes cross a real
// connection to the server; the test runs its scheduler. It is a client for
// the chat only: the hand the server starts around it is not followed (its
// table was never started up), and the test does not look at it.
struct WiredClient {
    TestClient t;
    Client& c = t.client;
    QTcpSocket socket;

    WiredClient(const QString& name, int port)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
        EXPECT_TRUE(socket.waitForConnected(5000));
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { t.tcp.Arrive(socket.readAll()); });
        // The table laid out and cleared, as at start-up.
        window::LayoutTableControls(c);
        core::ClearTableTiles(c);
        core::ResetTableDisplay(c);
        core::ResetPlayerState(c);
        c.core.UserName = name.toLatin1();
        c.core.UserKey = QByteArrayLiteral("key");
        core::BuildLoginFrame(c);
        core::ResetRings(c);
        t.tcp.state = platform::TcpLink::Connected;
        c.core.SchedLogin.Start();
    }
    // One scheduler tick; what the client wrote goes to the server.
    void Tick()
    {
        core::TimerBong_Timer(c);
        if (!t.tcp.sent.isEmpty()) {
            socket.write(t.tcp.sent);
            t.tcp.sent.clear();
        }
    }
    QString History() const
    {
        QStringList lines;
        for (int i = 0; i < c.Talk->Text1->ListCount(); ++i)
            lines << c.Talk->Text1->List(i);
        return lines.join(QString());
    }
};

} // namespace

TEST(ChatEndToEnd, ALineTypedInOneClientReachesTheOthersHistory)
{
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--robot-wait"),
                    QStringLiteral("1"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const int port = TableServerPort(server).toInt();
    ASSERT_GT(port, 0);

    WiredClient alice(QStringLiteral("alice"), port);
    WiredClient bob(QStringLiteral("bob"), port);
    auto run = [&](const std::function<bool()>& done) {
        return WaitFor(
            [&] {
                alice.Tick();
                bob.Tick();
                return done();
            },
            10000);
    };
    // Both seated and named: each sees the other's nickname.
    ASSERT_TRUE(run([&] {
        return alice.c.game.InputEnabled == -1 && bob.c.game.InputEnabled == -1 &&
               !alice.c.game.UserInfos[3].Nickname.isEmpty() && !bob.c.game.UserInfos[1].Nickname.isEmpty();
    })) << server.Lines().join('\n').toStdString();

    // Alice types a line and presses Enter in her chat box.
    window::MainForm& f = *alice.c.MainForm;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    alice.c.chat.ChatAllowed = -1;
    f.Chat->setFocus();
    QTest::keyClicks(f.Chat, QStringLiteral("hello all"));
    QTest::keyClick(f.Chat, Qt::Key_Return);
    f.hide();

    const QString line = QStringLiteral("alice说道: hello all");
    EXPECT_TRUE(run([&] { return bob.History().contains(line); }))
        << bob.History().toStdString() << "\n" << server.Lines().join('\n').toStdString();
    // Her own line comes back to her as hers.
    EXPECT_TRUE(run([&] { return alice.History().contains(QStringLiteral("你说道: hello all")); }))
        << alice.History().toStdString();
}
