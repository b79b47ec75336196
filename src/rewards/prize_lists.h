#pragma once

#include "match/match_info.h"
#include "protocol/frame.h"
#include "rewards/bets_state.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class Client;

namespace rewards {

// A received list of lottery winners (kind 94, list kind 4).
struct PrizeListFrame {
    bool More = false; // more winners wait on the server
    std::vector<PrizeRecord> Records;
};

// Decodes a winner-list frame. Nothing when the list kind is not 4, or when
// a record would run past the frame's last byte (the whole frame is then
// dropped).
std::optional<PrizeListFrame> DecodePrizeLists(const protocol::GameFrame& frame);

// Files a record into the winner list (newest first, nine rows) and offers
// what drops out, or what is older than all nine, to the big prizes.
void InsertPrizeRecord(BetsState& b, const PrizeRecord& record);

// The first catalogue index (0..n) of a goods id; -1 when there is none.
int FindGoodsIndex(const std::vector<match::GoodsItem>& goods, int32_t goodsId);
// "name count unit " for every item the catalogue knows.
QString FormatPrizeItems(const std::vector<match::GoodsItem>& goods, int count, const std::vector<int32_t>& ids,
                         const std::vector<int32_t>& counts);

// One drawn row of the winner lists: six texts and their colour.
struct PrizeRow {
    std::array<QString, 6> Texts;
    uint32_t Color = 0; // 0x00BBGGRR
};
// The rows the panel shows: winners, the last rows giving way to the big
// prizes.
std::vector<PrizeRow> PrizeListRows(const Client& c);

// Handles a received kind-94 frame.
void OnPrizeListMsg(Client& c, const protocol::GameFrame& frame);
// Draws the lists into the winner-list panel.
void DrawPrizeList(Client& c);
// Asks the server for the winners newer than an id (0: all of them).
void Send94(Client& c, int32_t newestId);

void bt_prizesort_Click(Client& c);
void bt_prizesort_MouseMove(Client& c);

} // namespace rewards
