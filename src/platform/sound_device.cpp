#include "platform/sound_device.h"

#include "platform/paths.h"

#include <QCoreApplication>
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

// What a buffer made while the module loads has been told; its sound once
// the module is there.
struct ModuleSoundDevice::Deferred {
    QString nativePath;
    bool playing = false;
    bool looping = false;
    bool gainSet = false;
    double gain = 1.0;
    std::unique_ptr<EngineSound> sound;

    void Attach(SoundEngine& engine)
    {
        sound.reset(engine.MakeSound(nativePath));
        if (gainSet)
            sound->SetGain(gain);
        if (playing)
            sound->Play(looping);
    }
};

namespace {

// A buffer of the sound module: every operation works. Made while the
// module loads, it records until its sound exists, then passes every
// operation on. A sound always starts from the beginning after a stop.
class DeferredBuffer : public SoundBuffer {
public:
    explicit DeferredBuffer(std::shared_ptr<ModuleSoundDevice::Deferred> d) : d_(std::move(d)) {}
    bool Play(bool looping) override
    {
        d_->playing = true;
        d_->looping = looping;
        if (d_->sound)
            d_->sound->Play(looping);
        return true;
    }
    bool Stop() override
    {
        d_->playing = false;
        if (d_->sound)
            d_->sound->Stop();
        return true;
    }
    bool SetCurrentPosition(int) override { return true; }
    bool SetVolume(int hundredthsDb) override
    {
        d_->gainSet = true;
        d_->gain = GainOfHundredthsDb(hundredthsDb);
        if (d_->sound)
            d_->sound->SetGain(d_->gain);
        return true;
    }

private:
    std::shared_ptr<ModuleSoundDevice::Deferred> d_;
};

} // namespace

ModuleSoundDevice::ModuleSoundDevice(QString modulePath, std::function<void()> beforeLoad)
    : path_(std::move(modulePath)), self_(std::make_shared<ModuleSoundDevice*>(this))
{
    // Only the exact file is loaded, never a library found on a search path.
    std::weak_ptr<ModuleSoundDevice*> self = self_;
    loader_ = std::thread([this, self, beforeLoad = std::move(beforeLoad)] {
        if (beforeLoad)
            beforeLoad();
        if (!QFileInfo(path_).isFile()) {
            loadError_ = QStringLiteral("no sound module at %1").arg(path_);
        } else {
            QLibrary library(path_);
            if (!library.load()) {
                loadError_ = library.errorString();
            } else {
                factory_ = reinterpret_cast<SoundEngineFactory>(library.resolve(kSoundEngineFactory));
                if (!factory_)
                    loadError_ = QStringLiteral("%1 has no %2").arg(path_, QLatin1String(kSoundEngineFactory));
            }
        }
        loaded_ = true;
        // The engine is made on the GUI thread: tell it there. The device may
        // be gone by the time the notice runs.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [self] {
                    if (std::shared_ptr<ModuleSoundDevice*> device = self.lock())
                        (*device)->WaitUntilLoaded();
                },
                Qt::QueuedConnection);
    });
}

ModuleSoundDevice::~ModuleSoundDevice()
{
    self_.reset();
    engine_.reset();
    if (loader_.joinable())
        loader_.join();
}

void ModuleSoundDevice::WaitUntilLoaded()
{
    if (loader_.joinable())
        loader_.join();
    if (!openPending_)
        return;
    openPending_ = false;
    OpenEngine();
    // Open has already said yes: a system without a default output leaves
    // the device silent rather than refusing what was accepted.
    open_ = true;
    for (const std::weak_ptr<Deferred>& weak : deferred_)
        if (std::shared_ptr<Deferred> d = weak.lock(); d && engine_)
            d->Attach(*engine_);
    deferred_.clear();
}

bool ModuleSoundDevice::Open()
{
    if (tried_)
        return open_;
    tried_ = true;
    if (!loaded_) {
        openPending_ = true;
        open_ = true;
        return open_;
    }
    if (loader_.joinable())
        loader_.join();
    return OpenEngine();
}

bool ModuleSoundDevice::OpenEngine()
{
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
    if (openPending_) {
        auto d = std::make_shared<Deferred>();
        d->nativePath = NativePath(path);
        deferred_.push_back(d);
        return std::make_unique<DeferredBuffer>(std::move(d));
    }
    if (!engine_)
        return std::make_unique<SilentBuffer>();
    auto d = std::make_shared<Deferred>();
    d->sound.reset(engine_->MakeSound(NativePath(path)));
    return std::make_unique<DeferredBuffer>(std::move(d));
}

std::unique_ptr<SoundDevice> CreateSoundDevice(const QString& programFolder, std::function<void()> beforeLoad)
{
    return std::make_unique<ModuleSoundDevice>(SoundModulePath(programFolder), std::move(beforeLoad));
}

} // namespace platform
