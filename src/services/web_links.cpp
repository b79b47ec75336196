#include "services/web_links.h"

#include "app/client.h"

#include <QCryptographicHash>
#include <QMouseEvent>

namespace services {

namespace {

platform::Picture PictureOf(Client& c, int id)
{
    return c.services.Hooks.Picture ? c.services.Hooks.Picture(id) : platform::Picture{};
}

void Open(Client& c, const QString& link)
{
    if (c.services.Hooks.OpenWebPage)
        c.services.Hooks.OpenWebPage(link);
}

// Gives a button a look and its Tag, loading the picture only on a change.
void SetLook(Client& c, platform::Image& button, const QString& tag, int picture)
{
    if (button.Tag == tag)
        return;
    button.Tag = tag;
    button.SetPicture(PictureOf(c, picture));
}

QString Encoded(const QByteArray& bytes) { return QString::fromLatin1(bytes.toPercentEncoding()); }

} // namespace

QString Md5Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString MemberRechargeLink(const QByteArray& userName, const QByteArray& userKey)
{
    return kPortalWebRoot + QStringLiteral("/chongzhi/member.php?l=") + Encoded(userName) + QStringLiteral("&z=") +
           Encoded(userKey) + QStringLiteral("&m=") + Md5Hex(userName + userKey + kRechargeSalt);
}

QString VideoSiteLink(const QByteArray& userName, const QByteArray& userKey)
{
    const QString keyDigest = Md5Hex(userKey);
    return kVideoWebRoot + QStringLiteral("?a=") + Encoded(userName) + QStringLiteral("&b=") + keyDigest +
           QStringLiteral("&c=") + Md5Hex(userName + keyDigest.toLatin1() + kVideoSigningKey);
}

QString NetPayLink() { return kPortalWebRoot + QStringLiteral("/netpay/netpaylog.php"); }
QString AlipayLink() { return kPortalWebRoot + QStringLiteral("/alipay"); }
QString ExchangeLink() { return kPortalWebRoot + QStringLiteral("/duihuan"); }

QString CachedMemberRechargeLink(Client& c)
{
    QString& cache = c.services.MemberRechargeLinkCache;
    if (cache.trimmed().isEmpty())
        cache = MemberRechargeLink(c.core.UserName, c.core.UserKey);
    return cache;
}

// ---- FrmVip ----

VipForm::VipForm(QWidget* owner) : ServiceWindow(QStringLiteral("FrmVip"), owner, kVipWidth, kVipHeight, {})
{
    setWindowTitle(QStringLiteral("会员"));
    Add(&ImgOpenvip);
    Add(&Imgclose);
}

void VipForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (!Dragging() && !ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y())) && FormMouseMove)
        FormMouseMove();
    ServiceWindow::mouseMoveEvent(event);
}

VipForm& VipWindow(Client& c)
{
    ServicesState& s = c.services;
    if (!s.FrmVip) {
        s.FrmVip = new VipForm(s.Table.Window);
        VipForm& f = *s.FrmVip;
        f.ImgOpenvip.Move(45, 250, 90, 30);
        f.Imgclose.Move(280, 12, 25, 25);
        f.ImgOpenvip.SetPicture(PictureOf(c, kOpenVipNormal));
        f.ImgOpenvip.Tag = QStringLiteral("0");
        f.Imgclose.SetPicture(PictureOf(c, kCloseNormal));
        f.Imgclose.Tag = QStringLiteral("0");
        f.ImgOpenvip.Click = [&c] { FrmVip_ImgOpenvip_Click(c); };
        f.ImgOpenvip.MouseMove = [&c](int16_t, int16_t, float, float) { FrmVip_ImgOpenvip_MouseMove(c); };
        f.Imgclose.Click = [&c] { FrmVip_Imgclose_Click(c); };
        f.Imgclose.MouseMove = [&c](int16_t, int16_t, float, float) { FrmVip_Imgclose_MouseMove(c); };
        f.FormMouseMove = [&c] { FrmVip_Form_MouseMove(c); };
    }
    return *s.FrmVip;
}

void FrmVip_initFrm(Client& c, int16_t level)
{
    if (level < 0 || level > 6)
        return;
    VipForm& f = VipWindow(c);
    f.BackPicture = PictureOf(c, kVipPanelBase + level);
    f.update();
}

void img_vip_Click(Client& c, int view)
{
    if (view < 0 || view > 3)
        return;
    const int16_t level = c.game.UserInfos[static_cast<std::size_t>(view)].VipLevel;
    if (level < 1 || level > 6)
        return;
    VipForm& f = VipWindow(c);
    FrmVip_initFrm(c, level);
    if (!f.isVisible())
        CentreOver(f, c.services.Table.Window);
    f.show();
    f.raise();
}

void FrmVip_ImgOpenvip_Click(Client& c) { Open(c, CachedMemberRechargeLink(c)); }

void FrmVip_ImgOpenvip_MouseMove(Client& c)
{
    VipForm& f = VipWindow(c);
    if (f.ImgOpenvip.Tag == QLatin1String("0"))
        SetLook(c, f.ImgOpenvip, QStringLiteral("1"), kOpenVipHover);
}

void FrmVip_Imgclose_Click(Client& c)
{
    if (c.services.FrmVip)
        c.services.FrmVip->hide();
}

void FrmVip_Imgclose_MouseMove(Client& c)
{
    VipForm& f = VipWindow(c);
    if (f.Imgclose.Tag == QLatin1String("0"))
        SetLook(c, f.Imgclose, QStringLiteral("1"), kCloseHover);
}

void FrmVip_Form_MouseMove(Client& c)
{
    VipForm& f = VipWindow(c);
    if (f.ImgOpenvip.Tag == QLatin1String("1"))
        SetLook(c, f.ImgOpenvip, QStringLiteral("0"), kOpenVipNormal);
    if (f.Imgclose.Tag == QLatin1String("1"))
        SetLook(c, f.Imgclose, QStringLiteral("0"), kCloseNormal);
}

// ---- The pay buttons ----

void img_chzhi_Click(Client& c, int index)
{
    if (index < 1 || index > 2)
        return;
    platform::Image& b = c.services.img_chzhi[index];
    if (b.Tag == QLatin1String("2"))
        return;
    SetLook(c, b, QStringLiteral("2"), kPayButtonBase + 3 * index + 2);
    Open(c, index == 1 ? NetPayLink() : AlipayLink());
}

void img_chzhi_MouseMove(Client& c, int index)
{
    if (index < 1 || index > 2)
        return;
    platform::Image& b = c.services.img_chzhi[index];
    if (b.Tag != QLatin1String("1"))
        SetLook(c, b, QStringLiteral("1"), kPayButtonBase + 3 * index + 1);
}

void ResetPayButtons(Client& c)
{
    for (int i = 1; i <= 2; ++i) {
        platform::Image& b = c.services.img_chzhi[i];
        if (b.Tag != QLatin1String("0"))
            SetLook(c, b, QStringLiteral("0"), kPayButtonBase + 3 * i);
    }
}

// ---- The video-site prompt ----

void btn_gskh_ok_Click(Client& c)
{
    Open(c, VideoSiteLink(c.core.UserName, c.core.UserKey));
    btn_gskh_no_Click(c);
}

void btn_gskh_no_Click(Client& c)
{
    if (platform::PictureBox* prompt = c.services.Table.pic_gskh_back)
        prompt->hide();
}

void btn_gskh_ok_MouseMove(Client& c)
{
    platform::Image& b = c.services.btn_gskh_ok;
    if (b.Tag != QLatin1String("1"))
        SetLook(c, b, QStringLiteral("1"), kVideoOkHover);
}

void btn_gskh_no_MouseMove(Client& c)
{
    platform::Image& b = c.services.btn_gskh_no;
    if (b.Tag != QLatin1String("1"))
        SetLook(c, b, QStringLiteral("1"), kVideoNoHover);
}

void pic_gskh_back_MouseMove(Client& c)
{
    ServicesState& s = c.services;
    if (s.btn_gskh_ok.Tag != QLatin1String("0"))
        SetLook(c, s.btn_gskh_ok, QStringLiteral("0"), kVideoOkNormal);
    if (s.btn_gskh_no.Tag != QLatin1String("0"))
        SetLook(c, s.btn_gskh_no, QStringLiteral("0"), kVideoNoNormal);
}

} // namespace services
