#pragma once

#include "services/service_window.h"
#include "protocol/frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class Client;

namespace widgets {
class IPic;
}

namespace services {

// One goods entry of the bag, and one display stack of it.
struct GoodsStack {
    int32_t GoodsId = 0;
    int32_t Count = 0;
    int16_t InfoIndex = 0; // index in the goods catalogue; 0 when it has none
    bool operator==(const GoodsStack&) const = default;
};

// Pictures of the bag window and the table's bag button.
constexpr int kBagBackground = 1160;
constexpr int kBagPrevNormal = 640;
constexpr int kBagPrevHover = 641;
constexpr int kBagNextNormal = 642;
constexpr int kBagNextHover = 643;
constexpr int kBagCloseNormal = 550;
constexpr int kBagCloseHover = 551;
constexpr int kBankNormal = 1450;
constexpr int kBankHover = 1451;
constexpr int kBagWidth = 296;
constexpr int kBagHeight = 220;
constexpr int kBagTiles = 8;
// Most pieces one stack holds.
constexpr int32_t kStackMax = 999999;

// The bag as a kind-85 frame sends it: entries 1..n (entry 0 empty), their
// catalogue index still 0. Nothing when the frame is malformed: more than 42
// entries, or a count with its top bit set.
std::optional<std::vector<GoodsStack>> DecodeMyGoods(const protocol::GameFrame& frame);
// The goods id and new count of a kind-86 frame; nothing when the count has
// its top bit set.
std::optional<std::pair<int32_t, int32_t>> DecodeGoodsChange(const protocol::GameFrame& frame);

// The display stacks of a bag (entries 1..N), entry 0 empty: every goods the
// catalogue knows, cut into stacks of at most 999999 pieces.
std::vector<GoodsStack> SplitItemStacks(const std::vector<GoodsStack>& myGoods);

// The count of the first bag entry of a goods, 0 when none.
int32_t GetMyGoodsCount(const std::vector<GoodsStack>& myGoods, int32_t goodsId);

// FrmGoods: the item bag, 8 tiles to a page.
class GoodsForm : public ServiceWindow {
    Q_OBJECT
public:
    explicit GoodsForm(QWidget* owner);

    std::array<widgets::IPic*, kBagTiles> iPic1{};
    platform::ControlArray<platform::Image> ImgPage;
    platform::Image Imgclose{QStringLiteral("Imgclose")};
    platform::Label LblshowPage{QStringLiteral("LblshowPage")};
    std::function<void()> FormMouseMove;
    QString Tag = QStringLiteral("1"); // the page shown last
    bool PlacedOnce = false;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The bag window, made (hidden) on first use.
GoodsForm& GoodsWindow(Client& c);

// A whole bag arrived (kind 85): the bag is replaced, the bag button shown,
// the window redrawn at its page. False when the frame was malformed and
// dropped.
bool MsgMyGoods(Client& c, const protocol::GameFrame& frame);

// One goods changed (kind 86): its entry updated, appended or removed, and
// the window redrawn. The goods and its count before and after; nothing when
// the frame was malformed and dropped.
struct GoodsChange {
    int32_t GoodsId = 0;
    int32_t Before = 0;
    int32_t After = 0;
};
std::optional<GoodsChange> MsgGoodsChange(Client& c, const protocol::GameFrame& frame);

// Fills the window with a page (lowered to the last page that exists).
void ShowGoodsPage(Client& c, int16_t page);

void ImgPage_Click(Client& c, int index);
void ImgPage_MouseMove(Client& c, int index);
void Imgclose_Click(Client& c);
void Imgclose_MouseMove(Client& c);
void FrmGoods_Form_MouseMove(Client& c);

// The table's bag button and the bar beside it.
void Bank_Click(Client& c);
void Bank_MouseMove(Client& c);
void Bank_MouseOut(Client& c); // the bar's and the table's mouse moves

} // namespace services
