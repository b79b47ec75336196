#pragma once

#include "platform/sound_engine.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace platform {

// One sound buffer holding one wave file, as a sound card plays it. Every
// operation reports whether it worked.
class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;
    // Plays from the current position, once or over and over.
    virtual bool Play(bool looping) = 0;
    virtual bool Stop() = 0;
    // Moves the play position to a byte offset of the wave data.
    virtual bool SetCurrentPosition(int position) = 0;
    // Attenuation in hundredths of a decibel, -10000 (silent) to 0 (full).
    virtual bool SetVolume(int hundredthsDb) = 0;
};

// The sound output: opened once, then makes a buffer per wave file played.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // Opens the default output device; false when it cannot be used.
    virtual bool Open() = 0;
    // A buffer holding the wave file at `path` (backslashes allowed as
    // separators); null when the file is missing or not a PCM wave file.
    virtual std::unique_ptr<SoundBuffer> CreateBufferFromFile(const QString& path) = 0;
};

// True when the file is a RIFF wave file with PCM data that a buffer can
// hold: the check every device makes before it accepts a file.
bool IsPlayableWaveFile(const QString& path);

// Linear gain (0 to 1) of an attenuation in hundredths of a decibel.
double GainOfHundredthsDb(int hundredthsDb);

// Plays nothing: stands in where no audio output exists. Its buffers accept
// exactly the files a real device would, so missing files fail the same way.
class SilentSoundDevice : public SoundDevice {
public:
    bool Open() override { return true; }
    std::unique_ptr<SoundBuffer> CreateBufferFromFile(const QString& path) override;
};

// The sound module of a program folder: <folder>/mjclient_sound.so.
QString SoundModulePath(const QString& programFolder);

// The real output, through the sound module (platform/sound_engine.h). The
// module starts loading on a worker thread when the device is made, so the
// audio libraries are read and linked while the program starts. Open never
// waits for it: while it loads, Open answers true and the buffers made
// meanwhile keep what they were told (playing, looping, volume) and pass it
// on once the module is there, so the table is drawn without waiting for the
// audio libraries. Without the module, or on a system without any audio
// output, the device is silent and accepts the files SilentSoundDevice
// accepts.
class ModuleSoundDevice : public SoundDevice {
public:
    // `beforeLoad`, when given, runs on the worker thread before the module
    // is loaded (tests hold the load back with it).
    explicit ModuleSoundDevice(QString modulePath, std::function<void()> beforeLoad = {});
    ~ModuleSoundDevice() override;
    ModuleSoundDevice(const ModuleSoundDevice&) = delete;
    ModuleSoundDevice& operator=(const ModuleSoundDevice&) = delete;

    // Once the module has loaded: false only when the system has audio
    // outputs but no default one. While it loads: true; should the system
    // then turn out to have no default output, the device stays silent.
    bool Open() override;
    // Null until Open succeeded, and for the files IsPlayableWaveFile refuses.
    std::unique_ptr<SoundBuffer> CreateBufferFromFile(const QString& path) override;
    // Whether sounds reach an audio output (false: the device is silent).
    bool Audible() const { return engine_ != nullptr; }
    // Waits until the worker thread has loaded the module (or failed to) and
    // finishes an Open that was answered while it loaded.
    void WaitUntilLoaded();

    struct Deferred;

private:
    // Makes the engine from the loaded module and answers Open.
    bool OpenEngine();

    QString path_;
    std::thread loader_;
    std::atomic<bool> loaded_{false};
    // Set by the loader thread, read once it has been joined.
    SoundEngineFactory factory_ = nullptr;
    QString loadError_;
    bool tried_ = false;
    bool open_ = false;
    bool openPending_ = false; // Open answered before the module had loaded
    std::unique_ptr<SoundEngine> engine_;
    // Buffers made while the module loaded; they get their sound when it is there.
    std::vector<std::weak_ptr<Deferred>> deferred_;
    // Lets the loader's "loaded" notice find the device only while it exists.
    std::shared_ptr<ModuleSoundDevice*> self_;
};

// The device the program uses: the sound module beside the program.
// `beforeLoad` as for ModuleSoundDevice: the program holds the module back
// until its window has been painted.
std::unique_ptr<SoundDevice> CreateSoundDevice(const QString& programFolder, std::function<void()> beforeLoad = {});

} // namespace platform
