#pragma once

#include "platform/sound_device.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class Client;

namespace window {

// Sound module state; lives for the whole run.
struct SoundState {
    // Full paths of the effect files; only entries 1-6 and 8 are set.
    std::array<QString, 101> SoundFiles;
    // Folder prefix of every voice file, ending in a backslash.
    QString VoicePath;
    // Switches, -1 on and 0 off. SoundOn gates every effect and voice and is
    // cleared by the module itself when the sound device fails.
    int16_t MusicOn = 0;
    int16_t EffectsOn = 0;
    int16_t SoundOn = 0;
    // The one shared buffer (tune, effects, claim and tile voices) and the
    // four chat-phrase channels.
    std::unique_ptr<platform::SoundBuffer> SharedBuffer;
    std::array<std::unique_ptr<platform::SoundBuffer>, 4> ChannelBuffers;
};

// Indexes of SoundFiles.
enum SoundFile : int {
    SoundMusic = 1,      // background tune, looping
    SoundTileLaid = 2,   // a tile laid down
    SoundTileDrawn = 3,  // a tile drawn
    SoundShuffle = 4,    // shuffle of the deal
    SoundDice = 5,       // dice roll
    SoundAlert = 6,      // countdown alert
    SoundWildStreak = 8, // a wild-tile streak
};

// The voice fields of a seat's user record that name its voice files.
struct SeatVoice {
    QString Voice1;        // voice set
    QString Voice2;        // voice folder
    uint8_t Sex = 0;       // sex byte
    uint8_t VoiceKind = 0; // voice digit
};

// Code parts of the claim voices.
inline constexpr char kVoiceChow[] = "01.wav";
inline constexpr char kVoicePong[] = "02.wav";
inline constexpr char kVoiceKong[] = "03.wav"; // exposed, concealed, green-dragon and other single-tile kongs
inline constexpr char kVoiceRedDragonKong[] = "04.wav";
inline constexpr char kVoiceWildKong[] = "05.wav";
inline constexpr char kVoiceWin[] = "09.wav";

// Fills SoundFiles and VoicePath from the program's folder.
void InitSoundPaths(Client& c);
// Opens the sound device; a failure turns SoundOn off.
void InitDirectSound(Client& c);
// Plays a wave file on the shared buffer from its start, looping when
// `looping` is non-zero; whatever played there stops.
void PlayWave(Client& c, const QString& path, int16_t looping);
// Stops the shared buffer and rewinds it.
void StopWave(Client& c);
// Stops the background segment of the music player; none is ever loaded.
void StopMusic(Client& c);
// Volume of the shared buffer: v - 3000 hundredths of a decibel for v in
// 0..3000; other values are ignored.
void SetWaveVolume(Client& c, int32_t v);
// Plays a wave file once on chat-phrase channel 0-3 at -8 dB; any other
// channel plays nothing.
void PlaySeatWave(Client& c, const QString& path, int channel);

// The full path of a seat's voice file: VoicePath, "v", the voice set, the
// voice folder, the sex byte and the voice digit in decimal, then the code.
// The voice texts come from the server: when either holds anything but
// ASCII letters and digits the result is empty, which plays nothing.
QString VoiceFileName(const Client& c, const SeatVoice& voice, const QString& code);
// The code of a discarded tile: the suit digit (honours 1, bamboo 2, dots 4,
// characters 8), the rank, ".wav".
QString TileVoiceCode(int16_t tileCode);
// The code of a quick chat phrase: "0010" for chat mode 1, else "0020", the
// phrase number, ".wav".
QString PhraseVoiceCode(int16_t chatMode, int phrase);

} // namespace window
