#pragma once

#include <QString>
#include <memory>

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

// The real output over Qt Multimedia, on the system's default audio output.
class QtSoundDevice : public SoundDevice {
public:
    bool Open() override;
    std::unique_ptr<SoundBuffer> CreateBufferFromFile(const QString& path) override;

private:
    bool open_ = false;
};

// The device the program uses: the Qt Multimedia one when the system has an
// audio output, otherwise the silent one.
std::unique_ptr<SoundDevice> CreateSoundDevice();

} // namespace platform
