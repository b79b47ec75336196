#pragma once

#include "services/service_window.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class Client;

namespace services {

// Where the portal's and the video site's pages live.
inline const QString kPortalWebRoot = QStringLiteral("http://www.brannoch.example");
inline const QString kVideoWebRoot = QStringLiteral("http://video.brannoch.example/");
// The two fixed secrets of the signed links.
inline const QByteArray kRechargeSalt = QByteArrayLiteral("quendrix");
inline const QByteArray kVideoSigningKey = QByteArrayLiteral("qmvbtrxeolawn58k2hz7cd1uyf4gs09p");

// Pictures: the membership window for level L is 419 + L; its buttons.
constexpr int kVipPanelBase = 419;
constexpr int kOpenVipNormal = 418;
constexpr int kOpenVipHover = 419;
constexpr int kCloseNormal = 515;
constexpr int kCloseHover = 514;
constexpr int kPayButtonBase = 777; // button i: 777 + 3i normal, +1 hover, +2 pressed
constexpr int kVideoOkNormal = 130;
constexpr int kVideoOkHover = 131;
constexpr int kVideoNoNormal = 132;
constexpr int kVideoNoHover = 133;
constexpr int kVipWidth = 313;
constexpr int kVipHeight = 293;

// MD5 of bytes as 32 lower-case hexadecimal digits.
QString Md5Hex(const QByteArray& bytes);

// The links. The user name and key are GBK bytes; they go into the address
// percent-encoded, and the digests are taken over the bytes themselves.
QString MemberRechargeLink(const QByteArray& userName, const QByteArray& userKey);
QString VideoSiteLink(const QByteArray& userName, const QByteArray& userKey);
QString NetPayLink();
QString AlipayLink();
QString ExchangeLink();

// The recharge link of this run: built at the first use and kept.
QString CachedMemberRechargeLink(Client& c);

// FrmVip: the membership offer, its picture showing a membership level.
class VipForm : public ServiceWindow {
    Q_OBJECT
public:
    VipForm(QWidget* owner);
    platform::Image ImgOpenvip{QStringLiteral("ImgOpenvip")};
    platform::Image Imgclose{QStringLiteral("Imgclose")};
    // Mouse moves over the window where no control lies.
    std::function<void()> FormMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

VipForm& VipWindow(Client& c);
void FrmVip_initFrm(Client& c, int16_t level);
void img_vip_Click(Client& c, int view);
void FrmVip_ImgOpenvip_Click(Client& c);
void FrmVip_ImgOpenvip_MouseMove(Client& c);
void FrmVip_Imgclose_Click(Client& c);
void FrmVip_Imgclose_MouseMove(Client& c);
void FrmVip_Form_MouseMove(Client& c);

// The two pay buttons (1 and 2) of the purchase panel.
void img_chzhi_Click(Client& c, int index);
void img_chzhi_MouseMove(Client& c, int index);
// The purchase panel's mouse move gives them their normal look again.
void ResetPayButtons(Client& c);

// The video-site prompt.
void btn_gskh_ok_Click(Client& c);
void btn_gskh_no_Click(Client& c);
void btn_gskh_ok_MouseMove(Client& c);
void btn_gskh_no_MouseMove(Client& c);
void pic_gskh_back_MouseMove(Client& c);

} // namespace services
