// The sound module: file table, voice names, the shared channel and the
// four chat-phrase channels, on a device that records what it is asked.
#include "support/test_client.h"
#include "support/wave_file.h"
#include "window/sound.h"

#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using testing_support::RecordingSoundDevice;
using testing_support::TestClient;

using testing_support::WriteWave;

class SoundTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"tune", "effect", "voice1", "voice2"})
            WriteWave(File(name));
        window::SoundState& s = c.window.Sound;
        s.MusicOn = s.EffectsOn = s.SoundOn = -1;
        window::InitDirectSound(c);
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name) + ".wav"); }

    QTemporaryDir dir;
    TestClient t;
    Client& c = t.client;
    RecordingSoundDevice& device = t.sound;
    window::SoundState& sound = c.window.Sound;
};

// ---- the file table -------------------------------------------------------

TEST(SoundFiles, AreBesideTheProgramsFolder)
{
    TestClient t;
    window::InitSoundPaths(t.client);
    const window::SoundState& s = t.client.window.Sound;
    const QString folder = platform::ProgramFolder();
    const std::map<int, const char*> files = {
        {1, "majiang"}, {2, "dapai"}, {3, "qupai"}, {4, "xipai"}, {5, "zhise"}, {6, "tishi"}, {8, "lianlai"}};
    for (int i = 0; i <= 100; ++i) {
        if (files.count(i))
            EXPECT_EQ(s.SoundFiles[i], folder + "\\..\\common\\music\\" + files.at(i) + ".wav") << i;
        else
            EXPECT_TRUE(s.SoundFiles[i].isEmpty()) << i;
    }
    EXPECT_EQ(s.VoicePath, folder + "\\..\\common\\plenx\\");
}

TEST(SoundFiles, BackslashPathsReachTheDevice)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("prog");
    QDir(dir.path()).mkpath("common/music");
    WriteWave(dir.filePath("common/music/dapai.wav"));
    TestClient t;
    window::PlayWave(t.client, dir.path() + "\\prog\\..\\common\\music\\dapai.wav", 0);
    ASSERT_EQ(t.sound.Playing().size(), 1u);
}

// ---- opening the device ---------------------------------------------------

TEST(DirectSound, AFailingDeviceTurnsSoundOff)
{
    TestClient t;
    t.client.window.Sound.SoundOn = -1;
    t.sound.openWorks = false;
    window::InitDirectSound(t.client);
    EXPECT_EQ(t.client.window.Sound.SoundOn, 0);
    EXPECT_EQ(t.sound.opens, 1);
}

TEST(DirectSound, SilentDeviceOpensAndAcceptsOnlyWaveFiles)
{
    QTemporaryDir dir;
    WriteWave(dir.filePath("a.wav"));
    QFile text(dir.filePath("b.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a wave file at all, just text");
    text.close();
    platform::SilentSoundDevice device;
    EXPECT_TRUE(device.Open());
    EXPECT_NE(device.CreateBufferFromFile(dir.filePath("a.wav")), nullptr);
    EXPECT_EQ(device.CreateBufferFromFile(dir.filePath("b.wav")), nullptr);
    EXPECT_EQ(device.CreateBufferFromFile(dir.filePath("c.wav")), nullptr);
    EXPECT_EQ(device.CreateBufferFromFile(QString()), nullptr);
}

// ---- the shared channel ---------------------------------------------------

TEST_F(SoundTest, StartUpTuneLoopsAtFullVolume)
{
    window::StopWave(c);
    window::PlayWave(c, File("tune"), -1);
    window::SetWaveVolume(c, 3000);
    ASSERT_EQ(device.Playing().size(), 1u);
    EXPECT_TRUE(device.Playing()[0]->looping);
    EXPECT_EQ(device.Playing()[0]->volume, 0);
}

TEST_F(SoundTest, AnEffectEndsTheTuneForGood)
{
    window::PlayWave(c, File("tune"), -1);
    window::PlayWave(c, File("effect"), 0);
    const auto playing = device.Playing();
    ASSERT_EQ(playing.size(), 1u);
    EXPECT_EQ(playing[0]->path, File("effect"));
    EXPECT_FALSE(playing[0]->looping);
    EXPECT_TRUE(device.buffers[0]->released);
    EXPECT_EQ(device.buffers[0]->stops, 1);
    window::PlayWave(c, File("voice1"), 0);
    for (const auto& b : device.buffers)
        EXPECT_FALSE(b->looping && !b->released) << b->path.toStdString();
}

TEST_F(SoundTest, AMissingFileStopsTheOldWaveAndPlaysNothing)
{
    window::PlayWave(c, File("tune"), -1);
    window::PlayWave(c, dir.filePath("nowhere/v27101385.wav"), 0);
    EXPECT_TRUE(device.Playing().empty());
    EXPECT_FALSE(sound.SharedBuffer);
    EXPECT_EQ(sound.SoundOn, -1);
    // Without a buffer the other calls change nothing.
    window::StopWave(c);
    window::SetWaveVolume(c, 3000);
    EXPECT_EQ(sound.SoundOn, -1);
}

TEST_F(SoundTest, AnEmptyNameOnlyStopsWhatPlays)
{
    window::PlayWave(c, File("effect"), 0);
    window::PlayWave(c, QString(), 0);
    EXPECT_TRUE(device.Playing().empty());
    EXPECT_EQ(sound.SoundOn, -1);
}

TEST_F(SoundTest, StopWaveStopsAndRewinds)
{
    window::PlayWave(c, File("tune"), -1);
    window::StopWave(c);
    EXPECT_TRUE(device.Playing().empty());
    EXPECT_EQ(device.buffers[0]->position, 0);
    EXPECT_FALSE(device.buffers[0]->released) << "the buffer stays for the next play";
}

struct VolumeCase {
    int32_t v;
    std::optional<int> hundredthsDb;
};

void PrintTo(const VolumeCase& c, std::ostream* os) { *os << "v=" << c.v; }

class SoundVolume : public SoundTest, public testing::WithParamInterface<VolumeCase> {};

TEST_P(SoundVolume, MapsZeroToThreeThousandAndIgnoresTheRest)
{
    window::PlayWave(c, File("effect"), 0);
    window::SetWaveVolume(c, GetParam().v);
    EXPECT_EQ(device.buffers[0]->volume, GetParam().hundredthsDb);
    EXPECT_EQ(sound.SoundOn, -1);
}

INSTANTIATE_TEST_SUITE_P(Range, SoundVolume,
                         testing::Values(VolumeCase{3000, 0}, VolumeCase{0, -3000}, VolumeCase{1234, -1766},
                                         VolumeCase{3001, std::nullopt}, VolumeCase{-1, std::nullopt},
                                         VolumeCase{100000, std::nullopt}));

// Which failures of the device switch all sound off.
enum class Failure { Stop, Position, Volume };

void PrintTo(Failure f, std::ostream* os)
{
    *os << (f == Failure::Stop ? "stop" : f == Failure::Position ? "rewind" : "volume");
}

class SoundFailure : public SoundTest, public testing::WithParamInterface<Failure> {};

TEST_P(SoundFailure, OnTheSharedBufferTurnsSoundOff)
{
    window::PlayWave(c, File("tune"), -1);
    switch (GetParam()) {
    case Failure::Stop:
        device.stopWorks = false;
        window::PlayWave(c, File("effect"), 0);
        EXPECT_EQ(device.buffers.size(), 1u) << "the call ends before a new buffer";
        break;
    case Failure::Position:
        device.positionWorks = false;
        window::StopWave(c);
        break;
    case Failure::Volume:
        device.volumeWorks = false;
        window::SetWaveVolume(c, 3000);
        break;
    }
    EXPECT_EQ(sound.SoundOn, 0);
}

INSTANTIATE_TEST_SUITE_P(Device, SoundFailure, testing::Values(Failure::Stop, Failure::Position, Failure::Volume));

TEST_F(SoundTest, StopMusicLeavesTheTunePlaying)
{
    window::PlayWave(c, File("tune"), -1);
    window::StopMusic(c);
    EXPECT_EQ(device.Playing().size(), 1u);
}

// ---- the chat-phrase channels ---------------------------------------------

TEST_F(SoundTest, SeatChannelsPlayTogetherAtMinusEightDecibels)
{
    window::PlaySeatWave(c, File("voice1"), 0);
    window::PlaySeatWave(c, File("voice2"), 2);
    const auto playing = device.Playing();
    ASSERT_EQ(playing.size(), 2u);
    for (const auto& b : playing) {
        EXPECT_FALSE(b->looping);
        EXPECT_EQ(b->volume, -800);
    }
}

TEST_F(SoundTest, SameSeatChannelCutsTheFirstVoice)
{
    window::PlaySeatWave(c, File("voice1"), 3);
    window::PlaySeatWave(c, File("voice2"), 3);
    const auto playing = device.Playing();
    ASSERT_EQ(playing.size(), 1u);
    EXPECT_EQ(playing[0]->path, File("voice2"));
    EXPECT_TRUE(device.buffers[0]->released);
}

TEST_F(SoundTest, SeatChannelsAndTheSharedChannelAreApart)
{
    window::PlayWave(c, File("tune"), -1);
    window::PlaySeatWave(c, File("voice1"), 1);
    window::PlayWave(c, File("effect"), 0);
    EXPECT_EQ(device.Playing().size(), 2u);
    window::StopWave(c);
    ASSERT_EQ(device.Playing().size(), 1u);
    EXPECT_EQ(device.Playing()[0]->path, File("voice1"));
}

TEST_F(SoundTest, ChannelsOutsideZeroToThreePlayNothing)
{
    for (int channel : {4, -1, 100})
        window::PlaySeatWave(c, File("voice1"), channel);
    EXPECT_EQ(device.createRequests, 0);
}

TEST_F(SoundTest, SeatChannelFailuresChangeNoState)
{
    window::PlaySeatWave(c, File("voice1"), 0);
    device.stopWorks = false;
    device.volumeWorks = false;
    window::PlaySeatWave(c, File("voice2"), 0);
    window::PlaySeatWave(c, dir.filePath("missing.wav"), 1);
    EXPECT_EQ(sound.SoundOn, -1);
}

// ---- voice names ----------------------------------------------------------

struct VoiceCase {
    window::SeatVoice voice;
    QString code;
    const char* name; // after VoicePath; empty: no voice
};

void PrintTo(const VoiceCase& c, std::ostream* os) { *os << (*c.name ? c.name : "no voice"); }

class VoiceName : public testing::TestWithParam<VoiceCase> {};

TEST_P(VoiceName, FollowsTheRule)
{
    TestClient t;
    t.client.window.Sound.VoicePath = QStringLiteral("C:\\prog\\..\\common\\plenx\\");
    const VoiceCase& vc = GetParam();
    const QString name = window::VoiceFileName(t.client, vc.voice, vc.code);
    if (*vc.name == '\0')
        EXPECT_TRUE(name.isEmpty()) << name.toStdString();
    else
        EXPECT_EQ(name, t.client.window.Sound.VoicePath + QString::fromLatin1(vc.name));
}

const window::SeatVoice kMan{QStringLiteral("27"), QStringLiteral("10"), 1, 3};
const window::SeatVoice kWoman{QStringLiteral("27"), QStringLiteral("20"), 0, 2};

INSTANTIATE_TEST_SUITE_P(
    Codes, VoiceName,
    testing::Values(
        // Discarded tiles: honours 1, bamboo 2, dots 4, characters 8, then the rank.
        VoiceCase{kMan, window::TileVoiceCode(0x45), "v27101385.wav"},
        VoiceCase{kMan, window::TileVoiceCode(0x85), "v27101345.wav"},
        VoiceCase{kMan, window::TileVoiceCode(0x15), "v27101315.wav"},
        VoiceCase{kWoman, window::TileVoiceCode(0x11), "v27200211.wav"},
        VoiceCase{kWoman, window::TileVoiceCode(0x29), "v27200229.wav"},
        VoiceCase{kWoman, window::TileVoiceCode(0x43), "v27200283.wav"},
        VoiceCase{kWoman, window::TileVoiceCode(0x17), "v27200217.wav"},
        // Claims.
        VoiceCase{kMan, QString::fromLatin1(window::kVoiceChow), "v27101301.wav"},
        VoiceCase{kMan, QString::fromLatin1(window::kVoicePong), "v27101302.wav"},
        VoiceCase{kMan, QString::fromLatin1(window::kVoiceKong), "v27101303.wav"},
        VoiceCase{kMan, QString::fromLatin1(window::kVoiceRedDragonKong), "v27101304.wav"},
        VoiceCase{kMan, QString::fromLatin1(window::kVoiceWildKong), "v27101305.wav"},
        VoiceCase{kWoman, QString::fromLatin1(window::kVoiceWin), "v27200209.wav"},
        // Quick phrases of list 1 and list 2.
        VoiceCase{kWoman, window::PhraseVoiceCode(1, 3), "v2720020010" "3.wav"},
        VoiceCase{kMan, window::PhraseVoiceCode(2, 12), "v2710130020" "12.wav"},
        // Numbers in decimal without padding; empty voice texts are allowed.
        VoiceCase{{QString(), QString(), 255, 0}, window::TileVoiceCode(0x21), "v255021.wav"},
        VoiceCase{{QStringLiteral("Ab9"), QStringLiteral("zZ0"), 1, 3}, QStringLiteral("01.wav"), "vAb9zZ01301.wav"},
        // Voice texts come from the server: anything but letters and digits
        // names no file.
        VoiceCase{{QStringLiteral(".."), QStringLiteral("10"), 1, 3}, QStringLiteral("01.wav"), ""},
        VoiceCase{{QStringLiteral("27"), QStringLiteral("..\\..\\x"), 1, 3}, QStringLiteral("01.wav"), ""},
        VoiceCase{{QStringLiteral("27/"), QStringLiteral("10"), 1, 3}, QStringLiteral("01.wav"), ""},
        VoiceCase{{QStringLiteral("27"), QStringLiteral("1 0"), 1, 3}, QStringLiteral("01.wav"), ""},
        VoiceCase{{QStringLiteral("2\u4e2d"), QStringLiteral("10"), 1, 3}, QStringLiteral("01.wav"), ""}));

TEST_F(SoundTest, WithoutTheVoiceFolderNoVoicePlaysAndSoundStaysOn)
{
    sound.VoicePath = dir.filePath("plenx") + "\\";
    window::PlayWave(c, File("tune"), -1);
    window::PlayWave(c, window::VoiceFileName(c, kMan, window::TileVoiceCode(0x45)), 0);
    window::SetWaveVolume(c, 3000);
    EXPECT_TRUE(device.Playing().empty());
    EXPECT_EQ(sound.SoundOn, -1);
}

TEST_F(SoundTest, AVoiceFromTheVoiceFolderPlays)
{
    QDir(dir.path()).mkpath("plenx");
    WriteWave(dir.filePath("plenx/v27101302.wav"));
    sound.VoicePath = dir.path() + "\\plenx\\";
    window::PlayWave(c, window::VoiceFileName(c, kMan, QString::fromLatin1(window::kVoicePong)), 0);
    ASSERT_EQ(device.Playing().size(), 1u);
}

// ---- the platform's wave check and volume ---------------------------------

TEST(WaveFiles, OnlyPcmWavesWithDataAreAccepted)
{
    QTemporaryDir dir;
    WriteWave(dir.filePath("good.wav"));
    WriteWave(dir.filePath("empty.wav"), 0);
    QFile good(dir.filePath("good.wav"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    QByteArray bytes = good.readAll();
    auto write = [&dir](const char* name, const QByteArray& b) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    };
    QByteArray floatWave = bytes;
    floatWave[20] = 3; // IEEE float format tag
    write("float.wav", floatWave);
    write("short.wav", bytes.left(30));
    write("riff.wav", QByteArray("RIFX") + bytes.mid(4));
    EXPECT_TRUE(platform::IsPlayableWaveFile(dir.filePath("good.wav")));
    EXPECT_TRUE(platform::IsPlayableWaveFile(dir.path() + "\\good.wav")) << "backslashes as separators";
    for (const char* bad : {"empty.wav", "float.wav", "short.wav", "riff.wav", "none.wav"})
        EXPECT_FALSE(platform::IsPlayableWaveFile(dir.filePath(bad))) << bad;
}

TEST(WaveFiles, HundredthsOfADecibelBecomeLinearGain)
{
    EXPECT_DOUBLE_EQ(platform::GainOfHundredthsDb(0), 1.0);
    EXPECT_NEAR(platform::GainOfHundredthsDb(-2000), 0.1, 1e-12);
    EXPECT_NEAR(platform::GainOfHundredthsDb(-800), 0.398, 1e-3);
    EXPECT_DOUBLE_EQ(platform::GainOfHundredthsDb(-10000), 0.0);
    EXPECT_DOUBLE_EQ(platform::GainOfHundredthsDb(500), 1.0);
}

} // namespace
