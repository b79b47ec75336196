#include "platform/sound_device.h"

#include "support/wave_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <future>
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
    device.WaitUntilLoaded();
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
    device.WaitUntilLoaded();
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
    device.WaitUntilLoaded();
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

// Holds the device's module load back until released.
struct LoadGate {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::function<void()> Hold()
    {
        return [f = released] { f.wait(); };
    }
};

// Runs the event loop until the device has its engine or the time is up.
static bool WaitAudible(const ModuleSoundDevice& device)
{
    QElapsedTimer timer;
    timer.start();
    while (!device.Audible() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return device.Audible();
}

TEST(SoundModule, OpenDoesNotWaitForTheModuleAndEarlyBuffersCatchUp)
{
    FakeModule fake;
    Waves waves;
    const QString second = waves.dir.filePath(QStringLiteral("second.wav"));
    testing_support::WriteWave(second);
    LoadGate gate;
    ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE), gate.Hold()};
    ASSERT_TRUE(device.Open());
    EXPECT_FALSE(device.Audible());
    // The start-up tune: looping at a volume, before the module is there.
    std::unique_ptr<platform::SoundBuffer> tune = device.CreateBufferFromFile(waves.good);
    ASSERT_TRUE(tune);
    EXPECT_TRUE(tune->SetVolume(-2000));
    EXPECT_TRUE(tune->Play(true));
    // A sound that was stopped again before the module came stays quiet.
    std::unique_ptr<platform::SoundBuffer> stopped = device.CreateBufferFromFile(second);
    ASSERT_TRUE(stopped);
    EXPECT_TRUE(stopped->Play(false));
    EXPECT_TRUE(stopped->Stop());
    // A file the device refuses is refused while it loads too.
    EXPECT_EQ(device.CreateBufferFromFile(waves.bad), nullptr);
    EXPECT_TRUE(fake.log->isEmpty());

    gate.release.set_value();
    ASSERT_TRUE(WaitAudible(device));
    const QString tunePath = QDir::toNativeSeparators(waves.good);
    const QString secondPath = QDir::toNativeSeparators(second);
    EXPECT_EQ(*fake.log, QStringList({"make " + tunePath, "gain 0.100", "loop " + tunePath, "make " + secondPath}));
    // From now on the early buffers pass straight on.
    fake.log->clear();
    EXPECT_TRUE(tune->Stop());
    EXPECT_EQ(*fake.log, QStringList({"stop " + tunePath}));
}

TEST(SoundModule, ASystemWithoutDefaultOutputFoundAfterOpenLeavesTheDeviceSilent)
{
    FakeModule fake;
    fake.SetOutputs(true, false);
    Waves waves;
    LoadGate gate;
    ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE), gate.Hold()};
    ASSERT_TRUE(device.Open());
    std::unique_ptr<platform::SoundBuffer> early = device.CreateBufferFromFile(waves.good);
    ASSERT_TRUE(early);
    EXPECT_TRUE(early->Play(true));
    gate.release.set_value();
    device.WaitUntilLoaded();
    EXPECT_FALSE(device.Audible());
    EXPECT_TRUE(early->Stop());
    EXPECT_NE(device.CreateBufferFromFile(waves.good), nullptr);
    EXPECT_EQ(device.CreateBufferFromFile(waves.bad), nullptr);
    EXPECT_FALSE(fake.log->contains("make " + QDir::toNativeSeparators(waves.good)));
}

TEST(SoundModule, TheLoadedNoticeFindsNoDeviceOnceItIsGone)
{
    FakeModule fake;
    {
        ModuleSoundDevice device{QStringLiteral(MJ_FAKE_SOUND_MODULE)};
        ASSERT_TRUE(device.Open());
    } // the loader is joined here; its notice is still queued
    QCoreApplication::processEvents();
    EXPECT_TRUE(fake.log->isEmpty());
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
        device.WaitUntilLoaded();
        device.Open();
    }
    qInstallMessageHandler(before);
    EXPECT_TRUE(g_warnings.filter(QStringLiteral("sounds stay silent")).isEmpty()) << g_warnings.join('\n').toStdString();

    g_warnings.clear();
    qInstallMessageHandler(KeepWarning);
    {
        ModuleSoundDevice device{QStringLiteral("/nonexistent/mjclient_sound.so")};
        device.WaitUntilLoaded();
        device.Open();
    }
    qInstallMessageHandler(before);
    EXPECT_EQ(g_warnings.filter(QStringLiteral("sounds stay silent")).size(), 1);
}
