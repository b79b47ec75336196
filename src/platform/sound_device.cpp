#include "platform/sound_device.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
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

// A buffer of the sound module; every operation works once it is made.
class ModuleBuffer : public SoundBuffer {
public:
    explicit ModuleBuffer(std::unique_ptr<EngineSound> sound) : sound_(std::move(sound)) {}
    bool Play(bool looping) override
    {
        sound_->Play(looping);
        return true;
    }
    bool Stop() override
    {
        sound_->Stop();
        return true;
    }
    // A sound always starts from the beginning after a stop.
    bool SetCurrentPosition(int) override { return true; }
    bool SetVolume(int hundredthsDb) override
    {
        sound_->SetGain(GainOfHundredthsDb(hundredthsDb));
        return true;
    }

private:
    std::unique_ptr<EngineSound> sound_;
};

} // namespace

std::unique_ptr<SoundBuffer> SilentSoundDevice::CreateBufferFromFile(const QString& path)
{
    if (!IsPlayableWaveFile(path))
        return nullptr;
    return std::make_unique<SilentBuffer>();
}

QString SoundModulePath(const QString& programFolder)
{
    return QDir(programFolder).absoluteFilePath(QStringLiteral("mjclient_sound.so"));
}

ModuleSoundDevice::ModuleSoundDevice(QString modulePath) : path_(std::move(modulePath))
{
    // Only the exact file is loaded, never a library found on a search path.
    loader_ = std::thread([this] {
        if (!QFileInfo(path_).isFile()) {
            loadError_ = QStringLiteral("no sound module at %1").arg(path_);
            return;
        }
        QLibrary library(path_);
        if (!library.load()) {
            loadError_ = library.errorString();
            return;
        }
        factory_ = reinterpret_cast<SoundEngineFactory>(library.resolve(kSoundEngineFactory));
        if (!factory_)
            loadError_ = QStringLiteral("%1 has no %2").arg(path_, QLatin1String(kSoundEngineFactory));
    });
}

ModuleSoundDevice::~ModuleSoundDevice()
{
    engine_.reset();
    if (loader_.joinable())
        loader_.join();
}

bool ModuleSoundDevice::Open()
{
    if (tried_)
        return open_;
    tried_ = true;
    if (loader_.joinable())
        loader_.join();
    if (factory_)
        engine_.reset(factory_(kSoundEngineInterfaceVersion));
    if (!engine_) {
        qWarning("sounds stay silent: %s",
                 qPrintable(loadError_.isEmpty() ? QStringLiteral("the sound module does not speak this version")
                                                 : loadError_));
        open_ = true;
        return open_;
    }
    if (!engine_->HasOutputs()) {
        engine_.reset(); // no audio output at all: silent
        open_ = true;
        return open_;
    }
    open_ = engine_->HasDefaultOutput();
    if (!open_)
        engine_.reset();
    return open_;
}

std::unique_ptr<SoundBuffer> ModuleSoundDevice::CreateBufferFromFile(const QString& path)
{
    if (!open_ || !IsPlayableWaveFile(path))
        return nullptr;
    if (!engine_)
        return std::make_unique<SilentBuffer>();
    return std::make_unique<ModuleBuffer>(std::unique_ptr<EngineSound>(engine_->MakeSound(NativePath(path))));
}

std::unique_ptr<SoundDevice> CreateSoundDevice(const QString& programFolder)
{
    return std::make_unique<ModuleSoundDevice>(SoundModulePath(programFolder));
}

} // namespace platform
