#pragma once

#include "protocol/frame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The goods a seat owns besides its coins, what it buys and bets, and the
// lottery winners the server lists. Pure: no sockets, no clock.
namespace tableserver {

constexpr int32_t kCigarettes = 3;
constexpr int32_t kMaxGoodsOrder = 1000; // most cigarettes one purchase or bet takes
constexpr int kMaxBagEntries = 42;        // entries one bag frame holds

struct WalletConfig {
    bool on = false;              // players have goods (--goods): bags, purchases, bets, prize lists
    int32_t cigarettePrice = 20;  // coins per cigarette, as the sample match-info document says
    int32_t startCigarettes = 10; // every player starts with these
};

// One seat's goods in the order they were first owned, and its bet per hand.
struct Wallet {
    std::vector<std::pair<int32_t, int32_t>> goods; // goods id, count above 0
    int32_t bet = 0;

    int32_t Count(int32_t goodsId) const;
    // Sets a goods' count; a count of 0 removes it.
    void SetCount(int32_t goodsId, int32_t count);
};

Wallet FreshWallet(const WalletConfig& config);

// A goods command from a client (kind 93).
struct GoodsOrder {
    int subCode = 0; // 2 buy, 3 set the bet
    int32_t goodsId = 0;
    int32_t count = 0;
};
GoodsOrder ReadGoodsOrder(const protocol::GameFrame& frame);

// Buys cigarettes with coins, keeping `reserve` coins back. Empty when done;
// otherwise why the purchase was refused (nothing changed).
std::string Buy(Wallet& wallet, int64_t& coins, const GoodsOrder& order, const WalletConfig& config, int64_t reserve);
// Sets the bet per hand. Empty when done; otherwise why it was refused.
std::string SetBet(Wallet& wallet, const GoodsOrder& order);
// Takes the bet of a hand from the stock: the bet, or the whole stock when
// it holds less. Returns what was taken.
int32_t StakeBet(Wallet& wallet);

// One lottery winner as the prize lists show it.
struct Winner {
    int32_t id = 0;
    std::string label;    // GBK, at most 16 bytes
    int32_t time = 0;     // seconds since 1970
    std::string nickname; // GBK, at most 24 bytes
    int16_t number = 0;
    int32_t amount = 0;
    std::vector<std::pair<int32_t, int32_t>> items; // goods id, count
    uint8_t klass = 255;  // 255: no big prize
};
// The winners the server shows, oldest first.
std::vector<Winner> SampleWinners();

// The lottery's prize pool: it starts at kStartPool and every staked
// cigarette adds kPoolPerCigarette. Players hear of it when they ask (kind 95)
// and after every second hand.
constexpr int64_t kStartPool = 1000000;
constexpr int64_t kPoolPerCigarette = 100;
// True after every `every`th hand (never when `every` is 0).
constexpr bool EveryNthHand(int every, int handsPlayed)
{
    return every > 0 && handsPlayed > 0 && handsPlayed % every == 0;
}
constexpr bool PoolNoticeDue(int handsPlayed) { return EveryNthHand(2, handsPlayed); }

// A hand's rewards (--rewards N): after every Nth hand each player at the
// table is told of a lottery prize and a jade reward, which the client shows
// before the score window.
constexpr int64_t kHandLotteryPrize = 5000;
constexpr int64_t kHandJade = 12;

namespace proto {
// The whole bag (kind 85): at most 42 entries.
protocol::GameFrame Bag(const Wallet& wallet);
// One goods' new count (kind 86).
protocol::GameFrame GoodsChange(int32_t goodsId, int32_t count);
// The winners newer than `afterId` (kind 94, list kind 4), as many as the
// frame holds; byte 17 is 255 when more are left.
protocol::GameFrame PrizeList(const std::vector<Winner>& winners, int32_t afterId);
// The id a prize-list request (kind 94 from a client) asks after.
int32_t PrizeListAfter(const protocol::GameFrame& frame);
// The prize pool (kind 95, mode 1): the value as decimal text from byte 18.
protocol::GameFrame PrizePool(int64_t pool);
// A player's own result of the hand (kind 95, mode 7): byte 18 stays 0 and
// from byte 19 four fields as decimal text, "0;prize;0;jade". The client
// rolls a prize of 1000 or more and shows a jade reward above 0; the first
// and third fields it does not read.
protocol::GameFrame HandPrize(int64_t prize, int64_t jade);
} // namespace proto

} // namespace tableserver
