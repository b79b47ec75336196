#include "platform/sound_device.h"

#include "support/wave_file.h"

#include <QDir>
#include <QLibrary>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::ModuleSoundDevice;

// The fake module's controls, reached the way the device reaches its factory.
struct FakeModule {
    QLibrary library{QStringLiteral(MJ_FAKE_SOUND_MODULE)};
    QStringList* log = nullptr;
    FakeModule()
    {
        EXPECT_TRUE(library.load()) << library.errorString().toStdString();
        log = reinterpret_cast<QStringList* (*)()>(library.resolve("mj_fake_sound_log"))();
        log->clear();
        SetOutputs(true, true);
    }
    ~FakeModule() { SetOutputs(true, true); }
    void SetOutputs(bool any, bool defaultOne)
    {
        reinterpret_cast<void (*)(bool, bool)>(library.resolve("mj_fake_sound_set_outputs"))(any, defaultOne);
    }
};

struct Waves {
    QTemporaryDir dir;
    QString good = dir.filePath(QStringLiteral("tile.wav"));
    QString bad = dir.filePath(QStringLiteral("broken.wav"));
    Waves()
    {
        testing_support::WriteWave(good);
        QFile f(bad);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF not a wave");
    }
};

struct OutputCase {
    const char* name;
    bool anyOutput;
    bool defaultOutput;
    bool opens;
    bool audible;
};
void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class SoundModuleOutputs : public ::testing::TestWithParam<OutputCase> {};

} // namespace

TEST_P(SoundModuleOutputs, OpenAnswersFromTheSystemsOutputs)
{
    const OutputCase& oc = GetParam();
    FakeModule fake;
    fake.SetOutputs(oc.anyOutput, oc.defaultOutput);
    Waves waves;
    ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE)};
    EXPECT_EQ(device.Open(), oc.opens);
    EXPECT_EQ(device.Audible(), oc.audible);
    EXPECT_EQ(device.CreateBufferFromFile(waves.good) != nullptr, oc.opens);
    EXPECT_EQ(device.CreateBufferFromFile(waves.bad), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    SoundModule, SoundModuleOutputs,
    ::testing::Values(OutputCase{"DefaultOutput", true, true, true, true},
                      OutputCase{"NoOutputAtAllIsSilent", false, false, true, false},
                      OutputCase{"OutputsButNoDefaultFails", true, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoundModule, BuffersPassPlayStopAndVolumeToTheModule)
{
    FakeModule fake;
    Waves waves;
    ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE)};
    ASSERT_TRUE(device.Open());
    {
        std::unique_ptr<platform::SoundBuffer> buffer = device.CreateBufferFromFile(waves.good);
        ASSERT_TRUE(buffer);
        EXPECT_TRUE(buffer->SetVolume(-2000));
        EXPECT_TRUE(buffer->Play(true));
        EXPECT_TRUE(buffer->Stop());
        EXPECT_TRUE(buffer->SetCurrentPosition(0));
        EXPECT_TRUE(buffer->Play(false));
    }
    const QString path = QDir::toNativeSeparators(waves.good);
    EXPECT_EQ(*fake.log, QStringList({"make " + path, "gain 0.100", "loop " + path, "stop " + path, "play " + path,
                                      "free " + path}));
}

TEST(SoundModule, WithoutTheModuleTheDeviceIsSilentButChecksItsFiles)
{
    Waves waves;
    ModuleSoundDevice device{waves.dir.filePath(QStringLiteral("mjclient_sound.so"))};
    EXPECT_TRUE(device.Open());
    EXPECT_FALSE(device.Audible());
    std::unique_ptr<platform::SoundBuffer> buffer = device.CreateBufferFromFile(waves.good);
    ASSERT_TRUE(buffer);
    EXPECT_TRUE(buffer->Play(false));
    EXPECT_EQ(device.CreateBufferFromFile(waves.bad), nullptr);
    EXPECT_EQ(device.CreateBufferFromFile(waves.dir.filePath(QStringLiteral("missing.wav"))), nullptr);
}

TEST(SoundModule, NoBufferBeforeOpen)
{
    FakeModule fake;
    Waves waves;
    ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE)};
    EXPECT_EQ(device.CreateBufferFromFile(waves.good), nullptr);
}

static QStringList g_warnings;
static void KeepWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

TEST(SoundModule, TheProgramsModuleLoadsWithoutAWord)
{
    // Whatever outputs this machine has, the program's module loads and its
    // engine starts: the device says nothing about staying silent.
    g_warnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(KeepWarning);
    {
        ModuleSoundDevice device{QStringLiteral(MJ_SOUND_MODULE)};
        device.Open();
    }
    qInstallMessageHandler(before);
    EXPECT_TRUE(g_warnings.filter(QStringLiteral("sounds stay silent")).isEmpty()) << g_warnings.join('\n').toStdString();

    g_warnings.clear();
    qInstallMessageHandler(KeepWarning);
    {
        ModuleSoundDevice device{QStringLiteral("/nonexistent/mjclient_sound.so")};
        device.Open();
    }
    qInstallMessageHandler(before);
    EXPECT_EQ(g_warnings.filter(QStringLiteral("sounds stay silent")).size(), 1);
}
