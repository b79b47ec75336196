#pragma once

#include "platform/lobby_link.h"

#include <QObject>
#include <QString>

class QLocalSocket;

namespace platform {

// The lobby link over a local (Unix-domain) socket. A lobby that owns the
// title T listens on LobbySocketPath(T); the client connects to it on first
// use and keeps the connection. Messages in both directions are 12-byte
// records: message number, first and second parameter, each a 32-bit
// little-endian unsigned value. "The window exists" means the connection
// stands or can be made now.
class LocalLobbyLink : public QObject, public LobbyLink {
    Q_OBJECT
public:
    explicit LocalLobbyLink(QObject* parent = nullptr);

    bool FindWindow(const QString& title) override;
    bool SendSysCommand(const QString& title, uint32_t command) override;
    bool PostMessage(const QString& title, uint32_t message) override;
    void SetMessageHandler(Handler handler) override { handler_ = std::move(handler); }

    // Where a lobby with this title listens: the runtime folder, "mjlobby-"
    // and the MD5 of the title's UTF-8 bytes in lower-case hex.
    static QString LobbySocketPath(const QString& title);

private:
    bool Ensure(const QString& title);
    bool Write(uint32_t message, uint32_t wParam, uint32_t lParam);
    void ReadRecords();

    QLocalSocket* socket_ = nullptr;
    QString title_;
    QByteArray pending_;
    Handler handler_;
};

} // namespace platform
