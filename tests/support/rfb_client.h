#pragma once

#include "support/processes.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QTcpSocket>
#include <QtEndian>
#include <cstdint>

namespace testing_support {

// The input side of an RFB (VNC) viewer: enough to move the mouse, press
// its left button and type keys on a client that runs on Qt's VNC platform.
class RfbInput {
public:
    bool Connect(int port, int timeoutMs)
    {
        return WaitFor(
            [&] {
                socket_.abort();
                socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
                return socket_.waitForConnected(200) && Handshake();
            },
            timeoutMs);
    }

    void Click(QPoint at)
    {
        Pointer(at, 0);
        Pointer(at, 1);
        Pointer(at, 0);
    }

    // Types printable ASCII text, key by key (the keysym of such a key is
    // its character code).
    void Type(const QByteArray& text)
    {
        for (char ch : text) {
            Key(static_cast<uint8_t>(ch), true);
            Key(static_cast<uint8_t>(ch), false);
        }
    }

private:
    QByteArray Read(int n)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < n && timer.elapsed() < 3000) {
            if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(100))
                continue;
            out += socket_.read(n - out.size());
        }
        return out;
    }

    bool Handshake()
    {
        const QByteArray version = Read(12);
        if (!version.startsWith("RFB 003."))
            return false;
        const bool v33 = version < QByteArray("RFB 003.007\n");
        socket_.write(v33 ? QByteArray("RFB 003.003\n") : QByteArray("RFB 003.008\n"));
        if (v33) {
            const QByteArray type = Read(4);
            if (type.size() != 4 || qFromBigEndian<quint32>(type.constData()) != 1)
                return false;
        } else {
            const QByteArray count = Read(1);
            if (count.size() != 1 || count[0] == 0)
                return false;
            if (!Read(static_cast<uint8_t>(count[0])).contains('\x01'))
                return false;
            socket_.write(QByteArray(1, '\x01'));
            const QByteArray result = Read(4);
            if (result.size() != 4 || qFromBigEndian<quint32>(result.constData()) != 0)
                return false;
        }
        socket_.write(QByteArray(1, '\x01')); // shared
        const QByteArray init = Read(24);
        if (init.size() != 24)
            return false;
        Read(static_cast<int>(qFromBigEndian<quint32>(init.constData() + 20)));
        return true;
    }

    void Pointer(QPoint at, uint8_t buttons)
    {
        char rec[6] = {5, static_cast<char>(buttons)};
        qToBigEndian<quint16>(static_cast<quint16>(at.x()), rec + 2);
        qToBigEndian<quint16>(static_cast<quint16>(at.y()), rec + 4);
        Send(rec, sizeof rec);
    }

    void Key(uint32_t keysym, bool down)
    {
        char rec[8] = {4, static_cast<char>(down ? 1 : 0), 0, 0};
        qToBigEndian<quint32>(keysym, rec + 4);
        Send(rec, sizeof rec);
    }

    void Send(const char* rec, int size)
    {
        socket_.write(rec, size);
        socket_.flush();
        WaitFor([] { return false; }, 60);
    }

    QTcpSocket socket_;
};

} // namespace testing_support
