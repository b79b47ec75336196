// Whole hands against the table server's game logic: the server's frames
// for seat 0 go through the client's dispatcher, the local player answers
// with clicks, and what the client sends goes back to the server. The frames
// whose arms are not part of the dispatcher yet (seating, hand start, wild
// tile) are stood in for by setting the state they leave.

#include "app/client.h"
#include "core/table_reset.h"
#include "support/table_fixture.h"
#include "table.h"
#include "table/indicator.h"

#include <algorithm>
#include <gtest/gtest.h>

using testing_support::TableClient;
using testing_support::WordOf;

namespace {


class ServerHand {
public:
    explicit ServerHand(uint64_t seed) : server_(Config(seed))
    {
        server_.Login("me", 0);
    }

    // Runs until the first hand's results arrive; false when it did not end.
    bool PlayHand()
    {
        for (int step = 0; step < 5000 && !handOver_; ++step) {
            server_.Advance(now_);
            for (const auto& out : server_.TakeOutgoing())
                if (out.seat == 0)
                    Receive(out.frame);
            for (const protocol::GameFrame& f : table.TakeSent())
                server_.ClientFrame(0, f, now_);
            for (const auto& note : server_.TakeNotes())
                if (note.text.find("refused") != std::string::npos)
                    refusals.push_back(note.text);
            now_ += 50;
        }
        return handOver_;
    }

    TableClient table{0};
    std::vector<std::string> refusals;
    int ownPrompts = 0;
    int claimsMade = 0;

private:
    static tableserver::TableConfig Config(uint64_t seed)
    {
        tableserver::TableConfig c;
        c.seed = seed;
        c.robotWaitMs = 0;
        c.robotDelayMs = 0;
        return c;
    }

    void Receive(const protocol::GameFrame& f)
    {
        Client& c = table.c;
        switch (f[3]) {
        case protocol::MsgHandStart:
            core::ClearTableTiles(c);
            core::ResetTableDisplay(c);
            core::ResetPlayerState(c);
            c.table.WallHead = 0;
            c.table.WallTail = 134;
            for (auto& p : c.game.Players)
                p.BankerMark = p.SeatBit == f[6] ? -1 : 0;
            break;
        case protocol::MsgWildTile:
            c.table.PiZiTile = static_cast<int16_t>(WordOf(f, 3) & 0xFF);
            c.table.PiZiImage = c.table.WallHead;
            c.table.WallHead = static_cast<int16_t>((c.table.WallHead + 1) % 136);
            c.table.WildTile = static_cast<int16_t>(WordOf(f, 2) & 0xFF);
            table::ShowPiZiTile(c.Table());
            table::ArrangeHand(c.Table(), 0, c.game.Players[0].HandCount);
            break;
        case protocol::MsgSeatResult:
            handOver_ = true;
            break;
        case protocol::MsgDeal:
        case protocol::MsgDiscard:
        case protocol::MsgDraw:
        case protocol::MsgTurnPrompt:
        case protocol::MsgOperation:
            table.Deliver(f);
            if (f[3] == protocol::MsgTurnPrompt && (f[6] & 0x0F) == 1) {
                CheckHands();
                Decide();
            }
            break;
        default:
            break;
        }
    }

    // The client's table agrees with the server's hands.
    void CheckHands()
    {
        ++ownPrompts;
        std::vector<int16_t> mine = table.OwnHandCodes();
        std::vector<int16_t> theirs(server_.Hand(0).concealed.begin(), server_.Hand(0).concealed.end());
        std::sort(mine.begin(), mine.end());
        std::sort(theirs.begin(), theirs.end());
        EXPECT_EQ(mine, theirs) << "prompt " << ownPrompts;
        for (int v = 1; v < 4; ++v) {
            const int seat = (4 - v) & 3;
            EXPECT_EQ(table.Player(v).HandCount, static_cast<int>(server_.Hand(seat).concealed.size()))
                << "view " << v << " prompt " << ownPrompts;
        }
    }

    // The local player takes whatever is offered, else discards its last tile.
    void Decide()
    {
        Client& c = table.c;
        window::MainForm& f = table.f;
        const auto& offered = c.game.OfferedOps;
        if (offered[3] == 2 && c.game.ChoiceState == 1) {
            f.Operation[3].Click();
        } else if (offered[2] == 2) {
            f.Operation[2].Click();
            if (f.Gang[0].Visible)
                f.Gang[0].Click();
            ++claimsMade;
        } else if (offered[1] == 2) {
            f.Operation[1].Click();
            ++claimsMade;
        } else if (offered[0] == 2) {
            f.Operation[0].Click();
            if (f.Chi[0].Visible)
                f.Chi[0].Click();
            ++claimsMade;
        } else if (c.table.DiscardDue) {
            const table::PlayerRecord& p = c.game.Players[0];
            const int16_t image = p.Slots[static_cast<std::size_t>(p.HandFirst + p.HandCount - 1)].Image;
            f.MJ_Image[image].MouseDown(1, 0, 0, 0);
        } else if (offered[4] == 2) {
            f.Operation[4].Click();
        }
    }

    tableserver::Table server_;
    int64_t now_ = 0;
    bool handOver_ = false;
};

class ServerHands : public testing::TestWithParam<uint64_t> {};

} // namespace

TEST_P(ServerHands, PlayToTheEndWithoutAFault)
{
    ServerHand hand(GetParam());
    EXPECT_TRUE(hand.PlayHand());
    EXPECT_TRUE(hand.table.t.dialogs.texts.isEmpty());
    EXPECT_FALSE(hand.table.t.process.ended);
    EXPECT_TRUE(hand.refusals.empty()) << hand.refusals.front();
    EXPECT_GT(hand.ownPrompts, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ServerHands, testing::Range<uint64_t>(1, 25),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });
