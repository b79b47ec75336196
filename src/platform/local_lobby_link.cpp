#include "platform/local_lobby_link.h"

#include "platform/runtime_dir.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QtEndian>

namespace platform {

namespace {
constexpr int kRecordSize = 12;
constexpr int kConnectWaitMs = 500;
} // namespace

LocalLobbyLink::LocalLobbyLink(QObject* parent) : QObject(parent) {}

QString LocalLobbyLink::LobbySocketPath(const QString& title)
{
    const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Md5).toHex();
    return RuntimeDir() + QStringLiteral("/mjlobby-") + QString::fromLatin1(digest);
}

bool LocalLobbyLink::Ensure(const QString& title)
{
    if (socket_ && title_ == title && socket_->state() == QLocalSocket::ConnectedState)
        return true;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    pending_.clear();
    title_ = title;
    auto* s = new QLocalSocket(this);
    s->connectToServer(LobbySocketPath(title));
    if (!s->waitForConnected(kConnectWaitMs)) {
        s->deleteLater();
        return false;
    }
    socket_ = s;
    connect(s, &QLocalSocket::readyRead, this, &LocalLobbyLink::ReadRecords);
    return true;
}

bool LocalLobbyLink::Write(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    char rec[kRecordSize];
    qToLittleEndian<quint32>(message, rec);
    qToLittleEndian<quint32>(wParam, rec + 4);
    qToLittleEndian<quint32>(lParam, rec + 8);
    if (socket_->write(rec, kRecordSize) != kRecordSize)
        return false;
    socket_->flush();
    return true;
}

void LocalLobbyLink::ReadRecords()
{
    pending_ += socket_->readAll();
    while (pending_.size() >= kRecordSize) {
        const char* p = pending_.constData();
        const uint32_t msg = qFromLittleEndian<quint32>(p);
        const uint32_t w = qFromLittleEndian<quint32>(p + 4);
        const uint32_t l = qFromLittleEndian<quint32>(p + 8);
        pending_.remove(0, kRecordSize);
        if (handler_)
            handler_(msg, w, l);
    }
}

bool LocalLobbyLink::FindWindow(const QString& title) { return Ensure(title); }

bool LocalLobbyLink::SendSysCommand(const QString& title, uint32_t command)
{
    if (!Ensure(title) || !Write(kSysCommand, command, 0))
        return false;
    socket_->waitForBytesWritten(kConnectWaitMs);
    return true;
}

bool LocalLobbyLink::PostMessage(const QString& title, uint32_t message)
{
    return Ensure(title) && Write(message, 0, 0);
}

} // namespace platform
