#include "services/gm_channel.h"

#include "app/client.h"
#include "platform/clock.h"
#include "platform/udp_link.h"
#include "platform/gbk.h"
#include "services/gm_form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace services {

namespace {

// The icon stands 140 pixels above the chat bar; at the small scale it has
// a size of its own.
constexpr float kGmIconAboveChatBar = 140;
constexpr float kGmIconSmallWidth = 55;
constexpr float kGmIconSmallHeight = 49;
const QString kReplyWaiting = QStringLiteral("有客服回复");
const QString kNoReply = QStringLiteral("无客服回复");

uint32_t Little32(const std::array<uint8_t, 500>& b, int at)
{
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A text from the service as it is shown and logged: its own line breaks
// become visible marks, so that it stays one entry and cannot forge lines of
// the log.
QString ServiceText(QString text)
{
    text.replace(QLatin1String("\r"), QLatin1String("\\r"));
    text.replace(QLatin1String("\n"), QLatin1String("\\n"));
    return text;
}

void SetFlash(Client& c, bool on)
{
    if (platform::Timer* t = c.services.TimerGmFlash)
        t->SetEnabled(on);
}

// Binds the socket to the first free port from 3000; false when none can be
// had.
bool BindChannel(Client& c)
{
    platform::UdpLink& udp = c.plat.udp;
    const int port = FindFreeUdpPort(udp, kFirstGmLocalPort);
    return port > 0 && udp.Bind(port);
}

} // namespace

bool IsUdpPortInUse(platform::UdpLink& link, int port) { return link.ProbePortInUse(port); }

int FindFreeUdpPort(platform::UdpLink& link, int start)
{
    for (int p = std::max(start, 1); p <= kLastLocalPort; ++p)
        if (!IsUdpPortInUse(link, p))
            return p;
    return -1;
}

void InitUdpChannel(Client& c)
{
    ServicesState& s = c.services;
    TableSide& t = s.Table;
    if (s.GmServiceHost.isEmpty()) {
        const QString host = qEnvironmentVariable("MJCLIENT_SERVICE_HOST").trimmed();
        s.GmServiceHost = host.isEmpty() ? kDefaultGmServiceHost : host;
    }

    if (platform::Image* icon = t.ImgGm) {
        if (c.game.ScaleX < 1.0f) {
            icon->Move(icon->Left, icon->Top, kGmIconSmallWidth * c.game.ScaleX, kGmIconSmallHeight * c.game.ScaleY);
            icon->Stretch = false;
        }
        const float left = t.pic1 ? static_cast<float>(t.pic1->width()) - icon->Width : icon->Left;
        const float top = t.imgLocation ? t.imgLocation->Top - kGmIconAboveChatBar : icon->Top;
        icon->Move(left, top);
        icon->SetVisible(false);
        icon->Enabled = true;
        icon->ToolTipText.clear();
    }
    s.Img_Gm1.SetVisible(false);
    s.Img_gm2.SetVisible(false);
    SetFlash(c, false);
    s.GmServiceOn = 0;
    s.gm_iNum = 0;
    if (platform::Timer* q = s.TimerGmQuery) {
        q->SetInterval(kGmQueryMs);
        q->SetEnabled(true);
        q->Tag = QStringLiteral("0");
    }
    if (platform::Timer* k = s.TimerClick) {
        k->SetInterval(kGmClickMs);
        k->SetEnabled(false);
    }
    s.FrmGmOpen = 0;
    s.GmLastSendTime.reset();

    // A channel still bound from the last table keeps its port.
    platform::UdpLink& udp = c.plat.udp;
    udp.SetRemote(s.GmServiceHost, kGmServicePort);
    s.GmChannelUp = udp.IsBound() || BindChannel(c);
    if (!s.GmChannelUp && t.ImgGm)
        t.ImgGm->ToolTipText = kGmChannelDownTip;
}

void SendGm(Client& c, const GmPacket& packet)
{
    ServicesState& s = c.services;
    if (!s.GmChannelUp)
        return;
    // The service window closes the socket when it closes; the next send
    // opens it again.
    if (!c.plat.udp.IsBound() && !BindChannel(c))
        return;
    SendGmPacket(packet, c.plat.udp, s.GmServiceHost, kGmServicePort);
}

void WinsckUdp_DataArrival(Client& c, int64_t)
{
    // Every failure is passed over: a datagram that cannot be handled is
    // simply gone.
    try {
        const QByteArray datagram = c.plat.udp.GetData();
        if (!c.plat.udp.FromRemote())
            return;
        const GmPacket packet = ParseGmPacket(datagram);
        ApplyGmPacket(c, packet);
        ShowGmPacket(c, packet);
    } catch (...) {
    }
}

void ApplyGmPacket(Client& c, const GmPacket& p)
{
    ServicesState& s = c.services;
    if (p.Magic != GmPacket::kMagic || p.Length < GmPacket::kHeaderBytes)
        return;
    s.GmDisplayText.clear();
    s.GmEchoText.clear();
    switch (p.Command) {
    case GmEcho:
        if (p.Flag != 0) {
            s.GmEchoText = ServiceText(GbkBytesToString(p.Payload.data(), p.Length - 13));
            s.gm_byteCheckRet = p.Check;
            s.GmDisplayText = s.GmEchoText + QStringLiteral("留言如下:") + QLatin1Char('\n') + s.GmLastSentText;
            s.GmLastSentText.clear();
        }
        break;
    case GmReply:
        if (p.Flag != 0) {
            std::copy_n(p.Payload.begin(), 4, s.GmReplyIdBytes.begin());
            const int n = p.Length - 16;
            if (n > 1) {
                s.gm_iNum = p.Flag - 1;
                s.GmDisplayText = ServiceText(GbkBytesToString(p.Payload.data() + 4, n - 1));
                s.gm_byteCheckRet = p.Check;
            }
        }
        break;
    case GmCount: {
        if (p.Length < 16) {
            s.gm_iNum = 0;
        } else {
            const uint32_t count = Little32(p.Payload, 0);
            if (count < 0x80000000u)
                s.gm_iNum = static_cast<int32_t>(count);
        }
        SetFlash(c, s.gm_iNum >= 1);
        break;
    }
    default:
        break;
    }
}

void ShowGmPacket(Client& c, const GmPacket& p)
{
    ServicesState& s = c.services;
    if (!s.FrmGmOpen || !s.FrmGm || p.Magic != GmPacket::kMagic)
        return;
    GmForm& f = *s.FrmGm;
    if (s.GmDisplayText.size() >= 2) {
        f.TxtInfo->SetMaxLength(0);
        f.TxtInfo->AppendText(QLatin1Char('\n') + s.GmDisplayText);
        f.TxtInfo->setReadOnly(true);
        const QString log = GmLogPath(c);
        if (!log.isEmpty())
            AppendTextFile(log, s.GmDisplayText);
    }
    switch (p.Command) {
    case GmEcho:
        s.GmDisplayText.clear();
        break;
    case GmReply:
        if (s.gm_iNum >= 1) {
            SetFlash(c, true);
            f.LblQuery.SetCaption(kReplyWaiting);
            f.LblQuery.Enabled = true;
        } else {
            SetFlash(c, false);
            f.LblQuery.SetCaption(kNoReply);
            if (s.Table.ImgGm)
                s.Table.ImgGm->SetPicture(s.Img_gm2.GetPicture());
        }
        if (p.Flag != 0) {
            f.SetLayout(GmForm::Layout::Reading);
            SendGm(c, BuildGmAck(s.GmReplyIdBytes, s.GmAccount));
        }
        break;
    case GmCount:
        SetFlash(c, s.gm_iNum >= 1);
        break;
    default:
        break;
    }
}

void ImgGm_Click(Client& c)
{
    ServicesState& s = c.services;
    GmForm& f = GmWindow(c);
    if (!s.FrmGmOpen)
        FrmGm_Form_Load(c);
    f.show();
    f.raise();
    f.activateWindow(); // so that typing goes to the message box
    if (s.Table.ImgGm)
        s.Table.ImgGm->Enabled = false;
    if (s.TimerClick)
        s.TimerClick->SetEnabled(true);
}

void TimerGmQuery_Timer(Client& c)
{
    ServicesState& s = c.services;
    if (!s.GmServiceOn || !s.TimerGmQuery)
        return;
    const int n = s.TimerGmQuery->Tag.toInt();
    if (n % 10 == 0)
        SendGm(c, BuildGmQuery(s.GmAccount));
    s.TimerGmQuery->Tag = QString::number(n + 1);
}

void TimerGmFlash_Timer(Client& c)
{
    ServicesState& s = c.services;
    if (!s.Table.ImgGm)
        return;
    const long second = static_cast<long>(c.plat.clock.secondsSinceMidnight());
    s.Table.ImgGm->SetPicture(second % 2 == 0 ? s.Img_gm2.GetPicture() : s.Img_Gm1.GetPicture());
}

void TimerClick_Timer(Client& c)
{
    if (platform::Image* icon = c.services.Table.ImgGm; icon && !icon->Enabled) {
        icon->Enabled = true;
        icon->Refresh();
    }
}

void AppendTextFile(const QString& path, const QString& text, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (maxBytes > 0 && info.exists() && info.size() >= maxBytes) {
        const QString older = path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(path, older);
    }
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return;
    QByteArray bytes;
    for (const QString& piece : text.split(QLatin1Char('\n')))
        bytes += platform::gbk::Encode(piece) + "\r\n";
    file.write(bytes);
}

QString GmLogPath(const Client& c)
{
    const QString& folder = c.core.DataPath;
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kGmLogName);
}

} // namespace services
