// Preset games: the file format, its faults, and the four games of the
// preset folder played by the table with a scripted player at seat 0, read
// back frame by frame as the client reads them.
#include "helpers.h"
#include "preset.h"
#include "table.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tableserver;
using ts_test::DataLow;
using ts_test::Kind;
using ts_test::ParseTiles;
using ts_test::SeatOf;
using ts_test::SeatPlayer;

namespace {

std::string ReadPreset(const std::string& name)
{
    std::ifstream in(std::string(TABLESERVER_PRESETS) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kDeal = "hand\nbanker 0\n"
                          "seat 0 1B 2B 3B 4C 5C 6C 7D 8D 9D E E 4D 6D 9B\n"
                          "seat 1 2C 3C 7C 8C 9C 1D 2D 3D S S W N Wd\n"
                          "seat 2 4B 5B 6B 7B 8B 9B 2C 3C 7C 8C N W S\n"
                          "seat 3 5D 1B 1B 2B 3B 9B 9B 1C 4C 5C 6C 9C E\n"
                          "indicator Wd\n";

} // namespace

TEST(PresetFile, SeatLinesPutTheWallTogetherAsTheDealWalksIt)
{
    std::string error;
    const auto p = ParsePreset("# a comment\nminfan 2\n" + kDeal + "draws 1B 2D # the head after the indicator\n"
                               "dice 1 2 3 6\nturn 3 discard 5D\nclaim 1 chow 7C 8C 9C\nclaims scripted\n",
                               error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->minFan, 2);
    ASSERT_EQ(p->hands.size(), 1u);
    const PresetHand& h = p->hands[0];
    EXPECT_EQ(h.wall, ts_test::BuildWall({"1B 2B 3B 4C 5C 6C 7D 8D 9D E E 4D 6D", "2C 3C 7C 8C 9C 1D 2D 3D S S W N Wd",
                                          "4B 5B 6B 7B 8B 9B 2C 3C 7C 8C N W S", "5D 1B 1B 2B 3B 9B 9B 1C 4C 5C 6C 9C E"},
                                         "9B", "Wd", "1B 2D"));
    EXPECT_EQ(*h.dice, (std::array<int, 4>{1, 2, 3, 6}));
    ASSERT_EQ(h.turns[3].size(), 1u);
    EXPECT_EQ(h.turns[3][0].action, ScriptedTurn::Discard);
    EXPECT_EQ(h.turns[3][0].tile, 0x85);
    ASSERT_EQ(h.claims[1].size(), 1u);
    EXPECT_EQ(h.claims[1][0].op, protocol::OpChow);
    EXPECT_EQ(h.claims[1][0].tile, 0x49);
    EXPECT_TRUE(h.claimsScripted);

    // A banker other than seat 0: the deal starts with the banker's tiles.
    const auto q = ParsePreset("hand\nbanker 2\nseat 0 " + std::string("1B 1B 1B 1B 2B 2B 2B 2B 3B 3B 3B 3B 4B\n")
                                   + "seat 1 5B 5B 5B 5B 6B 6B 6B 6B 7B 7B 7B 7B 8B\n"
                                   + "seat 2 1C 1C 1C 1C 2C 2C 2C 2C 3C 3C 3C 3C 4C 4C\n"
                                   + "seat 3 5C 5C 5C 5C 6C 6C 6C 6C 7C 7C 7C 7C 8C\nindicator E\n",
                               error);
    ASSERT_TRUE(q) << error;
    const auto& w = q->hands[0].wall;
    ASSERT_EQ(w.size(), 136u);
    EXPECT_EQ(std::vector<Tile>(w.begin(), w.begin() + 4), ParseTiles("1C 1C 1C 1C"));  // seat 2 first
    EXPECT_EQ(std::vector<Tile>(w.begin() + 4, w.begin() + 8), ParseTiles("5C 5C 5C 5C")); // then seat 3
    EXPECT_EQ(std::vector<Tile>(w.begin() + 48, w.begin() + 54), ParseTiles("4C 8C 4B 8B 4C E"));
}

TEST(PresetFile, AWallLineGivesTheRingAndAHandMayBeShuffled)
{
    std::string text = "hand\nwall";
    for (Tile t : tile::FullSet())
        text += " " + tile::Name(t);
    text += "\nhand\n";
    std::string error;
    const auto p = ParsePreset(text, error);
    ASSERT_TRUE(p) << error;
    ASSERT_EQ(p->hands.size(), 2u);
    const auto all = tile::FullSet();
    EXPECT_EQ(p->hands[0].wall, std::vector<Tile>(all.begin(), all.end()));
    EXPECT_TRUE(p->hands[1].wall.empty());
    EXPECT_EQ(p->minFan, 1);
}

TEST(PresetFile, FaultsAreNamedWithTheirLine)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"", "the preset has no hand line"},
        {"# only a comment\n", "the preset has no hand line"},
        {"banker 1\n", "line 1: \"banker\" must come after a hand line"},
        {"hand\nbanker 4\n", "line 2: the banker's seat must be a number from 0 to 3, not \"4\""},
        {"hand\ndice 1 2 3\n", "line 2: expected \"dice A B C D\""},
        {"hand\ndice 1 2 3 7\n", "line 2: a die must be a number from 1 to 6, not \"7\""},
        {"hand\nminfan 3\n", "line 2: minfan must come before the first hand"},
        {"minfan 0\nhand\n", "line 1: the fewest fan must be a number from 1 to 99, not \"0\""},
        {"hand\nshuffle\n", "line 2: unknown line \"shuffle\""},
        {"hand\nwall 1B 2B 0X\n", "line 2: \"0X\" is no tile"},
        {"hand\nwall 1B 2B\n", "line 2: the wall has 2 tiles, it needs 136"},
        {"hand\nturn 1 jump\n", "line 2: a turn is discard, win, kong or pass, not \"jump\""},
        {"hand\nturn 1 discard\n", "line 2: expected \"turn SEAT discard|kong TILE\""},
        {"hand\nclaim 1 steal 5D\n", "line 2: a claim is pass, chow, pong, kong or win, not \"steal\""},
        {"hand\nclaim 1 chow 4D 5D\n", "line 2: expected \"claim SEAT chow A B TILE\""},
        {"hand\nclaims always\n", "line 2: expected \"claims scripted\""},
        {"hand\nseat 0 1B\nseat 0 2B\n", "line 3: seat 0 is dealt twice"},
        {"hand\nseat 0 1B 2B\n", "line 2: a hand dealt by seat lines needs a banker line"},
        {"hand\nbanker 0\nseat 0 1B\n", "line 3: the hand has no seat 1 line"},
        {"hand\nbanker 0\nseat 0 1B\nseat 1 1B\nseat 2 1B\nseat 3 1B\n", "line 3: seat 0 holds 1 tiles, it needs 14 (the banker)"},
        {"hand\nbanker 0\nindicator E\nwall 1B\n", "line 3: a hand gives either a wall or seat, indicator and draws lines, not both"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ParsePreset(c.text, error)) << c.text;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text << " gave: " << error;
    }

    // Five of a tile, in a wall and in a deal.
    std::string wall = "hand\nwall";
    for (Tile t : tile::FullSet())
        wall += " " + tile::Name(t == 0x11 ? 0x12 : t);
    std::string error;
    EXPECT_FALSE(ParsePreset(wall, error));
    EXPECT_EQ(error, "line 2: the hand has 0 of E, the wall needs 4 of every tile");
    std::string deal = kDeal;
    deal.replace(deal.find("indicator Wd"), 12, "indicator Wd\ndraws E E");
    EXPECT_FALSE(ParsePreset(deal, error));
    EXPECT_EQ(error, "line 3: the hand has 5 of E, there are only 4");
    // No indicator.
    deal = kDeal;
    deal.replace(deal.find("indicator Wd"), 12, "");
    EXPECT_FALSE(ParsePreset(deal, error));
    EXPECT_EQ(error, "line 3: the hand has no indicator line");
}

TEST(PresetFile, TheFourGamesOfThePresetFolderAreWellFormed)
{
    for (const char* name : {"client_win.preset", "robot_win.preset", "drawn.preset", "robbed_kong.preset"}) {
        std::string error;
        const std::string text = ReadPreset(name);
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_TRUE(ParsePreset(text, error)) << name << ": " << error;
    }
}

// ---------------------------------------------------------------- the games

namespace {

struct HandWant {
    int banker;
    int winner; // -1: drawn
    std::array<int64_t, 4> amounts;
    int winType;           // row 0 of the winner
    int payer;             // the seat with row 6 set; -1 none
    std::string text;      // GBK bytes of the result text
    int falseWinsOfSeat0;  // operation-129 frames of seat 0 at least
    std::string revealed;  // the winner's turned-up tiles, as dealt ("" to skip)
};

struct GameCase {
    const char* file;
    std::vector<HandWant> hands;
};

// The frames of one hand as seat 0 received them: from the table status that
// opens it up to the last settlement frame.
std::vector<std::vector<protocol::GameFrame>> SplitHands(const std::vector<protocol::GameFrame>& frames)
{
    std::vector<std::vector<protocol::GameFrame>> hands;
    for (const auto& f : frames) {
        if (Kind(f) == protocol::MsgTableStatus && DataLow(f, 3) == protocol::StatusGameStarts)
            hands.emplace_back();
        if (!hands.empty())
            hands.back().push_back(f);
    }
    return hands;
}

std::vector<Tile> Sorted(std::vector<Tile> t)
{
    std::sort(t.begin(), t.end());
    return t;
}

void CheckHand(const HandWant& want, const std::vector<protocol::GameFrame>& hand, uint32_t reconnectId)
{
    // The hand opens with the table status naming the banker, then the hand start.
    ASSERT_GE(hand.size(), 2u);
    EXPECT_EQ(SeatOf(hand[0]), 1 << want.banker);
    EXPECT_EQ(proto::ReconnectIdOf(hand[0]), reconnectId);
    EXPECT_EQ(Kind(hand[1]), protocol::MsgHandStart);
    EXPECT_EQ(SeatOf(hand[1]), 1 << want.banker);

    std::vector<protocol::GameFrame> wins, falseWins, reveals, results, settlements;
    for (const auto& f : hand) {
        if (Kind(f) == protocol::MsgOperation && DataLow(f, 0) == protocol::OpWin)
            wins.push_back(f);
        if (Kind(f) == protocol::MsgOperation && DataLow(f, 0) == protocol::OpFalseWin)
            falseWins.push_back(f);
        if (Kind(f) == protocol::MsgWallReveal)
            reveals.push_back(f);
        if (Kind(f) == protocol::MsgSeatResult)
            results.push_back(f);
        if (Kind(f) == protocol::MsgSettlement)
            settlements.push_back(f);
    }

    // The winner's operation frame, exactly: kind 7, its seat bit, 128, no tiles.
    if (want.winner < 0) {
        EXPECT_TRUE(wins.empty());
    } else {
        ASSERT_EQ(wins.size(), 1u);
        protocol::GameFrame expect = proto::Header(protocol::MsgOperation, static_cast<uint8_t>(1 << want.winner), 0,
                                                   {protocol::OpWin, 0, 0, 0});
        proto::SetToken(expect, proto::TokenOf(wins[0]));
        EXPECT_EQ(wins[0], expect);
    }
    // False wins of seat 0: kind 7, seat bit 1, data 129, 0, 0, 0; each after a
    // prompt to seat 0 with bit 0 of data word 1 set.
    EXPECT_GE(static_cast<int>(falseWins.size()), want.falseWinsOfSeat0);
    for (const auto& f : falseWins) {
        EXPECT_EQ(SeatOf(f), 1);
        EXPECT_EQ(std::vector<uint8_t>(f.begin() + 8, f.begin() + 16), (std::vector<uint8_t>{0, 0x81, 0, 0, 0, 0, 0, 0}));
        const auto at = std::find(hand.begin(), hand.end(), f);
        const auto prompt = std::find_if(std::make_reverse_iterator(at), hand.rend(), [](const protocol::GameFrame& g) {
            return Kind(g) == protocol::MsgTurnPrompt && SeatOf(g) == 1;
        });
        ASSERT_NE(prompt, hand.rend());
        EXPECT_EQ((*prompt)[10], 0);
        EXPECT_EQ((*prompt)[11], 1); // the offered win is a false win
        EXPECT_TRUE(DataLow(*prompt, 0) & protocol::OpWin);
    }

    // Turned-up hands: every seat's tiles, Data(3) first; the first frame
    // also shows the wall.
    ASSERT_FALSE(reveals.empty());
    if (want.winner >= 0) {
        EXPECT_NE(reveals[0][16], 0); // a drawn hand has emptied the wall
    }
    std::array<std::vector<Tile>, 4> shown;
    for (const auto& f : reveals) {
        const auto seat = static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(SeatOf(f))));
        for (int w = 3; w >= 0; --w) {
            if (DataLow(f, w) != 0)
                shown[seat].push_back(static_cast<Tile>(DataLow(f, w)));
        }
    }
    if (!want.revealed.empty()) {
        EXPECT_EQ(Sorted(shown[static_cast<std::size_t>(want.winner)]), Sorted(ParseTiles(want.revealed)));
    }

    // Four results, seat by seat, read as the client reads them.
    ASSERT_EQ(results.size(), 4u);
    int64_t sum = 0;
    for (int s = 0; s < 4; ++s) {
        const auto& f = results[static_cast<std::size_t>(s)];
        EXPECT_EQ(SeatOf(f), 1 << s);
        EXPECT_EQ(ts_test::ResultAmount(f), want.amounts[static_cast<std::size_t>(s)]) << "seat " << s;
        sum += ts_test::ResultAmount(f);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[36]), want.text.size()), want.text);
        EXPECT_EQ(f[36 + want.text.size()], 0);
        // The fan: the winner's, its negation for each payer, 0 for the others.
        const auto payers = std::count_if(want.amounts.begin(), want.amounts.end(), [](int64_t a) { return a < 0; });
        const int64_t winnerFan = want.winner < 0 ? 0 : want.amounts[static_cast<std::size_t>(want.winner)] / (10 * payers);
        const int64_t a = want.amounts[static_cast<std::size_t>(s)];
        const int fan = DataLow(f, 3) > 128 ? DataLow(f, 3) - 256 : DataLow(f, 3);
        EXPECT_EQ(fan, s == want.winner ? winnerFan : a < 0 ? -winnerFan : 0) << "seat " << s;
    }
    EXPECT_EQ(sum, 0);

    // Sixteen settlement frames, four a seat: the rows and the final amount.
    ASSERT_EQ(settlements.size(), 16u);
    for (int s = 0; s < 4; ++s) {
        std::array<int16_t, 16> rows{};
        for (int k = 0; k < 4; ++k) {
            const auto& f = settlements[static_cast<std::size_t>(4 * s + k)];
            EXPECT_EQ(SeatOf(f), 1 << s);
            for (int i = 0; i < 4; ++i)
                rows[static_cast<std::size_t>(4 * k + i)] = ts_test::DataSigned(f, i);
            const int64_t a = want.amounts[static_cast<std::size_t>(s)];
            EXPECT_EQ(ts_test::Subtotal(f), static_cast<uint64_t>(a < 0 ? -a : a));
        }
        const auto& last = settlements[static_cast<std::size_t>(4 * s + 3)];
        EXPECT_EQ(ts_test::SettlementAmount(last), want.amounts[static_cast<std::size_t>(s)]);
        EXPECT_EQ(rows[0], s == want.winner ? want.winType : 0) << "seat " << s;
        EXPECT_EQ(rows[6], s == want.payer ? 1 : 0) << "seat " << s;
        EXPECT_EQ(rows[9], s == want.banker ? 1 : 0);
        EXPECT_EQ(rows[10], s == want.winner && want.payer < 0 ? 1 : 0);
        EXPECT_EQ(rows[11], 10);
        EXPECT_EQ(rows[13], 1);
    }
}

} // namespace

TEST(PresetGame, TheFourPresetGamesEndAsTheirFilesSay)
{
    const std::string selfDrawn = "\xD7\xD4\xC3\xFE", onDiscard = "\xB5\xE3\xC5\xDA", drawn = "\xC1\xF7\xBE\xD6",
                      robbed = "\xC7\xC0\xB8\xDC";
    const std::vector<GameCase> cases = {
        {"client_win.preset",
         {{3, 0, {20, 0, 0, -20}, 1, 3, onDiscard, 0, "1B 2B 3B 4C 5C 6C 7D 8D 9D E E 4D 6D"},
          {0, 0, {90, -30, -30, -30}, 1, -1, selfDrawn, 0, "1B 1B 1B 2C 3C 4C 5D 6D 7D S S S N N"}}},
        {"robot_win.preset",
         {{1, 2, {0, -20, 20, 0}, 1, 1, onDiscard, 0, "1B 2B 3B 4C 5C 6C 7D 8D 9D E E 4D 6D"},
          {2, 2, {-30, -30, 90, -30}, 1, -1, selfDrawn, 0, "1B 1B 1B 2C 3C 4C 5D 6D 7D S S S N N"}}},
        {"drawn.preset", {{0, -1, {0, 0, 0, 0}, 0, -1, drawn, 1, ""}}},
        {"robbed_kong.preset", {{1, 0, {30, 0, -30, 0}, 65, 2, robbed, 1, "1B 2B 3B 4C 5C 6C 7D 8D 9D E E 4D 6D"}}},
    };
    for (const GameCase& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error;
        const auto preset = ParsePreset(ReadPreset(c.file), error);
        ASSERT_TRUE(preset) << error;
        TableConfig config;
        config.robotWaitMs = 0;
        config.robotDelayMs = 0;
        config.hands = static_cast<int>(c.hands.size());
        config.preset = *preset;
        Table table(config);
        SeatPlayer p;
        p.claimOps = protocol::OpWin; // declares every win it is offered, as a hosted client does
        ASSERT_EQ(table.Login("alice", 0).seat, 0);
        std::vector<Outgoing> all;
        ts_test::Pump(table, {&p}, 0, &all);
        EXPECT_TRUE(table.Finished());
        for (const Note& n : table.TakeNotes())
            EXPECT_EQ(n.text.find("cannot be played"), std::string::npos) << n.text;

        const auto hands = SplitHands(p.received);
        ASSERT_EQ(hands.size(), c.hands.size());
        for (std::size_t i = 0; i < hands.size(); ++i) {
            SCOPED_TRACE("hand " + std::to_string(i + 1));
            CheckHand(c.hands[i], hands[i], table.ReconnectIdOf(0));
        }
    }
}

TEST(PresetGame, TheRobbedKongIsAnnouncedBeforeTheRobberIsAsked)
{
    std::string error;
    TableConfig config;
    config.robotWaitMs = 0;
    config.robotDelayMs = 0;
    config.hands = 1;
    config.preset = *ParsePreset(ReadPreset("robbed_kong.preset"), error);
    Table table(config);
    SeatPlayer p;
    p.claimOps = protocol::OpWin;
    table.Login("alice", 0);
    ts_test::Pump(table, {&p}, 0);
    const auto& r = p.received;
    const auto kong = std::find_if(r.begin(), r.end(), [](const protocol::GameFrame& f) {
        return Kind(f) == protocol::MsgOperation && DataLow(f, 0) == protocol::OpSpecialKong;
    });
    ASSERT_NE(kong, r.end());
    EXPECT_EQ(SeatOf(*kong), 4);
    EXPECT_EQ(DataLow(*kong, 3), 0x85);
    // Then seat 0's prompt: win and pass, a real win this time; then its win.
    ASSERT_LT(kong + 2, r.end());
    EXPECT_EQ(Kind(*(kong + 1)), protocol::MsgTurnPrompt);
    EXPECT_EQ(SeatOf(*(kong + 1)), 1);
    EXPECT_EQ(DataLow(*(kong + 1), 0), protocol::OpWin | protocol::OpPass);
    EXPECT_EQ(DataLow(*(kong + 1), 1), 0);
    EXPECT_EQ(Kind(*(kong + 2)), protocol::MsgOperation);
    EXPECT_EQ(DataLow(*(kong + 2), 0), protocol::OpWin);
    // The settled coins follow the amounts.
    EXPECT_EQ(table.Coins(0), 10030);
    EXPECT_EQ(table.Coins(2), 9970);
}

TEST(PresetGame, AKongNobodyRobsStandsAndItsSeatDrawsFromTheTail)
{
    // The same game with a seat 0 that passes its offers: the kong stands,
    // seat 2 draws its replacement and the hand goes on.
    std::string error;
    TableConfig config;
    config.robotWaitMs = 0;
    config.robotDelayMs = 0;
    config.hands = 1;
    config.preset = *ParsePreset(ReadPreset("robbed_kong.preset"), error);
    Table table(config);
    SeatPlayer p;
    table.Login("alice", 0);
    ts_test::Pump(table, {&p}, 0);
    const auto& r = p.received;
    const auto kong = std::find_if(r.begin(), r.end(), [](const protocol::GameFrame& f) {
        return Kind(f) == protocol::MsgOperation && DataLow(f, 0) == protocol::OpSpecialKong && SeatOf(f) == 4;
    });
    ASSERT_NE(kong, r.end());
    const auto draw = std::find_if(kong, r.end(), [](const protocol::GameFrame& f) { return Kind(f) == protocol::MsgDraw; });
    ASSERT_NE(draw, r.end());
    EXPECT_EQ(SeatOf(*draw), 4);
    EXPECT_TRUE(std::none_of(r.begin(), r.end(), [](const protocol::GameFrame& f) {
        return Kind(f) == protocol::MsgOperation && DataLow(f, 0) >= protocol::OpWin && SeatOf(f) == 1;
    }));
    EXPECT_TRUE(table.Finished());
}
