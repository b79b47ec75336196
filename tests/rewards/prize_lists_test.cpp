#include "rewards/bets_fixture.h"

#include <gtest/gtest.h>

using testing_support::BetTable;
using testing_support::PutGbk;
using testing_support::PutLE;
using testing_support::ServerFrame;

namespace {

struct Item {
    int id;
    int32_t count;
};

// Writes one winner record at `at`; returns where the next one starts.
int PutRecord(protocol::GameFrame& f, int at, int32_t id, const QByteArray& nick = "winner", std::vector<Item> items = {},
              int klass = 255)
{
    PutLE(f, at, static_cast<uint32_t>(id), 4);
    testing_support::Put(f, at + 4, "lucky");
    PutLE(f, at + 20, 1700000000u, 4);
    testing_support::Put(f, at + 24, nick);
    PutLE(f, at + 48, 7, 2);
    PutLE(f, at + 50, 5000, 4);
    f[static_cast<std::size_t>(at + 54)] = static_cast<uint8_t>(items.size());
    int p = at + 55;
    for (const Item& item : items) {
        PutLE(f, p, static_cast<uint64_t>(item.id), 2);
        PutLE(f, p + 2, static_cast<uint32_t>(item.count), 4);
        p += 6;
    }
    f[static_cast<std::size_t>(p)] = static_cast<uint8_t>(klass);
    return p + 1;
}

protocol::GameFrame ListFrame(int records, int more = 0)
{
    protocol::GameFrame f = ServerFrame(94);
    f[16] = 4;
    f[17] = static_cast<uint8_t>(more);
    f[18] = static_cast<uint8_t>(records);
    return f;
}

rewards::PrizeRecord Record(int32_t id, int klass = 255)
{
    rewards::PrizeRecord r;
    r.Id = id;
    r.Class = static_cast<uint8_t>(klass);
    return r;
}

std::vector<int32_t> WinIds(const rewards::BetsState& b)
{
    std::vector<int32_t> out;
    for (int i = 1; i <= 9; ++i)
        out.push_back(b.WinList[static_cast<std::size_t>(i)].Id);
    return out;
}

TEST(PrizeListFrame, DecodesRecordsWithTheirOwnItems)
{
    protocol::GameFrame f = ListFrame(2, 255);
    int at = PutRecord(f, 19, 11, "alice", {{3, 2}, {4, 70000}}, 1);
    PutRecord(f, at, 12, QByteArray(24, 'n'));
    const auto list = rewards::DecodePrizeLists(f);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->More);
    ASSERT_EQ(list->Records.size(), 2u);
    const rewards::PrizeRecord& r = list->Records[0];
    EXPECT_EQ(r.Id, 11);
    EXPECT_EQ(r.Label, "lucky");
    EXPECT_EQ(r.Nickname, "alice");
    EXPECT_EQ(r.Number, 7);
    EXPECT_EQ(r.Amount, 5000);
    EXPECT_EQ(r.ItemIds, (std::vector<int32_t>{0, 3, 4}));
    EXPECT_EQ(r.ItemCounts, (std::vector<int32_t>{0, 2, 70000}));
    EXPECT_EQ(r.Class, 1);
    // 24 single-byte characters: the first 22 and "...".
    EXPECT_EQ(list->Records[1].Nickname, QString(22, QLatin1Char('n')) + "...");
}

TEST(PrizeListFrame, OtherListKindsAreIgnored)
{
    protocol::GameFrame f = ListFrame(1, 255);
    PutRecord(f, 19, 5);
    f[16] = 3;
    EXPECT_FALSE(rewards::DecodePrizeLists(f));
    BetTable t;
    t.Deliver(f);
    EXPECT_EQ(t.b.PrizeListFlag, 0);
    EXPECT_EQ(t.b.WinList[1].Id, 0);
}

TEST(PrizeListFrame, RecordsRunningPastTheFrameDropTheWholeFrame)
{
    // Records start at byte 19, so 253 bytes are left for them. A record of
    // 3 items takes 19..92; one of 20 items then takes 93..268 and fits.
    protocol::GameFrame g = ListFrame(2);
    const int at = PutRecord(g, 19, 1, "a", {{3, 1}, {3, 1}, {3, 1}});
    EXPECT_EQ(at, 93);
    EXPECT_EQ(PutRecord(g, at, 2, "b", std::vector<Item>(20, Item{3, 1})), 269);
    ASSERT_TRUE(rewards::DecodePrizeLists(g));
    EXPECT_EQ(rewards::DecodePrizeLists(g)->Records.size(), 2u);
    // With 21 items it would end at byte 274: nothing of the frame is taken.
    g[static_cast<std::size_t>(at + 54)] = 21;
    EXPECT_FALSE(rewards::DecodePrizeLists(g));
    // Four plain records end at byte 242; a fifth announced one would need
    // its item count at byte 297.
    protocol::GameFrame h = ListFrame(5);
    for (int id = 1, p = 19; id <= 4; ++id)
        p = PutRecord(h, p, id);
    EXPECT_FALSE(rewards::DecodePrizeLists(h));
    h[18] = 4;
    ASSERT_TRUE(rewards::DecodePrizeLists(h));
    EXPECT_EQ(rewards::DecodePrizeLists(h)->Records.size(), 4u);

    BetTable t;
    g[18] = 2;
    t.Deliver(g);
    EXPECT_EQ(t.b.WinList[1].Id, 0);
}

TEST(PrizeLists, NewestNineStayInOrderAndRepeatsAreNotFiled)
{
    rewards::BetsState b;
    for (int id = 1; id <= 10; ++id)
        rewards::InsertPrizeRecord(b, Record(id));
    EXPECT_EQ(WinIds(b), (std::vector<int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2}));
    rewards::InsertPrizeRecord(b, Record(7));
    EXPECT_EQ(WinIds(b), (std::vector<int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2}));
    rewards::InsertPrizeRecord(b, Record(1, 255)); // older than all, no big prize
    EXPECT_EQ(b.BigPrizeCount, 0);
}

TEST(PrizeLists, BigPrizesKeepTheNewestOfTheirClass)
{
    rewards::BetsState b;
    for (int id = 10; id <= 18; ++id)
        rewards::InsertPrizeRecord(b, Record(id));
    // Older than all nine winners: offered to the big prizes.
    rewards::InsertPrizeRecord(b, Record(3, 1));
    rewards::InsertPrizeRecord(b, Record(4, 2));
    rewards::InsertPrizeRecord(b, Record(6, 3));
    EXPECT_EQ(b.BigPrizeCount, 3);
    rewards::InsertPrizeRecord(b, Record(2, 1)); // its class holds a newer one: not taken
    EXPECT_EQ(b.BigPrizeList[1].Id, 3);
    rewards::InsertPrizeRecord(b, Record(5, 1)); // newer, same class: replaces it
    EXPECT_EQ(b.BigPrizeList[1].Id, 5);
    EXPECT_EQ(b.BigPrizeList[2].Id, 4);
    EXPECT_EQ(b.BigPrizeList[3].Id, 6);
    rewards::InsertPrizeRecord(b, Record(8, 255)); // no big prize
    EXPECT_EQ(b.BigPrizeList[1].Id, 5);
    EXPECT_EQ(WinIds(b), (std::vector<int32_t>{18, 17, 16, 15, 14, 13, 12, 11, 10}));
}

TEST(PrizeLists, LastRowsShowTheBigPrizes)
{
    BetTable t;
    for (int id = 10; id <= 18; ++id)
        rewards::InsertPrizeRecord(t.b, Record(id));
    t.b.BigPrizeList[1] = Record(3, 1);
    t.b.BigPrizeList[2] = Record(4, 2);
    t.b.BigPrizeCount = 2;
    const std::vector<rewards::PrizeRow> rows = rewards::PrizeListRows(t.c);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].Color, 0x00E5FFu);
    EXPECT_EQ(rows[3].Color, 0xFFFFFFu);
    // Rows 8 and 9 show big prizes 1 and 2 (their times are 0: 01-01 08:00).
    EXPECT_EQ(rows[7].Texts[0], "01-01 08:00");
    EXPECT_EQ(rows[8].Texts[0], "01-01 08:00");
    // An empty winner list draws nothing, big prizes or not.
    t.b.WinList.fill(rewards::PrizeRecord{});
    EXPECT_TRUE(rewards::PrizeListRows(t.c).empty());
}

TEST(PrizeLists, ItemsTextNamesWhatTheCatalogueKnows)
{
    BetTable t;
    EXPECT_EQ(rewards::FormatPrizeItems(t.c.match.tables.GoodsInfo, 2, {0, 3, 99}, {0, 3, 5}),
              QStringLiteral("香烟3根 "));
    EXPECT_EQ(rewards::FindGoodsIndex(t.c.match.tables.GoodsInfo, 99), -1);
    EXPECT_EQ(rewards::FindGoodsIndex(t.c.match.tables.GoodsInfo, 3), 1);
}

TEST(PrizeLists, ButtonAsksOnceThenOnlyWhenMoreWait)
{
    BetTable t;
    auto requests = [&t] {
        std::vector<uint32_t> out;
        for (const protocol::GameFrame& f : t.TakeSent())
            if (f[3] == 94)
                out.push_back(qFromLittleEndian<quint32>(f.data() + 16));
        return out;
    };
    BetTable::Click(t.b.bt_prizesort);
    EXPECT_TRUE(t.b.Pic_prizesort->isVisible());
    EXPECT_EQ(requests(), (std::vector<uint32_t>{0}));

    protocol::GameFrame f = ListFrame(2);
    PutRecord(f, PutRecord(f, 19, 41), 42);
    t.Deliver(f);
    EXPECT_EQ(WinIds(t.b)[0], 42);
    BetTable::Click(t.b.bt_prizesort); // closes
    EXPECT_FALSE(t.b.Pic_prizesort->isVisible());
    BetTable::Click(t.b.bt_prizesort); // opens without asking
    EXPECT_TRUE(requests().empty());
    BetTable::Click(t.b.bt_prizesort);

    protocol::GameFrame more = ListFrame(0, 255);
    t.Deliver(more);
    BetTable::Click(t.b.bt_prizesort);
    EXPECT_EQ(requests(), (std::vector<uint32_t>{42}));
    // A click on the bare table hides the panel.
    const QPoint bare(500, 120);
    ASSERT_EQ(t.f.pic1->ControlAt(500, 120), nullptr);
    QTest::mouseClick(t.f.pic1, Qt::LeftButton, {}, bare);
    EXPECT_FALSE(t.b.Pic_prizesort->isVisible());
}

TEST(PrizeLists, ButtonHoverAndTheTablePutsItBack)
{
    BetTable t;
    BetTable::MoveOver(t.b.bt_prizesort);
    EXPECT_EQ(t.b.bt_prizesort.GetPicture().resourceId, 582);
    BetTable::MoveOver(t.f.pic1, QPoint(500, 120));
    EXPECT_EQ(t.b.bt_prizesort.GetPicture().resourceId, 581);
    EXPECT_EQ(t.b.bt_prizesort.Tag, "0");
}

} // namespace
