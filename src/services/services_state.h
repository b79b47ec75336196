#pragma once

#include "platform/controls.h"
#include "platform/picture.h"
#include "protocol/frame.h"
#include "services/item_bag.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace services {

class GmForm;
class ImpeachForm;
class VipForm;
class ExchangeForm;
class GoodsForm;

// The table window's controls this subsystem drives. The composition root
// points them at the table window before anything here runs.
struct TableSide {
    QWidget* Window = nullptr; // the table window: owner of the service windows
    QWidget* pic1 = nullptr;
    platform::Image* imgLocation = nullptr;
    platform::Image* ImgGm = nullptr;
    platform::Image* cmdImpeach = nullptr;
    platform::Image* ImgJadeExch = nullptr;
    platform::ControlArray<platform::Image>* img_vip = nullptr;
    platform::PictureBox* pic_gskh_back = nullptr;
    platform::Image* Bank = nullptr; // the item-bag button
};

// What this subsystem asks of the layers above it.
struct ServiceHooks {
    // A picture of the program's resources (null when there is none).
    std::function<platform::Picture(int id)> Picture;
    // Queues a command frame for the game server.
    std::function<void(const protocol::GameCmd&)> SendMsg;
    // Opens a web page in the user's browser (http and https only).
    std::function<bool(const QString&)> OpenWebPage;
    // The goods catalogue: the index of a goods id (0 when unknown), and the
    // picture id and description of an entry.
    std::function<int16_t(int32_t goodsId)> GoodsInfoIndex;
    std::function<std::pair<int16_t, QString>(int16_t infoIndex)> GoodsLook;
};

// The customer-service subsystem's own state.
struct ServicesState {
    TableSide Table;
    ServiceHooks Hooks;

    // The customer-service host (the port is 4001): a fixed name, which the
    // environment variable MJCLIENT_SERVICE_HOST replaces for local play.
    QString GmServiceHost;
    // False when no local port could be bound: nothing is sent or polled,
    // and the icon says the service cannot be reached.
    bool GmChannelUp = false;

    int16_t GmServiceOn = 0;
    int32_t gm_iNum = 0;
    QByteArray GmUserName; // GBK bytes
    QByteArray GmAccount;  // GBK bytes
    std::array<uint8_t, 4> GmReplyIdBytes{};
    QString GmDisplayText;
    QString GmEchoText;
    QString GmLastSentText;
    uint8_t gm_byteCheck = 0;
    std::optional<uint8_t> gm_byteCheckRet;
    int16_t FrmGmOpen = 0;
    // When the last accepted message left, on the millisecond clock (whose
    // differences stay right across midnight and its wrap); none before the
    // first.
    std::optional<uint32_t> GmLastSendTime;

    // The icon's two pictures (highlighted, normal) and its three timers.
    platform::Image Img_Gm1{QStringLiteral("Img_Gm1")};
    platform::Image Img_gm2{QStringLiteral("Img_gm2")};
    platform::Timer* TimerGmQuery = nullptr;
    platform::Timer* TimerGmFlash = nullptr;
    platform::Timer* TimerClick = nullptr;

    // The membership recharge link, built once per run.
    QString MemberRechargeLinkCache;

    // The pay buttons of the purchase panel (elements 1 and 2) and the two
    // buttons of the video-site prompt.
    platform::ControlArray<platform::Image> img_chzhi{nullptr, QStringLiteral("img_chzhi"), 3};
    platform::Image btn_gskh_ok{QStringLiteral("btn_gskh_ok")};
    platform::Image btn_gskh_no{QStringLiteral("btn_gskh_no")};

    // The windows, made on first use and owned by the table window.
    QPointer<GmForm> FrmGm;
    QPointer<ImpeachForm> Frmimpeach;
    QPointer<VipForm> FrmVip;
    QPointer<ExchangeForm> exchangeFrm;

    // The item bag as the server reports it, and its display stacks: entries
    // 1..N, entry 0 empty. The match set-up empties both.
    std::vector<GoodsStack> MyGoods = std::vector<GoodsStack>(1);
    std::vector<GoodsStack> GoodsStacks = std::vector<GoodsStack>(1);
    QPointer<GoodsForm> FrmGoods;
    int16_t BankHoverShown = 0;
};

} // namespace services
