#pragma once

#include "match/match_info.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace match {

// One row of a session's ranking.
struct SortEntry {
    QString nickname;
    int32_t points = 0;
};

// One match the server runs, with its current, next and last-ended session,
// the player's sign-up and ranking, and the prizes.
struct MatchInstance {
    int32_t Id = 0;
    int16_t PrizeBase = 0;
    int16_t ChampionKnown = 0; // -1 when the champion of the last ended session is known
    QString LastStartText;
    PrizeTable LastPrizes = PrizeTable(1);
    int32_t LastSignCount = 0;
    QString ChampionStartText;
    QString ChampionPrize;
    QString ChampionName;
    QString StartText; // "" when no session is scheduled or running
    int32_t Duration = 0;
    QString DurationText;
    uint8_t SignedUp = 0;
    int32_t SignCount = 0;
    PrizeTable Prizes = PrizeTable(1);
    QString NextStartText;
    int32_t NextDuration = 0;
    QString NextDurationText;
    int16_t TypeIndex = 0;
    uint8_t SessionState = 0; // 1 while the current session runs
    int32_t ClockStage = 0;
    double Points = 0;
    int16_t Place = 0;
    std::vector<SortEntry> SortEntries;
    uint32_t SignTick = 0;
    int16_t Mode = 0;
};

// The index (1 to the count) of the first match type / instance with this
// id; 0 for id 0 or when none has it.
int16_t FindMatchType(const std::vector<MatchType>& types, int32_t id);
int16_t FindMatchInstance(const std::vector<MatchInstance>& instances, int32_t id);

// The rows the match list shows: per instance a row for its current session
// (when it has one), then a row for its last session with a known champion.
// Row 0 is an empty record.
std::vector<MatchInstance> SplitMatchInfo(const std::vector<MatchInstance>& instances);

// Gives the instance with this id the prize rows of its match type, the jade
// factors multiplied by `base` (its own PrizeBase when base is 0). False,
// changing nothing, when no instance has the id, when `timeText` is given and
// names another session, or when its type is not assigned.
bool BuildInstancePrizes(std::vector<MatchInstance>& instances, const std::vector<MatchType>& types, int32_t id,
                         int32_t base, const QString& timeText);

// The mode of a match type; 1 when no type has the id.
int16_t MatchModeOf(const std::vector<MatchType>& types, int32_t id);

} // namespace match
