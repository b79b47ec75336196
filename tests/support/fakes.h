#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/sound_device.h"
#include "platform/tcp_link.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
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
    qint64 BytesAvailable() const override { return incoming.size(); }
    QByteArray Read(qint64 maxBytes) override
    {
        QByteArray b = incoming.left(maxBytes);
        incoming.remove(0, b.size());
        return b;
    }
    // Makes bytes arrive and raises the arrival event.
    void Arrive(const QByteArray& b)
    {
        incoming += b;
        emit DataArrival(incoming.size());
    }
    // The peer closes the connection: the socket is closing and the close
    // event is raised.
    void PeerCloses()
    {
        state = Closing;
        emit CloseEvent();
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

// A sound device that plays nothing and records what it was asked. Like a
// real device it accepts only existing PCM wave files; its switches make
// buffer operations fail.
class RecordingSoundDevice : public platform::SoundDevice {
public:
    // What one buffer was asked to do; kept after the buffer is released.
    struct BufferLog {
        QString path;
        bool playing = false;
        bool looping = false;
        int plays = 0;
        int stops = 0;
        std::optional<int> position;
        std::optional<int> volume;
        bool released = false;
    };

    bool Open() override
    {
        ++opens;
        return openWorks;
    }
    std::unique_ptr<platform::SoundBuffer> CreateBufferFromFile(const QString& path) override
    {
        ++createRequests;
        if (!platform::IsPlayableWaveFile(path))
            return nullptr;
        auto log = std::make_shared<BufferLog>();
        log->path = path;
        buffers.push_back(log);
        return std::make_unique<Buffer>(*this, log);
    }

    // Buffers that are playing now, oldest first.
    std::vector<std::shared_ptr<BufferLog>> Playing() const
    {
        std::vector<std::shared_ptr<BufferLog>> out;
        for (const auto& b : buffers)
            if (b->playing && !b->released)
                out.push_back(b);
        return out;
    }

    bool openWorks = true;
    bool stopWorks = true;
    bool positionWorks = true;
    bool volumeWorks = true;
    int opens = 0;
    int createRequests = 0;
    std::vector<std::shared_ptr<BufferLog>> buffers; // every buffer made, in order

private:
    class Buffer : public platform::SoundBuffer {
    public:
        Buffer(RecordingSoundDevice& device, std::shared_ptr<BufferLog> log) : device_(device), log_(std::move(log)) {}
        ~Buffer() override
        {
            log_->released = true;
            log_->playing = false;
        }
        bool Play(bool looping) override
        {
            log_->playing = true;
            log_->looping = looping;
            ++log_->plays;
            return true;
        }
        bool Stop() override
        {
            if (!device_.stopWorks)
                return false;
            log_->playing = false;
            ++log_->stops;
            return true;
        }
        bool SetCurrentPosition(int position) override
        {
            if (!device_.positionWorks)
                return false;
            log_->position = position;
            return true;
        }
        bool SetVolume(int hundredthsDb) override
        {
            if (!device_.volumeWorks)
                return false;
            log_->volume = hundredthsDb;
            return true;
        }

    private:
        RecordingSoundDevice& device_;
        std::shared_ptr<BufferLog> log_;
    };
};

} // namespace testing_support
