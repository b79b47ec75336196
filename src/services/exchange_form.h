#pragma once

#include "services/service_window.h"

#include <QStringList>
#include <array>
#include <cstdint>

class Client;

namespace services {

// One prize of the exchange: its name, price and perhaps an extra line, and
// its picture.
struct ExchangeItem {
    QStringList Texts;
    int16_t PictureId = 0;
};

// Pictures and size of the exchange window.
constexpr int kExchangeBackground = 1148;
constexpr int kExchangeCellFrame = 1149;
constexpr int kExchangeScroll = 1150;
constexpr int kExchangePageDown = 1151;
constexpr int kExchangePageUp = 1152;
constexpr int kExchangeLinkNormal = 830;
constexpr int kExchangeLinkPressed = 831;
constexpr int kExchangeVipNormal = 416;
constexpr int kExchangeVipHover = 417;
constexpr int kJadeExchNormal = 560;
constexpr int kJadeExchHover = 561;
constexpr int kExchangeWidth = 522;
constexpr int kExchangeHeight = 490;
constexpr int kExchangeCells = 8;

// exchangeFrm: twenty prizes and their prices in jade, eight to a page, with
// links to the exchange page and the membership recharge page.
class ExchangeForm : public ServiceWindow {
    Q_OBJECT
public:
    explicit ExchangeForm(QWidget* owner);

    // Element 0 of each array is the template; 1..8 are the cells.
    platform::ControlArray<platform::Image> imglist;
    platform::ControlArray<platform::Image> exchangelist;
    platform::ControlArray<platform::Label> title1;
    platform::ControlArray<platform::Label> title2;
    platform::Image scroll{QStringLiteral("scroll")};
    platform::Image pageDown{QStringLiteral("pageDown")};
    platform::Image pageUp{QStringLiteral("pageUp")};
    platform::Label page{QStringLiteral("page")};
    platform::Image exchange{QStringLiteral("exchange")};
    platform::Image ImgOpenvip{QStringLiteral("ImgOpenvip")};
    platform::Label help{QStringLiteral("help")};
    platform::Label Label_close{QStringLiteral("Label_close")};
    std::function<void()> FormMouseMove;

    std::array<ExchangeItem, 20> ExchangeItems;
    int32_t ExchangeLastIndex = 0;
    int16_t ExchangePageCount = 0;
    int16_t ExchangeCurrentPage = 0;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The prizes in their order.
std::array<ExchangeItem, 20> ExchangeGoods();

ExchangeForm& ExchangeWindow(Client& c);
void ShowExchangePage(Client& c, int16_t page);
void exchangeFrm_pageDown_Click(Client& c);
void exchangeFrm_pageUp_Click(Client& c);
void exchangeFrm_exchange_MouseDown(Client& c);
void exchangeFrm_exchange_MouseUp(Client& c);
void exchangeFrm_ImgOpenvip_Click(Client& c);
void exchangeFrm_ImgOpenvip_MouseMove(Client& c);
void exchangeFrm_Form_MouseMove(Client& c);
void exchangeFrm_Label_close_Click(Client& c);

// The table's jade-exchange button.
void ImgJadeExch_MouseMove(Client& c);
void ImgJadeExch_MouseUp(Client& c);

} // namespace services
