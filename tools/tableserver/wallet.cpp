#include "wallet.h"

#include "protocol.h"

#include <algorithm>

namespace tableserver {

namespace {

const std::string kLucky = "\xD0\xD2\xD4\xCB\xBD\xB1"; // "幸运奖"
const std::string kBig = "\xB4\xF3\xBD\xB1";           // "大奖"
const std::string kRobot = "\xBB\xFA\xC6\xF7\xC8\xCB"; // "机器人"

int32_t Le32(const protocol::GameFrame& f, int at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | f[static_cast<std::size_t>(at + i)];
    return static_cast<int32_t>(v);
}

constexpr int kRecordFixed = 56;

int RecordSize(const Winner& w) { return kRecordFixed + 6 * static_cast<int>(w.items.size()); }

} // namespace

int32_t Wallet::Count(int32_t goodsId) const
{
    for (const auto& [id, count] : goods)
        if (id == goodsId)
            return count;
    return 0;
}

void Wallet::SetCount(int32_t goodsId, int32_t count)
{
    auto it = std::find_if(goods.begin(), goods.end(), [&](const auto& g) { return g.first == goodsId; });
    if (it != goods.end()) {
        if (count > 0)
            it->second = count;
        else
            goods.erase(it);
    } else if (count > 0) {
        goods.emplace_back(goodsId, count);
    }
}

Wallet FreshWallet(const WalletConfig& config)
{
    Wallet w;
    w.SetCount(kCigarettes, config.startCigarettes);
    return w;
}

GoodsOrder ReadGoodsOrder(const protocol::GameFrame& frame)
{
    return GoodsOrder{frame[protocol::goods_byte::SubCode], Le32(frame, protocol::goods_byte::GoodsId),
                      Le32(frame, protocol::goods_byte::Count)};
}

std::string Buy(Wallet& wallet, int64_t& coins, const GoodsOrder& order, const WalletConfig& config, int64_t reserve)
{
    if (order.goodsId != kCigarettes)
        return "only cigarettes are sold";
    if (order.count < 1 || order.count > kMaxGoodsOrder)
        return "count outside 1-1000";
    if (config.cigarettePrice <= 0)
        return "no price";
    const int64_t cost = static_cast<int64_t>(config.cigarettePrice) * order.count;
    if (coins - reserve < cost)
        return "not enough coins";
    const int64_t after = static_cast<int64_t>(wallet.Count(kCigarettes)) + order.count;
    if (after > 0x7FFFFFFF)
        return "stock full";
    coins -= cost;
    wallet.SetCount(kCigarettes, static_cast<int32_t>(after));
    return {};
}

std::string SetBet(Wallet& wallet, const GoodsOrder& order)
{
    if (order.goodsId != kCigarettes)
        return "only cigarettes are bet";
    if (order.count < 1 || order.count > kMaxGoodsOrder)
        return "count outside 1-1000";
    wallet.bet = order.count;
    return {};
}

int32_t StakeBet(Wallet& wallet)
{
    const int32_t taken = std::min(wallet.bet, wallet.Count(kCigarettes));
    if (taken > 0)
        wallet.SetCount(kCigarettes, wallet.Count(kCigarettes) - taken);
    return taken;
}

std::vector<Winner> SampleWinners()
{
    std::vector<Winner> out;
    for (int i = 1; i <= 4; ++i) {
        Winner w;
        w.id = i;
        w.label = i == 4 ? kBig : kLucky;
        w.time = 1767225600 + 3600 * i; // 2026-01-01, hour by hour
        w.nickname = kRobot + std::to_string(i);
        w.number = static_cast<int16_t>(i);
        w.amount = 1000 * i;
        w.items = {{kCigarettes, i}};
        if (i == 4) {
            w.items = {{9, 1}}; // the big prize: tea
            w.klass = 1;
        }
        out.push_back(w);
    }
    return out;
}

namespace proto {

protocol::GameFrame Bag(const Wallet& wallet)
{
    protocol::GameFrame f = tableserver::proto::Header(protocol::MsgMyGoods, 0);
    const int n = std::min(kMaxBagEntries, static_cast<int>(wallet.goods.size()));
    f[protocol::goods_bag_byte::EntryCount] = static_cast<uint8_t>(n);
    for (int k = 0; k < n; ++k) {
        const int at = protocol::goods_bag_byte::Entries + protocol::goods_bag_byte::EntrySize * k;
        PutLittle(f, at, static_cast<uint64_t>(wallet.goods[static_cast<std::size_t>(k)].first), 2);
        PutLittle(f, at + 2, static_cast<uint32_t>(wallet.goods[static_cast<std::size_t>(k)].second), 4);
    }
    return f;
}

protocol::GameFrame GoodsChange(int32_t goodsId, int32_t count)
{
    protocol::GameFrame f = tableserver::proto::Header(protocol::MsgGoodsChange, 0);
    PutLittle(f, protocol::goods_bag_byte::ChangeGoodsId, static_cast<uint64_t>(goodsId), 2);
    PutLittle(f, protocol::goods_bag_byte::ChangeCount, static_cast<uint32_t>(count), 4);
    return f;
}

protocol::GameFrame PrizeList(const std::vector<Winner>& winners, int32_t afterId)
{
    namespace pb = protocol::prize_list_byte;
    protocol::GameFrame f = tableserver::proto::Header(protocol::MsgPrizeLists, 0);
    f[pb::ListKind] = 4;
    int at = pb::Records;
    int count = 0;
    for (const Winner& w : winners) {
        if (w.id <= afterId)
            continue;
        if (at + RecordSize(w) > protocol::kFrameSize || count == 255) {
            f[pb::More] = 255;
            break;
        }
        PutLittle(f, at, static_cast<uint32_t>(w.id), 4);
        PutText(f, at + 4, w.label, 16);
        PutLittle(f, at + 20, static_cast<uint32_t>(w.time), 4);
        PutText(f, at + 24, w.nickname, 24);
        PutLittle(f, at + 48, static_cast<uint16_t>(w.number), 2);
        PutLittle(f, at + 50, static_cast<uint32_t>(w.amount), 4);
        f[static_cast<std::size_t>(at + 54)] = static_cast<uint8_t>(w.items.size());
        int p = at + 55;
        for (const auto& [id, n] : w.items) {
            PutLittle(f, p, static_cast<uint64_t>(id), 2);
            PutLittle(f, p + 2, static_cast<uint32_t>(n), 4);
            p += 6;
        }
        f[static_cast<std::size_t>(p)] = w.klass;
        at += RecordSize(w);
        ++count;
    }
    f[pb::RecordCount] = static_cast<uint8_t>(count);
    return f;
}

int32_t PrizeListAfter(const protocol::GameFrame& frame) { return Le32(frame, protocol::prize_list_byte::RequestId); }

protocol::GameFrame PrizePool(int64_t pool)
{
    namespace pn = protocol::prize_notice_byte;
    protocol::GameFrame f = tableserver::proto::Header(protocol::MsgPrizeNotice, 0);
    PutLittle(f, pn::Mode, 1, 2);
    PutText(f, pn::Text, std::to_string(pool), pn::TextLast - pn::Text);
    return f;
}

protocol::GameFrame HandPrize(int64_t prize, int64_t jade)
{
    namespace pn = protocol::prize_notice_byte;
    protocol::GameFrame f = tableserver::proto::Header(protocol::MsgPrizeNotice, 0);
    PutLittle(f, pn::Mode, 7, 2);
    const std::string text = "0;" + std::to_string(prize) + ";0;" + std::to_string(jade);
    PutText(f, pn::Text + 1, text, pn::TextLast - pn::Text - 1);
    return f;
}

} // namespace proto

} // namespace tableserver
