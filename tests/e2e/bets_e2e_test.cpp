// The built client against the table server with goods: after the login the
// server sends the bag of ten cigarettes, the client answers with its
// default bet of one, the server takes that bet at the start of the hand and
// reports the new stock; between hands the player opens the purchase panel on
// the betting strip and buys one cigarette, which the server pays with coins
// and reports back with the new stock and the coins left.
#include "support/mouse.h"
#include "support/processes.h"
#include "screen_client.h"
#include "support/rfb_client.h"
#include "support/table_fixture.h"

#include "core/startup.h"
#include "rewards/chip_panel.h"
#include "window/layout.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Where the player clicks on a 1024 x 768 screen, from the client's own
// layout: the purchase button on the strip and the buy button of the panel.
struct BuySpots {
    QPoint openPanel, buy;
};

BuySpots SpotsOnTheScreen()
{
    TableClient probe;
    core::SizeWindow(probe.c, QSize(1024, 768));
    window::LayoutTableControls(probe.c);
    rewards::InitChipPanel(probe.c);
    const rewards::BetsState& b = probe.c.rewards.Bets;
    const auto centre = [&](const platform::GraphicControl& control, const QWidget* panel) {
        return probe.f.pic1->pos() + panel->pos() + CentreOf(control);
    };
    return {centre(b.Img_buy_bt, b.Pic_prize), centre(b.Img_buy_buy_bt, b.Pic_buy)};
}

} // namespace

TEST(BetsEndToEnd, TheBetAndAPurchaseChangeTheWalletTheServerReports)
{
    const BuySpots spots = SpotsOnTheScreen();
    QTemporaryDir runtime;
    Program server(QStringLiteral(MJ_TABLESERVER_PROGRAM),
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--preset"),
                    QStringLiteral(TABLESERVER_PRESETS "/robot_win.preset"), QStringLiteral("--robot-wait"),
                    QStringLiteral("3"), QStringLiteral("--robot-delay"), QStringLiteral("200"),
                    QStringLiteral("--match-info"), QStringLiteral(TABLESERVER_MATCH_INFO), QStringLiteral("--goods"),
                    QStringLiteral("--trace")},
                   QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("match-info document http://127.0.0.1:"), 5000));
    const QString port = TableServerPort(server);
    ASSERT_FALSE(port.isEmpty());

    const int vncPort = FreePort();
    QProcessEnvironment env = IsolatedEnvironment(runtime);
    const std::unique_ptr<Program> lobbyRun = LobbyWithClientOnVnc(port, vncPort, env);
    Program& lobby = *lobbyRun;
    RfbInput mouse;
    ASSERT_TRUE(mouse.Connect(vncPort, 15000)) << lobby.Lines().join('\n').toStdString();
    const auto tail = [&] { return LastLines(server); };

    // The bag, and the default bet the client sends for it.
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("OUT seat=0 kind=85 "), 20000)) << tail();
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("bet 1 cigarettes a hand"), 20000)) << tail();
    // The hand takes the bet: the stock the server reports drops to 9.
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("staked 1 cigarettes"), 30000)) << tail();
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("OUT seat=0 kind=86 "), 5000)) << tail();

    // Between hands the player buys one cigarette at 20 coins: the panel opens
    // from the strip with a quantity of 1, and its buy button sends it.
    ASSERT_TRUE(server.WaitForLine(QStringLiteral("hand won"), 60000)) << tail();
    static const QRegularExpression kBought(QStringLiteral("bought 1 cigarettes, coins=(\\d+)"));
    const auto bought = [&] { return kBought.match(server.Lines().join('\n')); };
    const bool done = WaitFor(
        [&] {
            if (bought().hasMatch())
                return true;
            mouse.Click(spots.openPanel);
            WaitFor([] { return false; }, 300);
            mouse.Click(spots.buy);
            return WaitFor([&] { return bought().hasMatch(); }, 700);
        },
        15000);
    ASSERT_TRUE(done) << tail();
    // The coins before the purchase are the starting 10000 plus the hand's
    // result; the server reports the stock (9 + 1) and the coins left.
    bool stockSent = false, coinsSent = false;
    const auto reported = [&] {
        const QStringList lines = server.Lines();
        int boughtAt = -1;
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(kBought))
                boughtAt = i;
        for (int i = boughtAt + 1; boughtAt >= 0 && i < lines.size(); ++i) {
            stockSent = stockSent || lines[i].startsWith(QStringLiteral("OUT seat=0 kind=86 "));
            coinsSent = coinsSent || lines[i].startsWith(QStringLiteral("OUT seat=0 kind=20 "));
        }
        return stockSent && coinsSent;
    };
    EXPECT_TRUE(WaitFor(reported, 5000)) << tail();
    EXPECT_TRUE(stockSent);
    EXPECT_TRUE(coinsSent);
    EXPECT_EQ(lobby.Process().state(), QProcess::Running);

    lobby.Write("quit\n");
    lobby.WaitForExit(5000);
}
