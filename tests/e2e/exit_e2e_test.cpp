// The built client, started by the stand-in lobby and played by the mouse:
// the client runs on Qt's VNC platform, and the test clicks like a player
// through a small RFB pointer client. After a hand of the preset game
// `robot_win` the start button sends the ready command, which the table
// server sees; then the exit button's dialog leaves the table: the server
// sees the leave frame, the lobby hears that the client left and closes it.
#include "support/processes.h"
#include "support/rfb_client.h"
#include "screen_client.h"

#include "core/exit_windows.h"
#include "core/startup.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QRegularExpression kReady(QStringLiteral("^IN seat=0 kind=16 .* ready "));

} // namespace

TEST(ExitEndToEnd, StartButtonReadiesAndTheExitDialogLeavesTheTable)
{
    const TableSpots spots = TableSpotsOnTheScreen();
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--preset"),
                    QStringLiteral(TABLESERVER_PRESETS "/robot_win.preset"), QStringLiteral("--robot-wait"),
                    QStringLiteral("0"), QStringLiteral("--robot-delay"), QStringLiteral("200"),
                    QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    // The client draws on a VNC screen of its own; the player is not hosted.
    const int vncPort = FreePort();
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClientOnVnc(port, vncPort, env);
    Program& lobby = *lobbyRun;
    RfbInput mouse;
    ASSERT_TRUE(mouse.Connect(vncPort, 15000)) << lobby.Lines().join('\n').toStdString();

    // The first preset hand ends at once: a robot wins on the banker's
    // first discard.
    const auto tail = [&] { return LastLines(server, 30); };
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
