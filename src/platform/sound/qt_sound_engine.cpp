// The sound module: sounds over Qt Multimedia on the system's default audio
// output.
#include "platform/sound_engine.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

class QtSound : public platform::EngineSound {
public:
    explicit QtSound(const QString& nativePath) { effect_.setSource(QUrl::fromLocalFile(nativePath)); }
    void Play(bool looping) override
    {
        effect_.setLoopCount(looping ? QSoundEffect::Infinite : 1);
        effect_.play(); // starts once the file is loaded
    }
    void Stop() override { effect_.stop(); }
    void SetGain(double gain) override { effect_.setVolume(static_cast<float>(gain)); }

private:
    QSoundEffect effect_;
};

class QtSoundEngine : public platform::SoundEngine {
public:
    bool HasOutputs() override { return !QMediaDevices::audioOutputs().isEmpty(); }
    bool HasDefaultOutput() override { return !QMediaDevices::defaultAudioOutput().isNull(); }
    platform::EngineSound* MakeSound(const QString& nativePath) override { return new QtSound(nativePath); }
};

} // namespace

extern "C" Q_DECL_EXPORT platform::SoundEngine* mj_create_sound_engine(int interfaceVersion)
{
    if (interfaceVersion != platform::kSoundEngineInterfaceVersion)
        return nullptr;
    return new QtSoundEngine;
}
