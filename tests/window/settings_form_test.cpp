// The settings window: its loading, each switch and its undoing by cancel,
// the plug-in told of the sound switch, pictures that follow the real sound
// state, driven by mouse clicks on the window.
#include "window/settings_form.h"

#include "support/test_client.h"
#include "support/wave_file.h"
#include "window/main_form.h"
#include "window/sound.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Settings : TestClient {
    QTemporaryDir dir;
    window::SettingsForm& f = *client.VosSet;
    window::SoundState& s = client.window.Sound;
    FakePropPlugin* plugin = nullptr;

    Settings()
    {
        // Start-up: everything on and the tune playing.
        s.SoundFiles[window::SoundMusic] = dir.filePath(QStringLiteral("tune.wav"));
        WriteWave(s.SoundFiles[window::SoundMusic]);
        s.MusicOn = s.EffectsOn = s.SoundOn = -1;
        window::InitDirectSound(client);
        window::PlayWave(client, s.SoundFiles[window::SoundMusic], 1);
        auto p = std::make_unique<FakePropPlugin>();
        plugin = p.get();
        client.rewards.PropPlugin = std::move(p);
        client.rewards.PropPluginState = 1;
        client.MainForm->move(100, 50);
        client.MainForm->pic1->setGeometry(0, 0, 1024, 700);
        window::ShowSettings(client);
        QApplication::processEvents();
    }

    void Click(platform::GraphicControl& control)
    {
        const QRectF r = control.PaintRect();
        QTest::mouseClick(&f, Qt::LeftButton, {}, r.center().toPoint());
    }
    void Switch(int k) { Click(f.Command2[k]); }
    void Ok() { Click(f.Command1[0]); }
    void Cancel() { Click(f.Command1[1]); }

    int Pic(int entry) const { return client.window.PicIds.DialogPicIds[static_cast<std::size_t>(entry)].toInt(); }
    int16_t& State(int k) { return k == 0 ? s.MusicOn : k == 1 ? s.EffectsOn : s.SoundOn; }

    // The tune's buffers that play now.
    int TunesPlaying() const
    {
        int n = 0;
        for (const auto& b : sound.Playing())
            n += b->path == s.SoundFiles[window::SoundMusic] && b->looping ? 1 : 0;
        return n;
    }
};

TEST(SettingsWindow, LoadsItsControlsAndPlacesItOverTheTablesLowerRight)
{
    Settings t;
    EXPECT_TRUE(t.f.isVisible());
    EXPECT_EQ(t.f.size(), QSize(220, 330));
    EXPECT_EQ(t.f.windowTitle(), QStringLiteral("音效设置"));
    EXPECT_EQ(t.f.BackPicture.resourceId, window::kSettingsBackground);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(t.f.Image1[k].PictureId(), window::kSettingsCaptionFirst + k);
        EXPECT_TRUE(t.f.Command2[k].Visible);
        EXPECT_FLOAT_EQ(t.f.Command2[k].Left, 16 + 91 + 20);
        EXPECT_FLOAT_EQ(t.f.Command2[k].Top, t.f.Image1[k].Top + 3);
        EXPECT_FLOAT_EQ(t.f.Command2[k].Width, 65);
        EXPECT_EQ(t.f.Command2[k].PictureId(), t.Pic(k == 3 ? window::kPicDialect : window::kPicTurnOff)) << k;
    }
    EXPECT_EQ(t.f.Command1[0].PictureId(), t.Pic(0));
    EXPECT_EQ(t.f.Command1[1].PictureId(), t.Pic(2));
    EXPECT_FLOAT_EQ(t.f.Command1[1].Left, 28 + 1.4f * t.f.Command1[0].Width);
    const QPoint table = t.client.MainForm->pic1->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(t.f.pos(), QPoint(table.x() + 1024 - 242, table.y() + 700 - 445));
}

TEST(SettingsWindow, EachSwitchActsAtOnceAndCancelUndoesIt)
{
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        Settings t;
        t.plugin->calls.clear();
        t.Switch(k);
        EXPECT_EQ(t.State(k), 0);
        EXPECT_EQ(t.f.Command2[k].PictureId(), t.Pic(window::kPicTurnOn));
        for (int other = 0; other < 3; ++other) {
            if (other != k) {
                EXPECT_EQ(t.State(other), -1) << other;
            }
        }
        EXPECT_EQ(t.TunesPlaying(), k == 0 ? 0 : 1);
        t.Cancel();
        EXPECT_FALSE(t.f.isVisible());
        EXPECT_EQ(t.State(k), -1);
        EXPECT_EQ(t.f.Command2[k].PictureId(), t.Pic(window::kPicTurnOff));
        EXPECT_EQ(t.TunesPlaying(), 1);
        // The plug-in hears the sound switch and its undoing, nothing else.
        const QStringList told = k == 2 ? QStringList{QStringLiteral("rec_state(1, false, 0)"),
                                                      QStringLiteral("rec_state(1, true, 0)")}
                                        : QStringList{};
        EXPECT_EQ(t.plugin->calls, told);
    }
}

TEST(SettingsWindow, CancelRestartsTheTuneFromItsStart)
{
    Settings t;
    const std::size_t before = t.sound.buffers.size();
    t.Switch(0);
    EXPECT_EQ(t.TunesPlaying(), 0);
    t.Cancel();
    ASSERT_EQ(t.sound.buffers.size(), before + 1);
    const auto& tune = t.sound.buffers.back();
    EXPECT_TRUE(tune->playing);
    EXPECT_TRUE(tune->looping);
    EXPECT_EQ(tune->volume, 0); // SetWaveVolume(3000): full volume
}

TEST(SettingsWindow, SoundSwitchedTwiceThenCancelChangesNothing)
{
    Settings t;
    t.plugin->calls.clear();
    t.Switch(2);
    t.Switch(2);
    t.Cancel();
    EXPECT_EQ(t.s.SoundOn, -1);
    EXPECT_EQ(t.plugin->calls,
              (QStringList{QStringLiteral("rec_state(1, false, 0)"), QStringLiteral("rec_state(1, true, 0)")}));
}

TEST(SettingsWindow, OkKeepsTheSwitchesAndALaterCancelKeepsThemToo)
{
    Settings t;
    t.Switch(0);
    t.Switch(1);
    t.Ok();
    EXPECT_FALSE(t.f.isVisible());
    EXPECT_EQ(t.s.MusicOn, 0);
    EXPECT_EQ(t.s.EffectsOn, 0);
    window::ShowSettings(t.client);
    EXPECT_EQ(t.f.Command2[0].PictureId(), t.Pic(window::kPicTurnOn));
    t.Cancel();
    EXPECT_EQ(t.s.MusicOn, 0);
    EXPECT_EQ(t.s.EffectsOn, 0);
    EXPECT_EQ(t.TunesPlaying(), 0);
}

TEST(SettingsWindow, HiddenAnotherWayTheSwitchesStayPendingForCancel)
{
    Settings t;
    t.Switch(1);
    t.f.Hide(); // a click on the table hides it
    window::ShowSettings(t.client);
    t.Cancel();
    EXPECT_EQ(t.s.EffectsOn, -1);
}

TEST(SettingsWindow, APluginNotRunningIsNotTold)
{
    for (int16_t state : {int16_t{0}, int16_t{-1}}) {
        Settings t;
        t.client.rewards.PropPluginState = state;
        t.plugin->calls.clear();
        t.Switch(2);
        t.Cancel();
        EXPECT_TRUE(t.plugin->calls.isEmpty()) << state;
        EXPECT_EQ(t.s.SoundOn, -1);
    }
}

TEST(SettingsWindow, PicturesFollowTheRealSoundState)
{
    // The sound failed before the window opened: its switch offers "on".
    {
        Settings t;
        t.f.Hide();
        t.s.SoundOn = 0;
        window::ShowSettings(t.client);
        EXPECT_EQ(t.f.Command2[2].PictureId(), t.Pic(window::kPicTurnOn));
        t.Switch(2);
        EXPECT_EQ(t.s.SoundOn, -1);
        EXPECT_EQ(t.f.Command2[2].PictureId(), t.Pic(window::kPicTurnOff));
    }
    // Stopping the tune fails: the sound module turns all sound off, and the
    // sound switch shows it at once.
    {
        Settings t;
        t.sound.stopWorks = false;
        t.Switch(0);
        EXPECT_EQ(t.s.MusicOn, 0);
        EXPECT_EQ(t.s.SoundOn, 0);
        EXPECT_EQ(t.f.Command2[0].PictureId(), t.Pic(window::kPicTurnOn));
        EXPECT_EQ(t.f.Command2[2].PictureId(), t.Pic(window::kPicTurnOn));
    }
    // The window first opened after a failure: no switch assumed on.
    {
        TestClient t;
        t.client.window.Sound.MusicOn = -1;
        t.client.window.Sound.EffectsOn = -1;
        t.client.window.Sound.SoundOn = 0;
        window::ShowSettings(t.client);
        const auto pic = [&t](int entry) { return t.client.window.PicIds.DialogPicIds[entry].toInt(); };
        EXPECT_EQ(t.client.VosSet->Command2[0].PictureId(), pic(window::kPicTurnOff));
        EXPECT_EQ(t.client.VosSet->Command2[2].PictureId(), pic(window::kPicTurnOn));
    }
}

TEST(SettingsWindow, DialectChoiceIsNotUndoneByCancel)
{
    Settings t;
    for (int v = 0; v < 4; ++v) {
        core::UserInfo& u = t.client.game.UserInfos[v];
        u.Voice1 = QStringLiteral("1");
        u.Voice2 = QStringLiteral("now%1").arg(v);
        u.Sex = v % 2 ? 1 : 0;
        t.client.chat.SeatVoiceFolders[v] = QStringLiteral("kept%1").arg(v);
    }
    t.Switch(3);
    EXPECT_EQ(t.f.Command2[3].PictureId(), t.Pic(window::kPicDialect));
    t.Cancel();
    for (int v = 0; v < 4; ++v) {
        const core::UserInfo& u = t.client.game.UserInfos[v];
        EXPECT_EQ(u.Voice1, QStringLiteral("27")) << v;
        EXPECT_EQ(u.Voice2, (v % 2 ? QStringLiteral("kept%1") : QStringLiteral("now%1")).arg(v)) << v;
    }
}

} // namespace
