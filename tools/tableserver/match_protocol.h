#pragma once

#include "protocol/frame.h"

#include <cstdint>
#include <string>
#include <vector>

// The frames of a match, server to client, and the match commands a client
// sends. Texts are GBK bytes; ids, times and amounts little-endian.
namespace tableserver::match_proto {

using protocol::GameFrame;

// GBK bytes of a UTF-8 text.
std::string Gbk(const std::string& utf8);

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

// The instance id of a sign-up (72) or ranking request (79).
int32_t CommandInstance(const GameFrame& f);

} // namespace tableserver::match_proto
