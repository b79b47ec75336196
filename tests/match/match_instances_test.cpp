// The match instance table: look-ups by id, the list rows of current and
// ended sessions, prize rows with the jade factor worked out, match modes.
#include "match/match_instances.h"

#include <gtest/gtest.h>

using namespace match;

namespace {

MatchInstance Instance(int32_t id, const QString& start = QString())
{
    MatchInstance m;
    m.Id = id;
    m.StartText = start;
    return m;
}

std::vector<MatchType> Types(std::initializer_list<std::pair<int32_t, int16_t>> idAndMode)
{
    std::vector<MatchType> types(1);
    for (auto [id, mode] : idAndMode) {
        MatchType t;
        t.id = id;
        t.mtype = mode;
        types.push_back(t);
    }
    return types;
}

} // namespace

TEST(MatchInstances, LookUpsFindTheFirstEntryAndNeverIdZero)
{
    std::vector<MatchInstance> list{MatchInstance{}, Instance(0), Instance(5), Instance(5), Instance(9)};
    EXPECT_EQ(FindMatchInstance(list, 0), 0);
    EXPECT_EQ(FindMatchInstance(list, 5), 2);
    EXPECT_EQ(FindMatchInstance(list, 9), 4);
    EXPECT_EQ(FindMatchInstance(list, 7), 0);
    EXPECT_EQ(FindMatchInstance(std::vector<MatchInstance>(1), 5), 0);

    const auto types = Types({{3, 1}, {4, 2}});
    EXPECT_EQ(FindMatchType(types, 4), 2);
    EXPECT_EQ(FindMatchType(types, 0), 0);
    EXPECT_EQ(FindMatchType(Types({}), 4), 0);
}

TEST(MatchInstances, TheListHasASessionRowThenAResultRowPerInstance)
{
    std::vector<MatchInstance> instances(1);
    instances.push_back(Instance(1)); // no session, no champion: no row
    MatchInstance both = Instance(2, QStringLiteral("20:00:00"));
    both.ChampionKnown = -1;
    both.ChampionStartText = QStringLiteral("18:00:00");
    both.SignedUp = 1;
    both.SessionState = 1;
    both.SignCount = 40;
    instances.push_back(both);
    MatchInstance ended = Instance(3);
    ended.ChampionKnown = -1;
    ended.ChampionStartText = QStringLiteral("12:00:00");
    instances.push_back(ended);
    MatchInstance unknown = Instance(4);
    unknown.ChampionStartText = QStringLiteral("09:00:00"); // champion not known: no row
    instances.push_back(unknown);

    const auto list = SplitMatchInfo(instances);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].Id, 0);
    EXPECT_EQ(list[1].Id, 2);
    EXPECT_EQ(list[1].StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(list[1].ChampionKnown, 0);
    EXPECT_EQ(list[1].SignCount, 40);
    EXPECT_EQ(list[2].Id, 2);
    EXPECT_EQ(list[2].StartText, QStringLiteral("18:00:00"));
    EXPECT_EQ(list[2].ChampionKnown, -1);
    EXPECT_EQ(list[2].SignedUp, 0);
    EXPECT_EQ(list[2].SessionState, 0);
    EXPECT_EQ(list[2].SignCount, 0);
    EXPECT_EQ(list[3].Id, 3);
    EXPECT_EQ(list[3].StartText, QStringLiteral("12:00:00"));

    EXPECT_EQ(SplitMatchInfo(std::vector<MatchInstance>(1)).size(), 1u);
}

TEST(MatchInstances, PrizesTakeTheJadeFactorTimesTheBase)
{
    std::vector<MatchType> types(2);
    types[1].id = 7;
    types[1].PrizeRows = {
        {QStringLiteral("第1名"), QStringLiteral("100金币+翡翠奖励×2"), QStringLiteral("2")},
        {QStringLiteral("第2名"), QStringLiteral("翡翠奖励×1.5"), QStringLiteral("1.5")},
        {QStringLiteral("第3名"), QStringLiteral("翡翠奖励×0"), QStringLiteral("0")},
        {QStringLiteral("第4名"), QStringLiteral("50金币"), QString()},
    };
    const struct {
        int32_t base;
        int16_t prizeBase;
        QString first, second;
    } cases[] = {
        {7, 3, QStringLiteral("100金币+14个翡翠"), QStringLiteral("10个翡翠")}, // 7 × 1.5 = 10.5 is cut to 10
        {0, 30, QStringLiteral("100金币+60个翡翠"), QStringLiteral("45个翡翠")},
        {5, 0, QStringLiteral("100金币+10个翡翠"), QStringLiteral("7个翡翠")},
    };
    for (const auto& c : cases) {
        std::vector<MatchInstance> instances{MatchInstance{}, Instance(7, QStringLiteral("20:00:00"))};
        instances[1].TypeIndex = 1;
        instances[1].PrizeBase = c.prizeBase;
        ASSERT_TRUE(BuildInstancePrizes(instances, types, 7, c.base, QString()));
        const PrizeTable& p = instances[1].Prizes;
        ASSERT_EQ(p.size(), 4u);
        EXPECT_EQ(p[0].prize, c.first) << "base " << c.base;
        EXPECT_EQ(p[1].prize, c.second) << "base " << c.base;
        EXPECT_EQ(p[2].prize, QStringLiteral("翡翠奖励×0"));
        EXPECT_EQ(p[3].prize, QStringLiteral("50金币"));
        EXPECT_EQ(p[0].place, QStringLiteral("第1名"));
        EXPECT_EQ(p[0].jade, QStringLiteral("2"));
    }
}

TEST(MatchInstances, PrizesAreRefusedWithoutChangeForAnotherSessionOrAnUnassignedType)
{
    std::vector<MatchType> types(2);
    types[1].id = 7;
    types[1].PrizeRows = {{QStringLiteral("第1名"), QStringLiteral("1金币"), QString()}};
    std::vector<MatchInstance> instances{MatchInstance{}, Instance(7, QStringLiteral("20:00:00")), Instance(8)};
    instances[1].TypeIndex = 1;
    instances[2].TypeIndex = 0;
    const PrizeTable before = instances[1].Prizes;

    EXPECT_FALSE(BuildInstancePrizes(instances, types, 7, 0, QStringLiteral("21:00:00")));
    EXPECT_FALSE(BuildInstancePrizes(instances, types, 8, 0, QString()));
    EXPECT_FALSE(BuildInstancePrizes(instances, types, 9, 0, QString()));
    EXPECT_FALSE(BuildInstancePrizes(instances, types, 0, 0, QString()));
    instances[1].TypeIndex = 2; // past the types
    EXPECT_FALSE(BuildInstancePrizes(instances, types, 7, 0, QString()));
    EXPECT_EQ(instances[1].Prizes, before);

    instances[1].TypeIndex = 1;
    EXPECT_TRUE(BuildInstancePrizes(instances, types, 7, 0, QStringLiteral("20:00:00")));
    EXPECT_EQ(instances[1].Prizes, types[1].PrizeRows);
}

TEST(MatchInstances, MatchModeIsTheTypesOwnOrOne)
{
    EXPECT_EQ(MatchModeOf(Types({}), 5), 1);
    EXPECT_EQ(MatchModeOf(Types({{5, 3}, {6, 1}}), 5), 3);
    EXPECT_EQ(MatchModeOf(Types({{5, 3}}), 6), 1);
    EXPECT_EQ(MatchModeOf(Types({{5, 0}}), 5), 0);
}
