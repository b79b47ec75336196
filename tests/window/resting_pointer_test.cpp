// Discard clicks of a player whose pointer rests where the drawn tile
// appears, over several hands of the table server's game: every frame the
// server sends seat 0 goes through the client's scheduler and dispatcher,
// and the clicks are real Qt mouse events on the shown window.
#include "support/mouse.h"
#include "app/client.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "support/table_fixture.h"
#include "table.h"
#include "window/main_form.h"

#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

using testing_support::TableClient;

namespace {

class RestingPointerGame {
public:
    explicit RestingPointerGame(uint64_t seed, int hands) : server_(Config(seed, hands))
    {
        Client& c = table.c;
        c.game.Players[0].Name = "me";
        c.core.UserName = "me";
        c.window.Sound.SoundOn = 0;
        server_.Login("me", 0);
        table.f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&table.f));
    }
    ~RestingPointerGame() { table.f.hide(); }

    // Plays until the server has finished its hands, calling onDiscardDue
    // once at each of the client's turns to discard; false when the game did
    // not finish or the client ended.
    bool Play(const std::function<void()>& onDiscardDue)
    {
        Client& c = table.c;
        for (int step = 0; step < 200000 && !server_.Finished(); ++step) {
            server_.Advance(now_);
            for (const auto& out : server_.TakeOutgoing())
                if (out.seat == 0)
                    core::RecvRingAppend(c, out.frame.data(), protocol::kFrameSize);
            table.t.clock.Advance(core::kTickMs);
            core::TimerBong_Timer(c);
            if (c.table.DiscardDue && !waiting_) {
                waiting_ = true;
                onDiscardDue();
            }
            if (!c.table.DiscardDue)
                waiting_ = false;
            for (const protocol::GameFrame& f : TakeSent())
                server_.ClientFrame(0, f, now_);
            for (const auto& note : server_.TakeNotes())
                if (note.text.find("refused") != std::string::npos)
                    refusals.push_back(note.text);
            now_ += core::kTickMs;
            if (table.t.process.ended)
                return false;
        }
        return server_.Finished();
    }

    // The frames the client wrote since the last call.
    std::vector<protocol::GameFrame> TakeSent()
    {
        std::vector<protocol::GameFrame> out;
        auto& sent = table.t.tcp.sent;
        for (qsizetype at = 0; at + protocol::kFrameSize <= sent.size(); at += protocol::kFrameSize) {
            protocol::GameFrame frame;
            std::memcpy(frame.data(), sent.constData() + at, protocol::kFrameSize);
            out.push_back(frame);
            if (frame[3] == protocol::CmdDiscard)
                ++discardsSent;
        }
        sent.clear();
        return out;
    }

    int HandsPlayed() const { return server_.HandsPlayed(); }

    TableClient table{0};
    std::vector<std::string> refusals;
    int discardsSent = 0;

private:
    static tableserver::TableConfig Config(uint64_t seed, int hands)
    {
        tableserver::TableConfig c;
        c.seed = seed;
        c.hands = hands;
        c.robotWaitMs = 0;
        c.robotDelayMs = 0;
        // Shuffled hands; a robot is banker of the first, the client of the
        // second.
        tableserver::PresetHand robotBanker, ownBanker;
        robotBanker.banker = 1;
        ownBanker.banker = 0;
        c.preset.hands = {robotBanker, ownBanker};
        return c;
    }

    tableserver::Table server_;
    int64_t now_ = 0;
    bool waiting_ = false;
};

// The table's own words for a turn that went wrong.
std::string Describe(Client& c, QPoint at)
{
    window::MainForm& f = *c.MainForm;
    std::ostringstream s;
    const platform::GraphicControl* hit = f.pic1->ControlAt(static_cast<float>(at.x()), static_cast<float>(at.y()));
    s << "at (" << at.x() << "," << at.y() << ") ";
    if (!hit)
        s << "nothing";
    else
        s << hit->Name.toStdString() << "(" << hit->Index << ") at " << hit->Left << "," << hit->Top;
    const table::PlayerRecord& p = c.game.Players[0];
    s << "; hand:";
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i) {
        const int image = p.Slots[static_cast<std::size_t>(i)].Image;
        if (image >= 0 && image < table::kTileImages)
            s << " " << image << "@" << f.MJ_Image[image].Left << "," << f.MJ_Image[image].Top;
    }
    return s.str();
}

class RestingPointer : public testing::TestWithParam<uint64_t> {};

} // namespace

// The pointer rests on the right half of the spot where a drawn tile
// appears, half a tile beyond the hand. Whenever the hand's last tile stands
// there, a click without moving discards it; otherwise the player moves to
// the last tile, clicks and comes back to rest. The second hand is the
// client's as banker: its first discard is the fourteenth tile of the deal.
TEST_P(RestingPointer, EveryDiscardTurnTakesTheClickOnTheDrawnTileSpot)
{
    RestingPointerGame game(GetParam(), 2);
    Client& c = game.table.c;
    window::MainForm& f = game.table.f;
    const table::PlayerRecord& p = c.game.Players[0];
    const float w = 48;
    const QPoint spot(static_cast<int>(p.HandX + 17 * w + w / 2 + 3 * w / 4), static_cast<int>(p.HandY + 39));
    QTest::mouseMove(f.pic1, spot);

    int turns = 0, clicksAtRest = 0, bankersFirstTurnAtRest = 0;
    bool bankersFirstTurnSeen = false;
    const bool finished = game.Play([&] {
        ++turns;
        const bool bankersFirstTurn = game.HandsPlayed() == 1 && !bankersFirstTurnSeen;
        bankersFirstTurnSeen = bankersFirstTurnSeen || game.HandsPlayed() == 1;
        const int last = p.Slots[static_cast<std::size_t>(p.HandFirst + p.HandCount - 1)].Image;
        ASSERT_TRUE(last >= 0 && last < table::kTileImages);
        const bool atRest = f.MJ_Image[last].Contains(static_cast<float>(spot.x()), static_cast<float>(spot.y()));
        EXPECT_TRUE(atRest || !bankersFirstTurn) << "the banker's last tile is not where drawn tiles appear: "
                                                 << Describe(c, spot);
        const std::string before = Describe(c, spot);
        if (atRest) {
            ++clicksAtRest;
            bankersFirstTurnAtRest += bankersFirstTurn ? 1 : 0;
            QTest::mousePress(f.pic1, Qt::LeftButton, {}, spot, 20);
            QTest::mouseRelease(f.pic1, Qt::LeftButton, {}, spot, 20);
        } else {
            const QPoint on = testing_support::CentreOf(f.MJ_Image[last]);
            QTest::mouseMove(f.pic1, on);
            QTest::mouseClick(f.pic1, Qt::LeftButton, {}, on, 20);
            QTest::mouseMove(f.pic1, spot);
        }
        EXPECT_EQ(c.table.DiscardDue, 0) << "hand " << game.HandsPlayed() << " turn " << turns << ": " << before;
    });
    ASSERT_TRUE(finished);
    EXPECT_TRUE(game.refusals.empty()) << game.refusals.front();
    EXPECT_FALSE(game.table.t.process.ended);
    EXPECT_EQ(bankersFirstTurnAtRest, 1);
    EXPECT_GT(clicksAtRest, 4);
    EXPECT_EQ(game.discardsSent, turns) << "every discard came from a click, none from the countdown";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RestingPointer, testing::Values(1, 2, 3),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });
