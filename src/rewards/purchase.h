#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace rewards {

// Most cigarettes one purchase (or one hand's orders together) may take.
constexpr int32_t kMaxPurchase = 1000;

// The catalogue price of a goods (entries 1..n), 0 when it has none.
int32_t GetGoodsPrice(const Client& c, int32_t goodsId);
// The count of a goods in the item bag, 0 when it has none.
int32_t GetMyGoodsCount(const Client& c, int32_t goodsId);

// The money the server last reported minus what a purchase keeps back.
double AvailableMoney(const Client& c);
// How many cigarettes the available money pays for at a price: as many as
// it covers in full (never rounded up), at least 1 and at most 1000; 0 when
// the price is 0 or less, which allows no purchase at all.
int32_t PurchaseLimit(double available, int32_t price);

// A number as the captions write it: no grouping, a fraction only when
// there is one.
QString MoneyText(double value);

// The two captions of the purchase panel: the total and the money at hand.
void ShowBuyTotals(Client& c);
// Opens the purchase panel with a quantity of 1, when a price is known.
void OfferPurchase(Client& c);

// Event handlers of the purchase panel and the strip's purchase button.
void Img_buy_bt_Click(Client& c);
void Txt_buy_num_Change(Client& c);
void Img_buy_add_bt_Click(Client& c);
void Img_buy_reduce_bt_Click(Client& c);
void Img_buy_buy_bt_Click(Client& c);
void Img_buy_close_bt_Click(Client& c);

// At the hand's results: sends the orders collected during the hand and
// clears them, so that they go only once.
void SendDeferredBuy(Client& c);

} // namespace rewards
