#pragma once

#include "match/match_info.h"
#include "protocol/frame.h"

#include <QString>
#include <cstdint>
#include <vector>

class Client;

namespace rewards {

// Cigarettes are goods 3: players bet them.
constexpr int32_t kCigarettes = 3;
// Goods 4 opens the video-site prompt when its count rises.
constexpr int32_t kVideoGoods = 4;
// Sub-codes of the goods command.
constexpr uint8_t kGoodsBuy = 2;
constexpr uint8_t kGoodsBet = 3;

// Pictures of the bet button.
constexpr int kChipBtNormal = 652;
constexpr int kChipBtHover = 653;
constexpr int kChipBtUsed = 654;

// The room grade of the unsigned 64-bit value in the user-info frame: the
// value / 65536, rounded half to even, modulo 256.
int RoomGradeOf(double value);
// The bet ceiling of a grade under the room limits (entries 1..n): 99 for
// grade 0 or no limits, else the entry of the grade, else "other"; 0 when
// nothing matches.
int32_t MaxChipFor(int grade, const std::vector<match::ChipLimit>& limits);
void GetMaxChip(Client& c);

// The name as userinfo.ini stores it: characters that could break a line or
// a key (CR, LF, quotes, brackets, '=', ';', '%', blanks and other control
// characters) become %XX, so that every name reads back as written.
QString IniSafeName(const QString& name);
// The path of userinfo.ini in the data folder; "" without a data folder.
QString UserInfoIniPath(const Client& c);
int16_t LoadDefaultChip(Client& c);
void SaveDefaultChip(Client& c, int16_t chip);

// The bet box: the default bet (bounded by the stock) into the box, sent
// when it changed or when forced.
void RefreshChipBox(Client& c, bool force);

// The leading number of a box's text (0 when it has none).
double BoxNumber(const QString& text);

// Event handlers of the strip's bet controls.
void Txt_chip_Change(Client& c);
void Img_add_bt_Click(Client& c);
void Img_reduce_bt_Click(Client& c);
void Img_chip_bt_Click(Client& c);

// The goods-bag frames as they touch the bets: the stock caption, the bet
// box, the next ready's refresh and the video-site prompt.
void OnMyGoodsFrame(Client& c, const protocol::GameFrame& frame);
void OnGoodsChangeFrame(Client& c, const protocol::GameFrame& frame);

} // namespace rewards
