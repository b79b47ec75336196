#pragma once

#include "protocol/frame.h"

#include <cstdint>
#include <string>
#include <vector>

// The frames of a match, server to client, and the match commands a client
// sends. Texts are GBK bytes; ids, times and amounts little-endian.
namespace tableserver::match_proto {

using protocol::GameFrame;

// The texts the match sends, GBK.
namespace text {
extern const std::string NoSuchMatch; // "没有这场比赛"
extern const std::string AlreadyRunning; // "比赛已经开始，请报名下一场"
extern const std::string SignedUp; // "报名成功，请准时参赛"
extern const std::string Started; // "比赛开始了，祝您好运！"
extern const std::string Ended; // "本场比赛已经结束。"
extern const std::string ChampionPrize; // "2000金币"
} // namespace text

GameFrame MatchSign(int32_t id, int32_t time, bool confirmed, int count, int32_t base, const std::string& text);
struct StateEntry {
    int32_t id = 0;
    int32_t time = 0;
    bool running = false;
};
GameFrame MatchStates(const std::vector<StateEntry>& entries);
GameFrame MatchStartEnd(int32_t id, int32_t time, int state, const std::string& text);
GameFrame MatchPlace(int kind, int32_t id, int32_t time, int place, int32_t points); // kinds 77 and 78
struct SortRow {
    std::string nickname;
    int32_t points = 0;
};
GameFrame MatchSort(int32_t id, int32_t time, int firstPlace, const std::vector<SortRow>& rows);
GameFrame ServerTime(int32_t time);
struct ListEntry {
    int32_t id = 0;
    int32_t start = -1; // negative: none
    int32_t duration = 0;
    int base = 0;
};
GameFrame MatchList(const std::vector<ListEntry>& entries);
GameFrame MatchUpdate(int32_t id, int32_t start, int32_t duration);
GameFrame MatchSignCount(int32_t id, int32_t time, int count, int32_t base);
GameFrame MatchChampion(int32_t id, int32_t time, const std::string& name, const std::string& prize);
GameFrame Marquee(const std::string& text);
GameFrame AutoSignLead(int32_t seconds);

// The instance id of a sign-up (72) or ranking request (79).
int32_t CommandInstance(const GameFrame& f);

} // namespace tableserver::match_proto
