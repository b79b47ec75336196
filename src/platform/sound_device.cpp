#include "platform/sound_device.h"

#include "platform/paths.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>
#include <cmath>

namespace platform {

bool IsPlayableWaveFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return false;
    // Walk the chunks: a PCM format chunk must come before the data chunk.
    bool pcm = false;
    for (int guard = 0; guard < 64; ++guard) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return false;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const QByteArray id = chunk.left(4);
        if (id == "fmt ") {
            const QByteArray fmt = file.read(qMin<quint32>(size, 16));
            if (fmt.size() < 16)
                return false;
            const quint16 tag = qFromLittleEndian<quint16>(fmt.constData());
            const quint16 channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            const quint16 bits = qFromLittleEndian<quint16>(fmt.constData() + 14);
            pcm = (tag == 1 || tag == 0xFFFE) && channels >= 1 && channels <= 2 &&
                  (bits == 8 || bits == 16);
            if (size > 16 && !file.seek(file.pos() + (size - 16) + (size & 1)))
                return false;
        } else if (id == "data") {
            return pcm && size > 0;
        } else if (!file.seek(file.pos() + size + (size & 1))) {
            return false;
        }
    }
    return false;
}

double GainOfHundredthsDb(int hundredthsDb)
{
    if (hundredthsDb <= -10000)
        return 0.0;
    if (hundredthsDb >= 0)
        return 1.0;
    return std::pow(10.0, hundredthsDb / 2000.0);
}

namespace {

class SilentBuffer : public SoundBuffer {
public:
    bool Play(bool) override { return true; }
    bool Stop() override { return true; }
    bool SetCurrentPosition(int) override { return true; }
    bool SetVolume(int) override { return true; }
};

class QtBuffer : public SoundBuffer {
public:
    explicit QtBuffer(const QString& path)
    {
        effect_.setSource(QUrl::fromLocalFile(NativePath(path)));
    }
    bool Play(bool looping) override
    {
        effect_.setLoopCount(looping ? QSoundEffect::Infinite : 1);
        effect_.play(); // starts once the file is loaded
        return true;
    }
    bool Stop() override
    {
        effect_.stop();
        return true;
    }
    // A sound effect always starts from the beginning after a stop.
    bool SetCurrentPosition(int) override { return true; }
    bool SetVolume(int hundredthsDb) override
    {
        effect_.setVolume(static_cast<float>(GainOfHundredthsDb(hundredthsDb)));
        return true;
    }

private:
    QSoundEffect effect_;
};

} // namespace

std::unique_ptr<SoundBuffer> SilentSoundDevice::CreateBufferFromFile(const QString& path)
{
    if (!IsPlayableWaveFile(path))
        return nullptr;
    return std::make_unique<SilentBuffer>();
}

bool QtSoundDevice::Open()
{
    open_ = !QMediaDevices::defaultAudioOutput().isNull();
    return open_;
}

std::unique_ptr<SoundBuffer> QtSoundDevice::CreateBufferFromFile(const QString& path)
{
    if (!open_ || !IsPlayableWaveFile(path))
        return nullptr;
    return std::make_unique<QtBuffer>(path);
}

std::unique_ptr<SoundDevice> CreateSoundDevice()
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return std::make_unique<SilentSoundDevice>();
    return std::make_unique<QtSoundDevice>();
}

} // namespace platform
