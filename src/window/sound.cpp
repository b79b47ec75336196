#include "window/sound.h"

#include "app/client.h"
#include "platform/program_folder.h"

namespace window {

namespace {

constexpr int16_t kOff = 0;
constexpr int kSeatChannelVolume = -800;

bool IsPlainName(const QString& text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
                        u == u'_';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

void InitSoundPaths(Client& c)
{
    SoundState& s = c.window.Sound;
    const QString folder = platform::ProgramFolder();
    s.SoundFiles[SoundMusic] = folder + QStringLiteral("\\..\\common\\music\\majiang.wav");
    s.SoundFiles[SoundTileLaid] = folder + QStringLiteral("\\..\\common\\music\\dapai.wav");
    s.SoundFiles[SoundTileDrawn] = folder + QStringLiteral("\\..\\common\\music\\qupai.wav");
    s.SoundFiles[SoundShuffle] = folder + QStringLiteral("\\..\\common\\music\\xipai.wav");
    s.SoundFiles[SoundDice] = folder + QStringLiteral("\\..\\common\\music\\zhise.wav");
    s.SoundFiles[SoundAlert] = folder + QStringLiteral("\\..\\common\\music\\tishi.wav");
    s.SoundFiles[SoundWildStreak] = folder + QStringLiteral("\\..\\common\\music\\lianlai.wav");
    s.VoicePath = folder + QStringLiteral("\\..\\common\\plenx\\");
}

void InitDirectSound(Client& c)
{
    if (!c.plat.sound.Open())
        c.window.Sound.SoundOn = kOff;
}

void PlayWave(Client& c, const QString& path, int16_t looping)
{
    SoundState& s = c.window.Sound;
    if (s.SharedBuffer) {
        const bool stopped = s.SharedBuffer->Stop();
        s.SharedBuffer.reset();
        if (!stopped) {
            s.SoundOn = kOff;
            return;
        }
    }
    // From here on a failure only means this one sound is not heard.
    s.SharedBuffer = c.plat.sound.CreateBufferFromFile(path);
    if (!s.SharedBuffer)
        return;
    s.SharedBuffer->Play(looping != 0);
}

void StopWave(Client& c)
{
    SoundState& s = c.window.Sound;
    if (!s.SharedBuffer)
        return;
    if (!s.SharedBuffer->Stop() || !s.SharedBuffer->SetCurrentPosition(0))
        s.SoundOn = kOff;
}

void StopMusic(Client&)
{
    // The tune is a wave on the shared buffer; no music segment is ever
    // loaded, so there is nothing to stop here.
}

void SetWaveVolume(Client& c, int32_t v)
{
    SoundState& s = c.window.Sound;
    if (!s.SharedBuffer || v < 0 || v > 3000)
        return;
    if (!s.SharedBuffer->SetVolume(v - 3000))
        s.SoundOn = kOff;
}

void PlaySeatWave(Client& c, const QString& path, int channel)
{
    if (channel < 0 || channel > 3)
        return;
    std::unique_ptr<platform::SoundBuffer>& buffer = c.window.Sound.ChannelBuffers[channel];
    if (buffer) {
        buffer->Stop();
        buffer.reset();
    }
    buffer = c.plat.sound.CreateBufferFromFile(path);
    if (!buffer)
        return;
    buffer->Play(false);
    buffer->SetVolume(kSeatChannelVolume);
}

QString VoiceFileName(const Client& c, const SeatVoice& voice, const QString& code)
{
    if (!IsPlainName(voice.Voice1) || !IsPlainName(voice.Voice2))
        return QString();
    return c.window.Sound.VoicePath + QLatin1Char('v') + voice.Voice1 + voice.Voice2 +
           QString::number(voice.Sex) + QString::number(voice.VoiceKind) + code;
}

QString TileVoiceCode(int16_t tileCode)
{
    int suit = (tileCode >> 4) & 15;
    if (suit == 4)
        suit = 8;
    else if (suit == 8)
        suit = 4;
    return QString::number(suit) + QString::number(tileCode & 15) + QStringLiteral(".wav");
}

QString PhraseVoiceCode(int16_t chatMode, int phrase)
{
    return QLatin1String(chatMode == 1 ? "0010" : "0020") + QString::number(phrase) +
           QStringLiteral(".wav");
}

} // namespace window
