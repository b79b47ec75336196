// A sound module for the sound device's tests: no audio, a log of what the
// device asks of it. Its outputs are set through mj_fake_sound_set_outputs.
#include "platform/sound_engine.h"

#include <QStringList>

namespace {

QStringList g_log;
bool g_hasOutputs = true;
bool g_hasDefault = true;

class FakeSound : public platform::EngineSound {
public:
    explicit FakeSound(QString path) : path_(std::move(path)) { g_log << QStringLiteral("make ") + path_; }
    ~FakeSound() override { g_log << QStringLiteral("free ") + path_; }
    void Play(bool looping) override { g_log << (looping ? QStringLiteral("loop ") : QStringLiteral("play ")) + path_; }
    void Stop() override { g_log << QStringLiteral("stop ") + path_; }
    void SetGain(double gain) override { g_log << QStringLiteral("gain %1").arg(gain, 0, 'f', 3); }

private:
    QString path_;
};

class FakeEngine : public platform::SoundEngine {
public:
    bool HasOutputs() override { return g_hasOutputs; }
    bool HasDefaultOutput() override { return g_hasDefault; }
    platform::EngineSound* MakeSound(const QString& nativePath) override { return new FakeSound(nativePath); }
};

} // namespace

extern "C" Q_DECL_EXPORT platform::SoundEngine* mj_create_sound_engine(int interfaceVersion)
{
    if (interfaceVersion != platform::kSoundEngineInterfaceVersion)
        return nullptr;
    return new FakeEngine;
}

extern "C" Q_DECL_EXPORT void mj_fake_sound_set_outputs(bool any, bool defaultOne)
{
    g_hasOutputs = any;
    g_hasDefault = defaultOne;
}

extern "C" Q_DECL_EXPORT QStringList* mj_fake_sound_log() { return &g_log; }
