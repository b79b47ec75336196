#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace testing_support {

// A clock that moves only when told to, or when a wait lets events run.
class FakeClock : public platform::Clock {
public:
    uint32_t timeGetTime() override { return ms; }
    double secondsSinceMidnight() override { return seconds; }
    // Lets the test's "events" run, then moves time on by the wait asked for.
    void processEvents(int maxWaitMs) override
    {
        ++eventRounds;
        if (onEvents)
            onEvents();
        Advance(maxWaitMs > 0 ? maxWaitMs : 1);
    }
    void Advance(int deltaMs)
    {
        ms += static_cast<uint32_t>(deltaMs);
        seconds += deltaMs / 1000.0;
        if (seconds >= 86400.0)
            seconds -= 86400.0;
    }

    uint32_t ms = 0;
    double seconds = 0;
    int eventRounds = 0;
    std::function<void()> onEvents;
};

// Records endNow instead of ending the test.
class RecordingProcess : public platform::Process {
public:
    void endNow(int exitCode) override
    {
        if (!ended)
            code = exitCode;
        ended = true;
        ++calls;
    }
    bool ended = false;
    int code = 0;
    int calls = 0;
};

class RecordingDialogs : public platform::Dialogs {
public:
    void MsgBox(const QString& text, const QString&, Icon) override { texts << text; }
    QStringList texts;
};

// A socket whose received bytes the test feeds and whose sent bytes it reads.
class FakeTcpLink : public platform::TcpLink {
    Q_OBJECT
public:
    int State() const override { return state; }
    void Connect(const QString& h, int p) override
    {
        host = h;
        port = p;
        state = Connecting;
        ++connects;
    }
    void Close() override { state = Closed; }
    void SendData(const QByteArray& b) override { sent += b; }
    QByteArray GetData() override
    {
        QByteArray b = incoming;
        incoming.clear();
        return b;
    }
    // Makes bytes arrive and raises the arrival event.
    void Arrive(const QByteArray& b)
    {
        incoming += b;
        emit DataArrival(incoming.size());
    }

    int state = Closed;
    QString host;
    int port = 0;
    int connects = 0;
    QByteArray incoming;
    QByteArray sent;
};

class FakeLobbyLink : public platform::LobbyLink {
public:
    bool FindWindow(const QString& title) override { return exists && title == this->title; }
    bool SendSysCommand(const QString& t, uint32_t command) override
    {
        if (!FindWindow(t))
            return false;
        commands.push_back(command);
        return true;
    }
    bool PostMessage(const QString& t, uint32_t message) override
    {
        if (!FindWindow(t))
            return false;
        posted.push_back(message);
        return true;
    }

    void SetMessageHandler(Handler h) override { handler = std::move(h); }
    // The lobby sends a message to the table window.
    void Send(uint32_t message)
    {
        if (handler)
            handler(message, 0, 0);
    }

    bool exists = true;
    QString title = QStringLiteral("Lobby");
    Handler handler;
    std::vector<uint32_t> commands;
    std::vector<uint32_t> posted;
};

} // namespace testing_support
