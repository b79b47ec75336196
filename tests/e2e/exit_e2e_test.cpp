// The built client, started by the stand-in lobby and played by the mouse:
// the client runs on Qt's VNC platform, and the test clicks like a player
// through a small RFB pointer client. After a hand of the preset game
// `robot_win` the start button sends the ready command, which the table
// server sees; then the exit button's dialog leaves the table: the server
// sees the leave frame, the lobby hears that the client left and closes it.
#include "support/processes.h"
#include "support/table_fixture.h"

#include "core/exit_windows.h"
#include "core/startup.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The pointer side of an RFB (VNC) viewer: enough to move the mouse and
// press its left button on the client's screen.
class PointerClient {
public:
    bool Connect(int port, int timeoutMs)
    {
        return WaitFor(
            [&] {
                socket_.abort();
                socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
                return socket_.waitForConnected(200) && Handshake();
            },
            timeoutMs);
    }

    void Click(QPoint at)
    {
        Pointer(at, 0);
        Pointer(at, 1);
        Pointer(at, 0);
    }

private:
    QByteArray Read(int n)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < n && timer.elapsed() < 3000) {
            if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(100))
                continue;
            out += socket_.read(n - out.size());
        }
        return out;
    }

    bool Handshake()
    {
        const QByteArray version = Read(12);
        if (!version.startsWith("RFB 003."))
            return false;
        const bool v33 = version < QByteArray("RFB 003.007\n");
        socket_.write(v33 ? QByteArray("RFB 003.003\n") : QByteArray("RFB 003.008\n"));
        if (v33) {
            const QByteArray type = Read(4);
            if (type.size() != 4 || qFromBigEndian<quint32>(type.constData()) != 1)
                return false;
        } else {
            const QByteArray count = Read(1);
            if (count.size() != 1 || count[0] == 0)
                return false;
            if (!Read(static_cast<uint8_t>(count[0])).contains('\x01'))
                return false;
            socket_.write(QByteArray(1, '\x01'));
            const QByteArray result = Read(4);
            if (result.size() != 4 || qFromBigEndian<quint32>(result.constData()) != 0)
                return false;
        }
        socket_.write(QByteArray(1, '\x01')); // shared
        const QByteArray init = Read(24);
        if (init.size() != 24)
            return false;
        Read(static_cast<int>(qFromBigEndian<quint32>(init.constData() + 20)));
        return true;
    }

    void Pointer(QPoint at, uint8_t buttons)
    {
        char rec[6] = {5, static_cast<char>(buttons)};
        qToBigEndian<quint16>(static_cast<quint16>(at.x()), rec + 2);
        qToBigEndian<quint16>(static_cast<quint16>(at.y()), rec + 4);
        socket_.write(rec, sizeof rec);
        socket_.flush();
        WaitFor([] { return false; }, 60);
    }

    QTcpSocket socket_;
};

// Where the player clicks on a 1024 x 768 screen, taken from the client's
// own layout: the table window lies at the screen's corner.
struct ScreenSpots {
    QPoint start, exit, confirm;
};

ScreenSpots SpotsOnTheScreen()
{
    TableClient probe;
    core::SizeWindow(probe.c, QSize(1024, 768));
    window::LayoutTableControls(probe.c);
    const auto centre = [&](const platform::GraphicControl& b) {
        return probe.f.pic1->pos() + QPoint(static_cast<int>(b.Left + b.Width / 2), static_cast<int>(b.Top + b.Height / 2));
    };
    ScreenSpots s{centre(probe.f.AnNiu[2]), centre(probe.f.AnNiu[8]), {}};
    core::OpenExitWindow(probe.c);
    const core::ExitForm& d = *probe.c.frmExit;
    s.confirm = d.pos() + d.pbCloseMe.PaintRect().center().toPoint();
    probe.c.frmExit->hide();
    return s;
}

const QRegularExpression kReady(QStringLiteral("^IN seat=0 kind=16 .* ready "));

int LineIndex(const QStringList& lines, const QRegularExpression& re, int from = 0)
{
    for (int i = from; i < lines.size(); ++i)
        if (re.match(lines[i]).hasMatch())
            return i;
    return -1;
}

} // namespace

TEST(ExitEndToEnd, StartButtonReadiesAndTheExitDialogLeavesTheTable)
{
    const ScreenSpots spots = SpotsOnTheScreen();
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--preset"),
                    QStringLiteral(TABLESERVER_PRESETS "/robot_win.preset"), QStringLiteral("--robot-wait"),
                    QStringLiteral("0"), QStringLiteral("--robot-delay"), QStringLiteral("200"),
                    QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("tableserver listening on"), 5000));
    static const QRegularExpression kPort(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    const QString port = kPort.match(server.Lines().join('\n')).captured(1);
    ASSERT_FALSE(port.isEmpty());

    // The client draws on a VNC screen of its own; the player is not hosted.
    const int vncPort = FreePort();
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("vnc:size=1024x768:port=%1").arg(vncPort));
    const QString line = QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$0$E2E Lobby$Table$0$0$").arg(port);
    Program lobby(QStringLiteral(MJ_LOBBY_PROGRAM),
                  {QStringLiteral("--title"), QStringLiteral("E2E Lobby"), QStringLiteral("--title"),
                   QStringLiteral("Olvenhall"), QStringLiteral("--client"), QStringLiteral(MJ_CLIENT_PROGRAM),
                   QStringLiteral("--screen"), QStringLiteral("1024x768"), QStringLiteral("--"), line},
                  env);
    PointerClient mouse;
    ASSERT_TRUE(mouse.Connect(vncPort, 15000)) << lobby.Lines().join('\n').toStdString();

    // The first preset hand ends at once: a robot wins on the banker's
    // first discard.
    const auto tail = [&] {
        const QStringList t = server.Lines();
        return t.mid(std::max<qsizetype>(0, t.size() - 30)).join('\n').toStdString();
    };
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("hand won"), 60000)) << tail();
    QElapsedTimer sinceHandEnd;
    sinceHandEnd.start();
    static const QRegularExpression kHandWon(QStringLiteral("^NOTE .*hand won"));
    const int handEnd = LineIndex(server.Lines(), kHandWon);
    ASSERT_GE(handEnd, 0);
    const auto readyLine = [&] { return LineIndex(server.Lines(), kReady, handEnd); };

    // The start button readies the player. The client's own countdown
    // would send the ready only after 15 s, so a ready within 10 s of the
    // hand's end comes from the click. The button does nothing until the
    // client has taken the score sheet, so the player clicks again.
    const bool readied = WaitFor(
        [&] {
            if (readyLine() >= 0)
                return true;
            mouse.Click(spots.start);
            return WaitFor([&] { return readyLine() >= 0; }, 400);
        },
        10000);
    ASSERT_TRUE(readied) << tail();
    EXPECT_LT(sinceHandEnd.elapsed(), 12000);

    // The second preset hand ends at once too (a robot wins on its own
    // draw). Between hands the exit button opens the dialog in the middle
    // of the table, and its confirm button leaves the table.
    ASSERT_TRUE(WaitFor([&] { return LineIndex(server.Lines(), kHandWon, handEnd + 1) >= 0; }, 60000)) << tail();
    WaitFor([] { return false; }, 1500);
    static const QRegularExpression kLeave(QStringLiteral("^IN seat=0 kind=16 .* leave "));
    mouse.Click(spots.exit);
    WaitFor([] { return false; }, 500);
    mouse.Click(spots.confirm);
    ASSERT_TRUE(WaitFor([&] { return LineIndex(server.Lines(), kLeave) >= 0; }, 10000)) << tail();
    EXPECT_TRUE(server.WaitForLine(QStringLiteral("left the table"), 5000));

    // The lobby is brought back, hears that the client left, and closes
    // it; the client ends by itself and the lobby with it.
    ASSERT_TRUE(lobby.WaitForLine(QStringLiteral("message 0x400 Olvenhall"), 10000))
        << lobby.Lines().join('\n').toStdString();
    EXPECT_TRUE(lobby.WaitForLine(QStringLiteral("closing the client"), 5000));
    ASSERT_TRUE(lobby.WaitForExit(10000)) << lobby.Lines().join('\n').toStdString();
    const QStringList lines = lobby.Lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("syscommand restore Olvenhall")));
    EXPECT_TRUE(lines.contains(QStringLiteral("exited 0"))) << lines.join('\n').toStdString();
}
