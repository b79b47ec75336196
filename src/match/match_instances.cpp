#include "match/match_instances.h"

#include "core/numeric.h"

#include <cmath>

namespace match {

namespace {

template <typename Entry, typename IdOf>
int16_t FindById(const std::vector<Entry>& table, int32_t id, IdOf idOf)
{
    if (id == 0)
        return 0;
    for (std::size_t i = 1; i < table.size(); ++i)
        if (idOf(table[i]) == id)
            return static_cast<int16_t>(i);
    return 0;
}

} // namespace

int16_t FindMatchType(const std::vector<MatchType>& types, int32_t id)
{
    return FindById(types, id, [](const MatchType& t) { return t.id; });
}

int16_t FindMatchInstance(const std::vector<MatchInstance>& instances, int32_t id)
{
    return FindById(instances, id, [](const MatchInstance& m) { return m.Id; });
}

std::vector<MatchInstance> SplitMatchInfo(const std::vector<MatchInstance>& instances)
{
    std::vector<MatchInstance> list(1);
    for (std::size_t i = 1; i < instances.size(); ++i) {
        const MatchInstance& m = instances[i];
        if (!m.StartText.isEmpty()) {
            list.push_back(m);
            list.back().ChampionKnown = 0;
        }
        if (!m.ChampionStartText.isEmpty() && m.ChampionKnown != 0) {
            MatchInstance row = m;
            row.StartText = m.ChampionStartText;
            row.ChampionKnown = -1;
            row.SignedUp = 0;
            row.SessionState = 0;
            row.SignCount = 0;
            list.push_back(std::move(row));
        }
    }
    return list;
}

bool BuildInstancePrizes(std::vector<MatchInstance>& instances, const std::vector<MatchType>& types, int32_t id,
                         int32_t base, const QString& timeText)
{
    if (id < 1)
        return false;
    const int16_t i = FindMatchInstance(instances, id);
    if (i == 0)
        return false;
    MatchInstance& m = instances[static_cast<std::size_t>(i)];
    if (!timeText.isEmpty() && timeText != m.StartText)
        return false;
    const int t = m.TypeIndex;
    if (t < 1 || static_cast<std::size_t>(t) >= types.size())
        return false;
    m.Prizes = types[static_cast<std::size_t>(t)].PrizeRows;
    const double d = base != 0 ? base : m.PrizeBase;
    for (PrizeRow& row : m.Prizes) {
        const double f = core::LeadingNumber(row.jade);
        if (!(f > 0))
            continue;
        const QString jade = QString::number(std::trunc(d * f), 'f', 0) + QStringLiteral("个翡翠");
        row.prize.replace(QStringLiteral("翡翠奖励×") + row.jade, jade, Qt::CaseInsensitive);
    }
    return true;
}

int16_t MatchModeOf(const std::vector<MatchType>& types, int32_t id)
{
    for (std::size_t i = 1; i < types.size(); ++i)
        if (types[i].id == id)
            return types[i].mtype;
    return 1;
}

} // namespace match
