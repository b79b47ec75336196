#include "rewards/purchase.h"

#include "app/client.h"
#include "chat/chat.h"
#include "chat/emoticon_picker.h"
#include "core/numeric.h"
#include "results/result_forms.h"
#include "rewards/bets.h"
#include "rewards/goods_cmd.h"
#include "services/item_bag.h"

#include <cmath>

namespace rewards {

namespace {

const QString kNotEnough = QStringLiteral("您的可用金额不足！");

int32_t Whole(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

int32_t QuantityOf(const BetsState& b) { return b.Txt_buy_num ? Whole(BoxNumber(b.Txt_buy_num->Text())) : 0; }

void SetQuantity(BetsState& b, int32_t n)
{
    const QString text = QString::number(n);
    if (b.Txt_buy_num && b.Txt_buy_num->Text() != text)
        b.Txt_buy_num->SetText(text);
}

// The quantity the box may hold: within the limit, and during a hand within
// what the orders of the hand leave of it.
int32_t BoundedQuantity(const Client& c, int32_t n)
{
    const int32_t limit = PurchaseLimit(AvailableMoney(c), GetGoodsPrice(c, kCigarettes));
    if (limit <= 0)
        return 0;
    if (c.rewards.BuyDeferred) {
        const int32_t ordered = c.rewards.DeferredBuy;
        if (static_cast<int64_t>(n) + ordered <= 0)
            n = 1;
        if (static_cast<int64_t>(n) + ordered > limit)
            n = limit - ordered < 1 ? 0 : limit - ordered;
        return n;
    }
    if (n <= 0)
        n = 1;
    return std::min(n, limit);
}

} // namespace

int32_t GetGoodsPrice(const Client& c, int32_t goodsId)
{
    const std::vector<match::GoodsItem>& goods = c.match.tables.GoodsInfo;
    for (std::size_t i = 1; i < goods.size(); ++i)
        if (goods[i].id == goodsId)
            return goods[i].price;
    return 0;
}

int32_t GetMyGoodsCount(const Client& c, int32_t goodsId) { return services::GetMyGoodsCount(c.services.MyGoods, goodsId); }

double AvailableMoney(const Client& c) { return c.game.UserInfos[0].Coins - c.match.ReservedMoney; }

int32_t PurchaseLimit(double available, int32_t price)
{
    if (price <= 0)
        return 0;
    if (!(available > price))
        return 1;
    const double whole = std::floor(available / price);
    return static_cast<int32_t>(std::clamp(whole, 1.0, static_cast<double>(kMaxPurchase)));
}

QString MoneyText(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

void ShowBuyTotals(Client& c)
{
    BetsState& b = c.rewards.Bets;
    const double money = c.game.UserInfos[0].Coins;
    const double n = b.Txt_buy_num ? BoxNumber(b.Txt_buy_num->Text()) : 0;
    b.Lb_buy_all.SetCaption(QStringLiteral("合计：") + MoneyText(n * GetGoodsPrice(c, kCigarettes)));
    const double shown = money < c.match.ReservedMoney ? money : AvailableMoney(c);
    b.Lb_buy_my.SetCaption(QStringLiteral("可用金额：") + MoneyText(shown) + QStringLiteral("金"));
}

void OfferPurchase(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (GetGoodsPrice(c, kCigarettes) > 0 && b.Pic_buy) {
        b.Pic_buy->move(408, 376);
        b.Pic_buy->show();
        b.Pic_buy->raise();
    }
    b.Lb_buy_all.SetCaption(QString());
    if (b.Txt_buy_num)
        b.Txt_buy_num->SetText(QStringLiteral("1"));
    Txt_buy_num_Change(c);
    ShowBuyTotals(c);
}

void Img_buy_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (!b.Pic_buy)
        return;
    if (b.Pic_buy->isVisible()) {
        b.Pic_buy->hide();
        return;
    }
    c.frmBiaoqing->hide();
    if (platform::Form* rule = c.window.FrmRule ? c.window.FrmRule() : nullptr)
        rule->hide();
    c.Hero->hide();
    c.Score->hide();
    if (GetGoodsPrice(c, kCigarettes) > 0)
        OfferPurchase(c);
}

void Txt_buy_num_Change(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.InBuyNumChange || !b.Txt_buy_num)
        return;
    b.InBuyNumChange = true;
    SetQuantity(b, BoundedQuantity(c, QuantityOf(b)));
    ShowBuyTotals(c);
    b.InBuyNumChange = false;
}

void Img_buy_add_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    const int64_t up = static_cast<int64_t>(QuantityOf(b)) + 100;
    const int32_t next = static_cast<int32_t>(std::min<int64_t>(up - up % 100, 2147483647));
    SetQuantity(b, next);
    Txt_buy_num_Change(c);
    ShowBuyTotals(c);
}

void Img_buy_reduce_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    const int32_t n = QuantityOf(b);
    if (n >= 100) {
        SetQuantity(b, n - 100 <= 0 ? 1 : n - 100);
        Txt_buy_num_Change(c);
    }
    ShowBuyTotals(c);
}

void Img_buy_buy_bt_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    RewardsState& r = c.rewards;
    const int32_t price = GetGoodsPrice(c, kCigarettes);
    const double available = AvailableMoney(c);
    if (price <= 0)
        return; // nothing to buy at an unknown price
    if (available < price) {
        chat::AddSystemLine(c, kNotEnough);
        return;
    }
    const int32_t limit = PurchaseLimit(available, price);
    if (!r.BuyDeferred) {
        SetQuantity(b, BoundedQuantity(c, QuantityOf(b)));
        const int32_t n = QuantityOf(b);
        if (n > 0 && n <= limit && static_cast<double>(n) * price <= available) {
            SendGoodsCmd(c, kGoodsBuy, kCigarettes, n);
            const double rest = available - static_cast<double>(price) * n;
            if (rest > 0)
                b.Lb_buy_my.SetCaption(QStringLiteral("可用金额：") + MoneyText(rest) + QStringLiteral("金"));
        }
        return;
    }
    SetQuantity(b, BoundedQuantity(c, QuantityOf(b)));
    const int32_t n = QuantityOf(b);
    r.DeferredBuy = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(n) + r.DeferredBuy, 0, kMaxPurchase));
    if (n > 0 && r.DeferredBuy >= 1 && r.DeferredBuy <= kMaxPurchase && r.DeferredBuy <= limit) {
        r.DeferredBuyOn = -1;
        chat::AddSystemLine(c, QStringLiteral("您提交购买") + QString::number(r.DeferredBuy) +
                                   QStringLiteral("根香烟的订单，游戏结束时交易生效！"));
    }
}

void Img_buy_close_bt_Click(Client& c)
{
    if (c.rewards.Bets.Pic_buy)
        c.rewards.Bets.Pic_buy->hide();
}

void SendDeferredBuy(Client& c)
{
    RewardsState& r = c.rewards;
    if (!r.DeferredBuyOn)
        return;
    // Cleared before it leaves: an order goes out once. Each order was
    // bounded by the money when it was placed.
    const int32_t ordered = r.DeferredBuy;
    r.DeferredBuyOn = 0;
    r.DeferredBuy = 0;
    SendGoodsCmd(c, kGoodsBuy, kCigarettes, ordered);
}

} // namespace rewards
