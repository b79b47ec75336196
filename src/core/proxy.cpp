#include "core/proxy.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/rings.h"
#include "platform/clock.h"
#include "platform/wait.h"
#include "platform/dialogs.h"
#include "platform/tcp_link.h"
#include "window/main_form.h"

#include <QHostAddress>

namespace core {
namespace {

void ProxyRingReset(Client& c) { c.core.ProxyRing.Read = c.core.ProxyRing.Write = 0; }

// The message for a proxy that refused, hung up or fell silent.
QString ProxyFailedText() { return QStringLiteral("请求代理失败！"); }

// Ends the handshake: the message once, then the socket closed.
void Fail(Client& c, const QString& text)
{
    c.core.ProxyDeadline.reset();
    c.plat.dialogs.MsgBox(text);
    c.plat.tcp.Close();
}

QByteArray Bytes(const protocol::GameFrame& f) { return QByteArray(reinterpret_cast<const char*>(f.data()), protocol::kFrameSize); }

void Succeed(Client& c, int replyLength)
{
    CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    s.DirectConnection = true;
    s.ProxyDeadline.reset();
    PostLobbyMessage(c, LobbyMsgLeave);
    f.Sysmsg[0]->Clear();
    f.Sysmsg[0]->AddItem(QStringLiteral("连接代理服务器成功！"));
    c.plat.tcp.SendData(Bytes(s.LoginFrame));
    f.TimerBong->SetEnabled(true);
    // Whatever came after the connect reply is already the game stream.
    const int extra = s.ProxyRing.Waiting() - replyLength;
    if (extra > 0) {
        RecvRingAppend(c, s.ProxyRing.Data() + replyLength, extra);
    }
}

} // namespace

QByteArray ProxyGreeting() { return QByteArray("\x05\x02\x00\x02", 4); }

QByteArray ProxyAuthRequest(const QByteArray& user, const QByteArray& password)
{
    QByteArray r;
    r += '\x01';
    r += static_cast<char>(user.size());
    r += user;
    r += static_cast<char>(password.size());
    r += password;
    return r;
}

QByteArray ProxyConnectRequest(const QString& host, int32_t port)
{
    QByteArray r("\x05\x01\x00", 3);
    QHostAddress addr;
    const bool dotted = host.count(QLatin1Char('.')) == 3 && addr.setAddress(host) &&
                        addr.protocol() == QAbstractSocket::IPv4Protocol;
    if (dotted) {
        r += '\x01';
        const quint32 ip = addr.toIPv4Address();
        r += static_cast<char>(ip >> 24);
        r += static_cast<char>(ip >> 16);
        r += static_cast<char>(ip >> 8);
        r += static_cast<char>(ip);
    } else {
        const QByteArray name = host.toUtf8();
        if (name.isEmpty() || name.size() > 255)
            return QByteArray();
        r += '\x03';
        r += static_cast<char>(name.size());
        r += name;
    }
    r += static_cast<char>((port >> 8) & 0xFF);
    r += static_cast<char>(port & 0xFF);
    return r;
}

int ConnectReplyLength(const uint8_t* b, int n)
{
    if (n < 5)
        return 0;
    switch (b[3]) {
    case 1: return 4 + 4 + 2;
    case 3: return 4 + 1 + b[4] + 2;
    case 4: return 4 + 16 + 2;
    default: return -1;
    }
}

void ProxyConnect(Client& c)
{
    CoreState& s = c.core;
    platform::TcpLink& tcp = c.plat.tcp;
    ResetRings(c);
    s.DirectConnection = false;
    s.ProxyDeadline.reset();
    tcp.Connect(s.ProxyHost, s.ProxyPort);

    // The wait lets events run and ends when the connection stands, when it
    // failed, or when the proxy does not answer in time.
    platform::Clock& clock = c.plat.clock;
    const auto settled = [&tcp] {
        const int st = tcp.State();
        return st != platform::TcpLink::Connecting && st != platform::TcpLink::ResolvingHost &&
               st != platform::TcpLink::HostResolved;
    };
    platform::WaitUntil(clock, platform::Deadline::InMs(clock, kProxyConnectWaitMs), settled, 20);
    if (tcp.State() != platform::TcpLink::Connected) {
        Fail(c, ProxyFailedText());
        return;
    }
    s.LoginPending = true;
    s.ProxyState = ProxyIdle;
    ProxyRingReset(c);
    s.ProxyState = ProxySendGreeting;
    s.ProxyDeadline = platform::Deadline::InMs(clock, kProxyConnectWaitMs);
    ProxySend(c);
    s.SchedWatch.Start();
    c.MainForm->TimerBong->SetEnabled(true);
}

void ProxySend(Client& c)
{
    CoreState& s = c.core;
    QByteArray request;
    switch (s.ProxyState) {
    case ProxySendGreeting:
        request = ProxyGreeting();
        s.ProxyState = ProxyAwaitMethod;
        break;
    case ProxySendAuth:
        request = ProxyAuthRequest(s.ProxyUser, s.ProxyPassword);
        s.ProxyState = ProxyAwaitAuth;
        break;
    case ProxySendConnect:
        request = ProxyConnectRequest(s.ServerHost, s.ServerPort);
        s.ProxyState = ProxyAwaitConnect;
        break;
    default: return;
    }
    ProxyRingReset(c);
    if (request.isEmpty()) {
        Fail(c, QStringLiteral("通过代理连接主站失败！")); // a server name no proxy can take
        return;
    }
    c.plat.tcp.SendData(request);
}

void ProxyReceive(Client& c)
{
    CoreState& s = c.core;
    const uint8_t* b = s.ProxyRing.Data();
    const int n = s.ProxyRing.Waiting();
    if (n < 2)
        return; // judged once both bytes are there
    switch (s.ProxyState) {
    case ProxyAwaitMethod:
        if (b[0] == 5 && b[1] == 2) {
            s.ProxyState = ProxySendAuth;
            ProxySend(c);
        } else if (b[0] == 5 && b[1] == 0) {
            s.ProxyState = ProxySendConnect;
            ProxySend(c);
        } else {
            Fail(c, ProxyFailedText());
        }
        break;
    case ProxyAwaitAuth:
        if (b[0] == 1 && b[1] == 0) {
            s.ProxyState = ProxySendConnect;
            ProxySend(c);
        } else {
            Fail(c, QStringLiteral("代理服务器用户验证失败！"));
        }
        break;
    case ProxyAwaitConnect: {
        if (b[0] != 5 || b[1] != 0) {
            Fail(c, QStringLiteral("通过代理连接主站失败！"));
            break;
        }
        const int length = ConnectReplyLength(b, n);
        if (length < 0) {
            Fail(c, QStringLiteral("通过代理连接主站失败！"));
        } else if (length > 0 && n >= length) {
            Succeed(c, length);
        }
        break;
    }
    default: break;
    }
}

void ProxyWatch(Client& c)
{
    CoreState& s = c.core;
    if (!s.ProxyDeadline || s.DirectConnection)
        return;
    if (c.plat.tcp.State() == platform::TcpLink::Connected && !s.ProxyDeadline->Passed())
        return;
    Fail(c, ProxyFailedText());
}

} // namespace core
