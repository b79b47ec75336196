#include "window/settings_form.h"

#include "window/notice_forms.h"

#include "app/client.h"
#include "rewards/prop_calls.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

namespace window {

namespace {

constexpr int16_t kOn = -1;
constexpr int16_t kOff = 0;
constexpr int32_t kTuneVolume = 3000;

void SetSwitchPicture(Client& c, int k, int entry)
{
    LoadGifResource(c.window.PicIds.DialogPicIds[static_cast<std::size_t>(entry)], QStringLiteral("GIF"),
                    c.VosSet->Command2[k]);
}

// Turns a feature's picture to the click's action: "turn off" while it is on.
int ActionPicture(int16_t on) { return on ? kPicTurnOff : kPicTurnOn; }

void StartTune(Client& c)
{
    SoundState& s = c.window.Sound;
    PlayWave(c, s.SoundFiles[SoundMusic], 1);
    SetWaveVolume(c, kTuneVolume);
}

// Every seat to voice set "27"; the men's seats keep their voice folders.
void ChooseDialect(Client& c)
{
    for (std::size_t v = 0; v < c.game.UserInfos.size(); ++v) {
        core::UserInfo& u = c.game.UserInfos[v];
        u.Voice1 = QStringLiteral("27");
        if (u.Sex == 1)
            u.Voice2 = c.chat.SeatVoiceFolders[v];
    }
}

// Tells the prop plug-in whether sound is on (only a usable plug-in hears it).
void TellPlugin(Client& c)
{
    if (c.rewards.PropPluginState > 0)
        rewards::rec_state(c, 1, c.window.Sound.SoundOn != 0, 0);
}

} // namespace

SettingsForm::SettingsForm(QWidget* owner)
    : DialogWindow(QStringLiteral("VosSet"), owner, 220, 330, kSettingsBackground),
      Image1(this, QStringLiteral("Image1"), 4), Command2(this, QStringLiteral("Command2"), 4),
      Command1(this, QStringLiteral("Command1"), 2)
{
    setWindowTitle(QStringLiteral("音效设置"));
    static constexpr int kCaptionTops[4] = {40, 96, 152, 208};
    for (int k = 0; k < 4; ++k) {
        Image1[k].Stretch = true;
        Image1[k].Move(16, static_cast<float>(kCaptionTops[k]), 91, 35);
        Image1[k].SetPicture(LoadGifPicture(kSettingsCaptionFirst + k, QStringLiteral("GIF")));
    }
    for (int k = 0; k < 4; ++k)
        Command2[k].Stretch = true;
    Command2[0].Move(127, 43, 65, 30);
    for (int k = 1; k < 4; ++k)
        Command2[k].Visible = false; // loaded at run time
    Command1[0].Stretch = Command1[1].Stretch = true;
    Command1[0].Move(28, 264, 70, 29);
    Command1[1].Move(126, 264, 70, 29);
}

void VosSet_Form_Load(Client& c)
{
    SettingsForm& f = *c.VosSet;
    const PicIdTables& ids = c.window.PicIds;
    LoadGifResource(ids.DialogPicIds[0], QStringLiteral("GIF"), f.Command1[0]);
    LoadGifResource(ids.DialogPicIds[2], QStringLiteral("GIF"), f.Command1[1]);
    f.Command1[0].Move(28, 264);
    f.Command1[1].Move(f.Command1[0].Left + 1.4f * f.Command1[0].Width, 264);
    for (int k = 1; k < 4; ++k)
        f.Command2[k].SetVisible(true);
    for (int k = 0; k < 4; ++k) {
        f.Pending[static_cast<std::size_t>(k)] = 0;
        f.Command2[k].Move(f.Image1[k].Left + f.Image1[k].Width + 20, f.Image1[k].Top + 3, 65, 30);
    }
    // The pictures follow the switches as they are, not as start-up left
    // them: a sound failure may have turned the sound off already.
    VosSet_RefreshSwitches(c);
}

void VosSet_RefreshSwitches(Client& c)
{
    const SoundState& s = c.window.Sound;
    SetSwitchPicture(c, 0, ActionPicture(s.MusicOn));
    SetSwitchPicture(c, 1, ActionPicture(s.EffectsOn));
    SetSwitchPicture(c, 2, ActionPicture(s.SoundOn));
    SetSwitchPicture(c, 3, kPicDialect);
}

void VosSet_Command2_Click(Client& c, int k)
{
    if (k < 0 || k > 3)
        return;
    SettingsForm& f = *c.VosSet;
    SoundState& s = c.window.Sound;
    int16_t& pending = f.Pending[static_cast<std::size_t>(k)];
    pending = pending ? kOff : kOn;
    switch (k) {
    case 0:
        if (!s.MusicOn) {
            s.MusicOn = kOn;
            StartTune(c);
        } else {
            s.MusicOn = kOff;
            StopWave(c);
        }
        break;
    case 1:
        s.EffectsOn = s.EffectsOn ? kOff : kOn;
        break;
    case 2:
        s.SoundOn = s.SoundOn ? kOff : kOn;
        TellPlugin(c);
        break;
    case 3:
        ChooseDialect(c);
        break;
    }
    VosSet_RefreshSwitches(c);
}

void VosSet_Command1_Click(Client& c, int i)
{
    SettingsForm& f = *c.VosSet;
    SoundState& s = c.window.Sound;
    f.Hide();
    if (i == 1) {
        if (f.Pending[0]) {
            s.MusicOn = s.MusicOn ? kOff : kOn;
            if (s.MusicOn)
                StartTune(c);
            else
                StopWave(c);
        }
        if (f.Pending[1])
            s.EffectsOn = s.EffectsOn ? kOff : kOn;
        if (f.Pending[2]) {
            s.SoundOn = s.SoundOn ? kOff : kOn;
            // The plug-in heard the switch; it hears its undoing too.
            TellPlugin(c);
        }
        if (f.Pending[3])
            ChooseDialect(c);
        VosSet_RefreshSwitches(c);
    }
    f.Pending.fill(kOff);
}

void ShowSettings(Client& c)
{
    SettingsForm& f = *c.VosSet;
    f.Load();
    VosSet_RefreshSwitches(c);
    // Placement in pixels: the window's lower right corner inside the table.
    const platform::PictureBox& table = *c.MainForm->pic1;
    const QPoint origin = table.mapToGlobal(QPoint(0, 0));
    f.move(origin.x() + table.width() - static_cast<int>(1.1 * f.width()),
           origin.y() + table.height() - static_cast<int>(1.35 * f.height()));
    f.Show();
}

void WireSettingsForm(Client& c)
{
    SettingsForm& f = *c.VosSet;
    f.FormLoad = [&c] { VosSet_Form_Load(c); };
    for (int k = 0; k < 4; ++k)
        f.Command2[k].Click = [&c, k] { VosSet_Command2_Click(c, k); };
    for (int i = 0; i < 2; ++i)
        f.Command1[i].Click = [&c, i] { VosSet_Command1_Click(c, i); };
}

void WireClientDialogs(Client& c)
{
    c.window.VosSet = [&c]() -> platform::Form* {
        if (c.VosSet->Loaded())
            VosSet_RefreshSwitches(c);
        return c.VosSet.get();
    };
    c.window.FrmRule = [&c]() -> platform::Form* { return c.FrmRule.get(); };
}

} // namespace window
