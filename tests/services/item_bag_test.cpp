#include "services/item_bag.h"
#include "match/match.h"
#include "rewards/chip_panel.h"
#include "support/frame_builder.h"
#include "services/service_fixture.h"
#include "widgets/picture_tile.h"

#include <gtest/gtest.h>

using testing_support::PutLE;
using testing_support::ServerFrame;
using testing_support::ServiceTable;
using services::GoodsStack;

namespace {

protocol::GameFrame BagFrame(const std::vector<std::pair<int, uint32_t>>& entries, int announced = -1)
{
    protocol::GameFrame f = ServerFrame(85);
    f[16] = static_cast<uint8_t>(announced >= 0 ? announced : static_cast<int>(entries.size()));
    int at = 17;
    for (const auto& [id, count] : entries) {
        if (at + 6 > static_cast<int>(f.size()))
            break; // a count past the table names entries the frame cannot hold
        PutLE(f, at, static_cast<uint64_t>(id), 2);
        PutLE(f, at + 2, count, 4);
        at += 6;
    }
    return f;
}

protocol::GameFrame ChangeFrame(int id, uint32_t count)
{
    protocol::GameFrame f = ServerFrame(86);
    PutLE(f, 16, static_cast<uint64_t>(id), 2);
    PutLE(f, 18, count, 4);
    return f;
}

// A table with a catalogue of goods 1 to 20 (goods 99 unknown) and the bag
// button wired.
struct BagTable : ServiceTable {
    BagTable()
    {
        match::InitMatch(c);
        for (int id = 1; id <= 20; ++id) {
            match::GoodsItem g;
            g.id = id;
            g.na = QStringLiteral("goods%1").arg(id);
            g.des = QStringLiteral("about %1").arg(id);
            g.PicId = match::GoodsPicId(id);
            g.price = 200;
            c.match.tables.GoodsInfo.push_back(g);
        }
        rewards::InitChipPanel(c);
    }
    services::GoodsForm& Bag() { return services::GoodsWindow(c); }
    std::vector<int32_t> StackCounts() const
    {
        std::vector<int32_t> out;
        for (std::size_t i = 1; i < c.services.GoodsStacks.size(); ++i)
            out.push_back(c.services.GoodsStacks[i].Count);
        return out;
    }
    int ShownTiles()
    {
        int n = 0;
        for (widgets::IPic* tile : Bag().iPic1)
            n += tile->isVisibleTo(&Bag());
        return n;
    }
};

TEST(BagFrames, FortyTwoEntriesAreReadAndMoreAreDropped)
{
    std::vector<std::pair<int, uint32_t>> entries;
    for (int k = 0; k < 42; ++k)
        entries.emplace_back(k + 1, static_cast<uint32_t>(k + 100));
    const auto bag = services::DecodeMyGoods(BagFrame(entries));
    ASSERT_TRUE(bag);
    ASSERT_EQ(bag->size(), 43u);
    EXPECT_EQ((*bag)[42], (GoodsStack{42, 141, 0})); // its count ends at byte 268
    EXPECT_FALSE(services::DecodeMyGoods(BagFrame(entries, 43)));
    EXPECT_FALSE(services::DecodeMyGoods(BagFrame(entries, 255)));
    // A count with its top bit set is malformed.
    EXPECT_FALSE(services::DecodeMyGoods(BagFrame({{3, 5}, {4, 0x80000000u}})));
    EXPECT_FALSE(services::DecodeGoodsChange(ChangeFrame(3, 0x80000001u)));
    EXPECT_EQ(services::DecodeGoodsChange(ChangeFrame(0xFFFF, 0x7FFFFFFF)), (std::pair<int32_t, int32_t>{65535, 0x7FFFFFFF}));
}

TEST(BagFrames, MalformedFramesLeaveTheBagAsItWas)
{
    BagTable t;
    t.Deliver(BagFrame({{3, 5}}));
    std::vector<std::pair<int, uint32_t>> many(43, {1, 1});
    t.Deliver(BagFrame(many));
    t.Deliver(ChangeFrame(3, 0x90000000u));
    EXPECT_EQ(t.c.services.MyGoods, (std::vector<GoodsStack>{{}, {3, 5, 3}}));
    EXPECT_FALSE(t.t.process.ended); // no failure path: the frame is simply dropped
}

struct SplitCase {
    int32_t count;
    std::vector<int32_t> stacks;
};
class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, CutsIntoStacksOfAtMostSixNines)
{
    const std::vector<GoodsStack> bag{{}, {3, GetParam().count, 1}};
    std::vector<int32_t> counts;
    const std::vector<GoodsStack> stacks = services::SplitItemStacks(bag);
    for (std::size_t i = 1; i < stacks.size(); ++i)
        counts.push_back(stacks[i].Count);
    EXPECT_EQ(counts, GetParam().stacks);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitTest,
                         ::testing::Values(SplitCase{2000000, {999999, 999999, 2}}, SplitCase{1999998, {999999, 999999}},
                                           SplitCase{999999, {999999}}, SplitCase{1, {1}}, SplitCase{0, {}},
                                           SplitCase{2147483647, [] {
                                               std::vector<int32_t> v(2147, 999999);
                                               v.push_back(485794);
                                               return v;
                                           }()}));

TEST(ItemBag, WholeBagShowsTheButtonAndKnownGoodsOnly)
{
    BagTable t;
    t.f.Bank.SetVisible(false);
    t.Deliver(BagFrame({{3, 7}, {99, 4}, {3, 9}, {5, 0}}));
    EXPECT_TRUE(t.f.Bank.Visible);
    // Frame order, repeats included; goods 99 has no catalogue entry.
    EXPECT_EQ(t.c.services.MyGoods, (std::vector<GoodsStack>{{}, {3, 7, 3}, {99, 4, 0}, {3, 9, 3}, {5, 0, 5}}));
    EXPECT_EQ(t.StackCounts(), (std::vector<int32_t>{7, 9}));
    EXPECT_EQ(services::GetMyGoodsCount(t.c.services.MyGoods, 3), 7);
    EXPECT_EQ(services::GetMyGoodsCount(t.c.services.MyGoods, 99), 4);
    EXPECT_EQ(t.c.rewards.Bets.Lb_mysmoke.Caption, "7");
    // A bag of none still shows the button and clears the window.
    t.f.Bank.SetVisible(false);
    t.Deliver(BagFrame({}));
    EXPECT_TRUE(t.f.Bank.Visible);
    EXPECT_EQ(t.ShownTiles(), 0);
    EXPECT_TRUE(t.Bag().LblshowPage.Caption.isEmpty());
    EXPECT_FALSE(t.Bag().ImgPage[0].Visible);
}

TEST(ItemBag, ChangesUpdateAppendAndRemoveInOrder)
{
    BagTable t;
    t.Deliver(BagFrame({{1, 1}, {2, 2}, {5, 5}, {6, 6}}));
    t.Deliver(ChangeFrame(2, 0));
    EXPECT_EQ(t.c.services.MyGoods, (std::vector<GoodsStack>{{}, {1, 1, 1}, {5, 5, 5}, {6, 6, 6}}));
    t.Deliver(ChangeFrame(5, 50));
    t.Deliver(ChangeFrame(7, 3));
    t.Deliver(ChangeFrame(8, 0)); // not in the bag, count 0: nothing
    EXPECT_EQ(t.c.services.MyGoods, (std::vector<GoodsStack>{{}, {1, 1, 1}, {5, 50, 5}, {6, 6, 6}, {7, 3, 7}}));
    EXPECT_EQ(t.StackCounts(), (std::vector<int32_t>{1, 50, 6, 3}));
}

TEST(ItemBag, ChangeBeforeAnyBagWorksOnTheEmptyBag)
{
    BagTable t;
    t.Deliver(ChangeFrame(3, 4));
    EXPECT_EQ(t.c.services.MyGoods, (std::vector<GoodsStack>{{}, {3, 4, 3}}));
}

TEST(ItemBag, MoreVideoGoodsBringTheVideoPrompt)
{
    BagTable t;
    t.Deliver(BagFrame({{4, 2}}));
    t.Deliver(ChangeFrame(4, 1));
    EXPECT_FALSE(t.f.pic_gskh_back->isVisible());
    t.Deliver(ChangeFrame(4, 3));
    EXPECT_TRUE(t.f.pic_gskh_back->isVisible());
}

TEST(ItemBag, PagesOfEightAndThePageButtons)
{
    BagTable t;
    t.Deliver(BagFrame({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}));
    ServiceTable::Click(t.f.pic1, t.f.Bank);
    services::GoodsForm& bag = t.Bag();
    ASSERT_TRUE(bag.isVisible());
    EXPECT_EQ(bag.LblshowPage.Caption, "1/2");
    EXPECT_EQ(t.ShownTiles(), 8);
    EXPECT_EQ(bag.iPic1[0]->text(), "1");
    EXPECT_EQ(bag.iPic1[0]->toolTip(), "about 1");
    ServiceTable::Click(&bag, bag.ImgPage[0]); // previous on page 1: nothing
    EXPECT_EQ(bag.LblshowPage.Caption, "1/2");
    ServiceTable::Click(&bag, bag.ImgPage[1]);
    EXPECT_EQ(bag.LblshowPage.Caption, "2/2");
    EXPECT_EQ(t.ShownTiles(), 1);
    EXPECT_EQ(bag.Tag, "2");
    ServiceTable::Click(&bag, bag.ImgPage[1]); // next on the last page: nothing
    EXPECT_EQ(bag.LblshowPage.Caption, "2/2");
    // The stacks drop to one page: the window follows to the last page.
    t.Deliver(ChangeFrame(9, 0));
    EXPECT_EQ(bag.LblshowPage.Caption, "1/1");
    EXPECT_EQ(bag.Tag, "1");
    // Hover pictures, and the surface puts them back.
    testing_support::MoveOver(&bag, testing_support::CentreOf(bag.ImgPage[1]));
    EXPECT_EQ(bag.ImgPage[1].GetPicture().resourceId, 643);
    testing_support::MoveOver(&bag, QPoint(150, 30));
    EXPECT_EQ(bag.ImgPage[1].GetPicture().resourceId, 642);
    ServiceTable::Click(&bag, bag.Imgclose);
    EXPECT_FALSE(bag.isVisible());
    ServiceTable::Click(t.f.pic1, t.f.Bank);
    EXPECT_TRUE(bag.isVisible());
    ServiceTable::Click(t.f.pic1, t.f.Bank);
    EXPECT_FALSE(bag.isVisible());
}

TEST(ItemBag, BankHoverAndTheChatBarPutItBack)
{
    BagTable t;
    testing_support::MoveOver(t.f.pic1, testing_support::CentreOf(t.f.Bank));
    EXPECT_EQ(t.c.services.BankHoverShown, -1);
    EXPECT_EQ(t.f.Bank.GetPicture().resourceId, services::kBankHover);
    // A point of the chat bar that no control on it covers.
    QPoint bar;
    for (int x = static_cast<int>(t.f.imgLocation.Left); bar.isNull() && x < t.f.imgLocation.Left + t.f.imgLocation.Width; ++x)
        if (t.f.pic1->ControlAt(static_cast<float>(x), t.f.imgLocation.Top + 5) == &t.f.imgLocation)
            bar = QPoint(x, static_cast<int>(t.f.imgLocation.Top + 5));
    ASSERT_FALSE(bar.isNull());
    testing_support::MoveOver(t.f.pic1, bar);
    EXPECT_EQ(t.c.services.BankHoverShown, 0);
    EXPECT_EQ(t.f.Bank.GetPicture().resourceId, services::kBankNormal);
}

TEST(ItemBag, MatchSetUpEmptiesTheBag)
{
    BagTable t;
    t.Deliver(BagFrame({{3, 5}}));
    match::InitMatch(t.c);
    EXPECT_EQ(t.c.services.MyGoods.size(), 1u);
    EXPECT_EQ(t.c.services.GoodsStacks.size(), 1u);
    EXPECT_EQ(services::GetMyGoodsCount(t.c.services.MyGoods, 3), 0);
}

} // namespace
