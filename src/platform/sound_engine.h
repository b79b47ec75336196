#pragma once

// What passes between the program's sound device and the sound module
// (mjclient_sound.so beside the program): the module holds the audio library
// and its many dependencies, so that the program starts without them and
// loads them beside its start-up work.

#include <QString>

namespace platform {

// One sound of the module, made from a wave file the program has checked.
class EngineSound {
public:
    virtual ~EngineSound() = default;
    virtual void Play(bool looping) = 0;
    virtual void Stop() = 0;
    // Linear gain, 0 (silent) to 1 (full).
    virtual void SetGain(double gain) = 0;
};

class SoundEngine {
public:
    virtual ~SoundEngine() = default;
    // Whether the system has any audio output, and a default one.
    virtual bool HasOutputs() = 0;
    virtual bool HasDefaultOutput() = 0;
    // A sound of the file at a native path; the caller deletes it.
    virtual EngineSound* MakeSound(const QString& nativePath) = 0;
};

// The module exports this C function, called on the GUI thread:
//
//   extern "C" platform::SoundEngine* mj_create_sound_engine(int interfaceVersion);
//
// It returns a new engine (the caller deletes it), or nullptr when it does
// not speak that version.
inline constexpr char kSoundEngineFactory[] = "mj_create_sound_engine";
inline constexpr int kSoundEngineInterfaceVersion = 1;
using SoundEngineFactory = SoundEngine* (*)(int interfaceVersion);

} // namespace platform
