// The built client, started by the stand-in lobby and played by the mouse,
// against the table server's hand rewards: right after the score sheet of
// each preset hand of `robot_win` the server tells the player of a lottery
// prize and a jade reward. The client shows the jade reward, then the lottery
// roll, then the score window, and only then asks for the next hand.
//
// The sequence is watched through the ready command it sends. Once the
// client has archived the hand's score sheet (the rewards are the next
// frame), the player presses the start button while the jade reward is on
// show: the client then runs the rest of the sequence in steps 2 s apart (the
// lottery result, the score window) and sends the ready command 2 s after the
// last step, so about 6 s after the press. Without the rewards only the score window would be
// left, and the ready would follow after about 4 s. After the second hand the
// player leaves the table while the jade reward is on show: no ready command
// goes out after the leave.
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
const QRegularExpression kLeave(QStringLiteral("^IN seat=0 kind=16 .* leave "));
const QRegularExpression kRewards(QStringLiteral("^OUT seat=0 kind=95 .* prize-notice mode=7 text=0;5000;0;12$"));
const QRegularExpression kScoreSheet(QStringLiteral("^OUT seat=0 kind=17 "));

void Pause(int ms)
{
    WaitFor([] { return false; }, ms);
}

} // namespace

TEST(RewardsEndToEnd, JadeAndLotteryComeBeforeTheScoreWindowAndTheReadyOnlyWhileSeated)
{
    const TableSpots spots = TableSpotsOnTheScreen();
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--preset"),
                    QStringLiteral(TABLESERVER_PRESETS "/robot_win.preset"), QStringLiteral("--robot-wait"),
                    QStringLiteral("0"), QStringLiteral("--robot-delay"), QStringLiteral("6000"),
                    QStringLiteral("--rewards"), QStringLiteral("1"), QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    // The robots take 6 s for every move and for their ready: once the three
    // of them are ready the client clears the table and its start button
    // does nothing more, so they must not be ready before the press.
    // The client draws on a VNC screen of its own; the player is not hosted,
    // so its own ready countdown is 15 s and longer than the sequence.
    const int vncPort = FreePort();
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    const QString archive = env.value(QStringLiteral("MJCLIENT_DATA_DIR")) + QStringLiteral("/info.zq");
    const std::unique_ptr<Program> lobbyRun = LobbyWithClientOnVnc(port, vncPort, env);
    Program& lobby = *lobbyRun;
    RfbInput mouse;
    ASSERT_TRUE(mouse.Connect(vncPort, 15000)) << lobby.Lines().join('\n').toStdString();
    const auto tail = [&] { return LastLines(server); };

    // Hand 1 ends after two robot moves (a robot wins on the banker's first
    // discard); the rewards follow the sixteen frames of the score sheet.
    ASSERT_TRUE(WaitFor([&] { return LineIndex(server.Lines(), kRewards) >= 0; }, 60000)) << tail();
    QElapsedTimer sinceRewards;
    sinceRewards.start();
    {
        const QStringList t = server.Lines();
        const int rewards = LineIndex(t, kRewards);
        ASSERT_GE(rewards, 1);
        EXPECT_TRUE(kScoreSheet.match(t[rewards - 1]).hasMatch()) << t[rewards - 1].toStdString();
        EXPECT_EQ(t.filter(kScoreSheet).size(), 16);
    }

    // The client takes the score sheet (it archives it in its data folder)
    // and the rewards right after it, and shows the jade reward for 5 s.
    // Meanwhile it sends no ready; the player presses the start button.
    ASSERT_TRUE(WaitFor([&] { return FileBytes(archive).contains("[juNum:1]\r\n"); }, 30000)) << tail();
    Pause(1500);
    EXPECT_LT(LineIndex(server.Lines(), kReady), 0) << tail();
    QElapsedTimer sincePress;
    sincePress.start();
    mouse.Click(spots.start);
    const bool readied = WaitFor([&] { return LineIndex(server.Lines(), kReady) >= 0; }, 20000);
    const qint64 readyAfter = sincePress.elapsed();
    ASSERT_TRUE(readied) << tail();
    RecordProperty("ready_after_press_ms", static_cast<int>(readyAfter));
    // The lottery result at 2 s, the score window at 4 s, the ready at 6 s.
    EXPECT_GE(readyAfter, 5500) << "the ready came too early: the rewards were skipped";
    EXPECT_LE(readyAfter, 9000) << "the ready came from the countdown: the press was not taken";

    // Hand 2 (a robot's self-drawn win) ends with the rewards as well; while
    // the jade reward is on show the player leaves the table.
    const int firstRewards = LineIndex(server.Lines(), kRewards);
    ASSERT_TRUE(WaitFor([&] { return LineIndex(server.Lines(), kRewards, firstRewards + 1) >= 0; }, 60000))
        << tail();
    ASSERT_TRUE(WaitFor([&] { return FileBytes(archive).contains("[juNum:2]\r\n"); }, 30000)) << tail();
    Pause(1500);
    mouse.Click(spots.exit);
    Pause(500);
    mouse.Click(spots.confirm);
    ASSERT_TRUE(WaitFor([&] { return LineIndex(server.Lines(), kLeave) >= 0; }, 10000)) << tail();
    // The lobby closes the client once it left; then nothing more can come.
    ASSERT_TRUE(lobby.WaitForLine(QStringLiteral("closing the client"), 10000))
        << lobby.Lines().join('\n').toStdString();
    ASSERT_TRUE(lobby.WaitForExit(10000)) << lobby.Lines().join('\n').toStdString();
    Pause(500);

    // One ready in all: the one after hand 1's sequence, while seated.
    const QStringList trace = server.Lines();
    const int leave = LineIndex(trace, kLeave);
    const int ready = LineIndex(trace, kReady);
    EXPECT_EQ(trace.filter(kReady).size(), 1) << tail();
    EXPECT_GT(ready, firstRewards);
    EXPECT_LT(ready, leave);
    EXPECT_LT(LineIndex(trace, kReady, leave), 0);
    for (const QString& l : trace)
        EXPECT_FALSE(l.contains(QStringLiteral("refused")) || l.contains(QStringLiteral("dropped"))) << l.toStdString();
}
