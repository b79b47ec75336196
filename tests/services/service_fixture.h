#pragma once

#include "support/mouse.h"
#include "services/gm_channel.h"
#include "services/gm_form.h"
#include "services/gm_packet.h"
#include "services/exchange_form.h"
#include "services/impeach.h"
#include "services/web_links.h"
#include "support/table_fixture.h"
#include "window/layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

namespace testing_support {

// A datagram from the service: header fields little-endian, then the payload.
inline QByteArray ServiceDatagram(int command, int flag, const QByteArray& payload, int check = 0, int length = -1)
{
    const int total = length >= 0 ? length : 12 + static_cast<int>(payload.size());
    QByteArray b;
    for (int v : {0x7FFF, total, 0, command}) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>((v >> 8) & 0xFF));
    }
    b.append('\0').append('\0').append(static_cast<char>(check)).append(static_cast<char>(flag));
    return b + payload;
}

// A reply: four id bytes, then the GBK text and a 0 byte.
inline QByteArray ReplyDatagram(const QByteArray& id, const QString& text, int flag)
{
    QByteArray payload = id + platform::gbk::Encode(text);
    payload.append('\0').append('\0').append('\0');
    return ServiceDatagram(services::GmReply, flag, payload);
}

// A table window laid out and on screen, with its customer-service channel
// set up on the fake UDP socket and a data folder of its own.
struct ServiceTable : TableClient {
    QTemporaryDir data;
    FakeUdpLink& udp = t.udp;

    explicit ServiceTable(float scale = 1.0f) : TableClient(0, scale)
    {
        c.core.DataPath = data.path();
        c.services.GmAccount = "abc";
        c.services.GmUserName = "abc";
        window::LayoutTableControls(c);
        window::LayoutPlayControls(c);
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    ~ServiceTable()
    {
        for (QWidget* w : {static_cast<QWidget*>(c.services.FrmGm.data()),
                           static_cast<QWidget*>(c.services.Frmimpeach.data()),
                           static_cast<QWidget*>(c.services.FrmVip.data()),
                           static_cast<QWidget*>(c.services.exchangeFrm.data())})
            if (w)
                w->hide();
        f.hide();
    }

    // The customer service switched on, as the user-info frame does.
    void ServiceOn()
    {
        c.services.GmServiceOn = -1;
        f.ImgGm.SetVisible(true);
    }

    // A real click on a graphic control of a surface (a window or a panel).
    static void Click(QWidget* surface, const platform::GraphicControl& control)
    {
        ClickAt(surface, CentreOf(control));
    }
    void ClickTable(const platform::GraphicControl& control) { Click(f.pic1, control); }

    // The packets sent since the last call.
    QList<services::GmPacket> TakeDatagrams()
    {
        QList<services::GmPacket> out;
        for (const QByteArray& d : std::exchange(udp.sent, {}))
            out << services::ParseGmPacket(d);
        return out;
    }
    QString LogText() const
    {
        QFile log(services::GmLogPath(c));
        return log.open(QIODevice::ReadOnly) ? platform::gbk::Decode(log.readAll()) : QString();
    }
};

} // namespace testing_support
