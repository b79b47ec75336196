// Reading the received match frames: layouts, counts at and past what a
// frame holds, and 32-bit fields with the top bit set.
#include "match/match_frames.h"
#include "platform/gbk.h"
#include "support/frame_builder.h"

#include <gtest/gtest.h>

using namespace match;
using protocol::GameFrame;
using testing_support::ServerFrame;

namespace {

void Put(GameFrame& f, int at, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(v >> (8 * i));
}

void PutText(GameFrame& f, int at, const QString& text)
{
    const QByteArray b = platform::gbk::Encode(text);
    std::copy(b.begin(), b.end(), f.begin() + at);
}

} // namespace

TEST(MatchFrames, SignReplyReadsCountBaseAndTextOnlyWhenConfirmed)
{
    GameFrame f = ServerFrame(72);
    Put(f, 16, 101, 4);
    Put(f, 20, 86400, 4);
    f[24] = 1;
    Put(f, 25, 48, 2);
    Put(f, 27, 300, 4);
    PutText(f, 31, QStringLiteral("报名成功"));
    const MatchSignFrame s = DecodeMatchSign(f);
    EXPECT_EQ(s.id, 101);
    EXPECT_EQ(s.time, 86400);
    EXPECT_TRUE(s.confirmed);
    EXPECT_EQ(s.count, 48);
    EXPECT_EQ(s.base, 300);
    EXPECT_EQ(s.text, QStringLiteral("报名成功"));

    // Unconfirmed: bytes 25-30 are not read, whatever they hold.
    f[24] = 0;
    Put(f, 25, 0xFFFF, 2);
    Put(f, 27, 0xFFFFFFFF, 4);
    const MatchSignFrame u = DecodeMatchSign(f);
    EXPECT_FALSE(u.confirmed);
    EXPECT_EQ(u.count, 0);
    f[24] = 1;
    EXPECT_THROW(DecodeMatchSign(f), MatchFrameFault);
}

TEST(MatchFrames, TopBitFieldsAreFaultsExceptTheSignedStarts)
{
    struct Case {
        int kind;
        int at;
        const char* field;
    } cases[] = {
        {72, 16, "sign-up id"}, {72, 20, "sign-up time"}, {73, 16, "sign-off id"},
        {75, 16, "start/end id"}, {75, 20, "start/end time"}, {77, 24, "place"},
        {78, 28, "points"}, {79, 16, "ranking id"}, {83, 16, "update id"},
        {83, 24, "update duration"}, {87, 26, "sign count base"}, {88, 24, "prize base"},
        {89, 20, "champion time"}, {47, 16, "table number"},
    };
    for (const Case& c : cases) {
        GameFrame f = ServerFrame(c.kind);
        f[24] = c.kind == 72 ? 1 : f[24];
        Put(f, c.at, 0x80000000u, 4);
        const auto decode = [&] {
            switch (c.kind) {
            case 72: DecodeMatchSign(f); break;
            case 73: DecodeMatchSignOff(f); break;
            case 75: DecodeMatchStartEnd(f); break;
            case 77: case 78: DecodeMatchPlace(f); break;
            case 79: DecodeMatchSort(f); break;
            case 83: DecodeMatchUpdate(f); break;
            case 87: DecodeMatchSignCount(f); break;
            case 88: DecodeMatchPrizeBase(f); break;
            case 89: DecodeMatchChampion(f); break;
            case 47: DecodeMatchStandings(f); break;
            }
        };
        EXPECT_THROW(decode(), MatchFrameFault) << c.kind << " " << c.field;
        Put(f, c.at, 0x7FFFFFFFu, 4);
        if (c.kind != 77 && c.kind != 47) { // there 0x7FFFFFFF is out of range too
            EXPECT_NO_THROW(decode()) << c.kind << " " << c.field;
        }
    }

    // The starts of kinds 82 and 83 are signed: negative means no session.
    GameFrame u = ServerFrame(83);
    Put(u, 16, 5, 4);
    Put(u, 20, 0xFFFFFFFFu, 4);
    EXPECT_EQ(DecodeMatchUpdate(u).start, -1);
    GameFrame l = ServerFrame(82);
    l[16] = 1;
    Put(l, 17, 5, 4);
    Put(l, 21, 0x80000000u, 4);
    EXPECT_LT(DecodeMatchList(l)->front().start, 0);
}

TEST(MatchFrames, StatesTakeUpToTwentyEightEntries)
{
    for (int n : {0, 1, 28}) {
        GameFrame f = ServerFrame(74);
        f[16] = static_cast<uint8_t>(n);
        for (int k = 0; k < n; ++k) {
            Put(f, 17 + 9 * k, 100 + k, 4);
            Put(f, 21 + 9 * k, 1000 + k, 4);
            f[static_cast<std::size_t>(25 + 9 * k)] = k % 2 == 0 ? 2 : 1;
        }
        const auto entries = DecodeMatchStates(f);
        ASSERT_TRUE(entries) << n;
        ASSERT_EQ(static_cast<int>(entries->size()), n);
        if (n == 28) {
            EXPECT_EQ(entries->back().id, 127);
            EXPECT_EQ(entries->back().time, 1027); // bytes 260-263
            EXPECT_FALSE(entries->back().running);
            EXPECT_TRUE(entries->front().running);
        }
    }
    for (int n : {29, 255}) {
        GameFrame f = ServerFrame(74);
        f[16] = static_cast<uint8_t>(n);
        EXPECT_FALSE(DecodeMatchStates(f)) << n;
    }
}

TEST(MatchFrames, ListTakesUpToEighteenEntries)
{
    GameFrame f = ServerFrame(82);
    f[16] = 18;
    for (int k = 0; k < 18; ++k) {
        Put(f, 17 + 14 * k, 200 + k, 4);
        Put(f, 21 + 14 * k, 5000, 4);
        Put(f, 25 + 14 * k, 1800, 4);
        Put(f, 29 + 14 * k, 32767, 2);
    }
    const auto entries = DecodeMatchList(f);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 18u);
    EXPECT_EQ(entries->back().id, 217);
    EXPECT_EQ(entries->back().base, 32767); // bytes 255-256
    f[16] = 19;
    EXPECT_FALSE(DecodeMatchList(f));
    f[16] = 1;
    Put(f, 29, 32768, 2);
    EXPECT_THROW(DecodeMatchList(f), MatchFrameFault);
}

TEST(MatchFrames, RankingRowsAndTheirPlaces)
{
    GameFrame f = ServerFrame(79);
    Put(f, 16, 7, 4);
    Put(f, 20, 99, 4);
    Put(f, 24, 1, 2);
    Put(f, 26, 6, 2);
    for (int k = 0; k < 6; ++k) {
        // A nickname of 32 bytes without a NUL in the last row.
        PutText(f, 28 + 36 * k, k == 5 ? QStringLiteral("甲乙丙丁甲乙丙丁甲乙丙丁甲乙丙丁") : QStringLiteral("玩家%1").arg(k));
        Put(f, 60 + 36 * k, 500 - k, 4);
    }
    const MatchSortFrame s = DecodeMatchSort(f);
    ASSERT_EQ(s.rows.size(), 6u);
    EXPECT_EQ(s.rows[0].nickname, QStringLiteral("玩家0"));
    EXPECT_EQ(s.rows[5].nickname, QStringLiteral("甲乙丙丁甲乙丙丁甲乙丙丁甲乙丙丁"));
    EXPECT_EQ(s.rows[5].points, 495); // bytes 240-243

    const struct {
        int first;
        int n;
        bool fault;
    } cases[] = {{1, 7, true}, {1, 0xFFFF, true}, {32762, 6, false}, {32763, 6, true}, {0xFFFF, 1, true}, {0xFFFF, 0, false}};
    for (const auto& c : cases) {
        Put(f, 24, static_cast<uint64_t>(c.first), 2);
        Put(f, 26, static_cast<uint64_t>(c.n), 2);
        if (c.fault)
            EXPECT_THROW(DecodeMatchSort(f), MatchFrameFault) << c.first << "+" << c.n;
        else
            EXPECT_NO_THROW(DecodeMatchSort(f)) << c.first << "+" << c.n;
    }
}

TEST(MatchFrames, PlaceAbove32767IsAFault)
{
    GameFrame f = ServerFrame(77);
    Put(f, 24, 32767, 4);
    EXPECT_EQ(DecodeMatchPlace(f).place, 32767);
    Put(f, 24, 32768, 4);
    EXPECT_THROW(DecodeMatchPlace(f), MatchFrameFault);
}

TEST(MatchFrames, StandingsTakeUpToFourEntriesWithSmallLeadingFields)
{
    GameFrame f = ServerFrame(47);
    Put(f, 16, 12, 4);
    Put(f, 24, 4, 4);
    for (int k = 0; k < 4; ++k) {
        PutText(f, 28 + 28 * k, QStringLiteral("座%1").arg(k));
        Put(f, 48 + 28 * k, 100 * k, 4);
        Put(f, 52 + 28 * k, k + 1, 4);
    }
    const MatchStandingsFrame s = DecodeMatchStandings(f);
    EXPECT_EQ(s.idNum, 12);
    ASSERT_EQ(s.entries.size(), 4u);
    EXPECT_EQ(s.entries[3].username, QStringLiteral("座3"));
    EXPECT_EQ(s.entries[3].match_score, 300);
    EXPECT_EQ(s.entries[3].match_sort, 4);

    const struct {
        int at;
        uint32_t value;
    } faults[] = {{24, 5}, {24, 0x10004}, {16, 32768}, {20, 0x10000}, {18, 1}};
    for (const auto& c : faults) {
        GameFrame g = f;
        Put(g, c.at, c.value, c.at == 18 ? 1 : 4);
        EXPECT_THROW(DecodeMatchStandings(g), MatchFrameFault) << c.at << " " << c.value;
    }
}

TEST(MatchFrames, GoldAmountsAreSignAndMagnitude)
{
    GameFrame f = ServerFrame(91);
    Put(f, 17, 500, 8);
    PutText(f, 25, QStringLiteral("获得%d金币"));
    GoldFrame g = DecodeGoldChange(f);
    EXPECT_EQ(g.amount, 500);
    EXPECT_EQ(g.text, QStringLiteral("获得%d金币"));
    f[16] = 7;
    EXPECT_EQ(DecodeGoldChange(f).amount, -500);
    Put(f, 17, 0xFFFFFFFFFFFFFFFFull, 8);
    EXPECT_EQ(DecodeGoldChange(f).magnitude, 18446744073709551615.0);

    GameFrame s = ServerFrame(92);
    PutText(s, 25, QStringLiteral("abcdefghijklmnopq")); // 17 bytes, no NUL
    EXPECT_EQ(DecodeSeatGoldChange(s).account, QByteArray("abcdefghijklmnopq"));
}

TEST(MatchFrames, TextsStopAtTheFramesEnd)
{
    // A lead byte on the last byte of the frame: nothing is read past 271.
    GameFrame f = ServerFrame(93);
    std::fill(f.begin() + 16, f.end(), 'a');
    f[271] = 0xB0;
    EXPECT_EQ(ReadTextBytes(f, 16, 271).size(), 256);
    // A name of 32 bytes without a NUL is read whole; the prize starts at 56.
    GameFrame c = ServerFrame(89);
    std::fill(c.begin() + 24, c.begin() + 56, 'n');
    PutText(c, 56, QStringLiteral("金币"));
    const MatchChampionFrame m = DecodeMatchChampion(c);
    EXPECT_EQ(m.name, QString(32, QLatin1Char('n')));
    EXPECT_EQ(m.prize, QStringLiteral("金币"));
}
