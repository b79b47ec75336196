#include "rewards/prop_calls.h"

#include "app/client.h"
#include "platform/clock.h"
#include "platform/prop_plugin_loader.h"
#include "rewards/treasure.h"
#include "window/main_form.h"

namespace rewards {

namespace {

// The second and third texts the plug-in's start expects.
constexpr char kStartKind[] = "DLL";
constexpr char kStartTag[] = "dorvak";
// Treasure boxes: three groups of five.
constexpr int kBoxImages = 15;

platform::PropPlugin* Running(Client& c)
{
    return c.rewards.PropPluginState > 0 ? c.rewards.PropPlugin.get() : nullptr;
}

} // namespace

int16_t InitPropPlugin(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const int16_t stateBefore = c.rewards.PropPluginState;
    try {
        f.Bank.SetVisible(true);
        f.Bank.ZOrder(0);
        c.rewards.PropRandom.seed(static_cast<uint32_t>(c.plat.clock.timeGetTime()));
        for (QString& label : c.rewards.TreasureSeatLabels)
            label.clear();

        if (!c.rewards.PropPlugin) {
            if (g.InputEnabled == 0 || !c.plat.plugins.Exists(c.core.AppPath)) {
                c.rewards.PropPluginState = -1;
                return 0;
            }
            c.rewards.PropPlugin = c.plat.plugins.Create(c.core.AppPath);
        }
        if (!c.rewards.PropPlugin || g.InputEnabled == 0) {
            c.rewards.PropPluginState = -1;
            return 0;
        }

        c.rewards.PropPluginState = -1;
        const int16_t scale = g.ScaleY != 1.0f ? 2 : 1;
        if (!c.rewards.PropPlugin->Initdll(c.core.UserName, c.core.UserKey, QString::fromLatin1(kStartKind),
                                   static_cast<quintptr>(f.winId()), QString::fromLatin1(kStartTag), scale,
                                   c.core.CmdLineField15)) {
            c.rewards.PropPluginReady = 0;
            c.rewards.PropPluginState = 0;
            c.rewards.PropPlugin.reset();
            return 0;
        }
        c.rewards.PropPluginState = c.rewards.PropPlugin->GetBaoInfo(c.rewards.PropBaoInfo) ? 2 : 1;

        // The design-time box 0 and boxes 1-14, hidden and disabled.
        for (int i = 0; i < kBoxImages; ++i) {
            LoadBox(c, i);
            f.ImgProp[i].SetVisible(false);
            f.ImgProp[i].Enabled = false;
        }
        c.rewards.PropPluginReady = -1;
        return -1;
    } catch (const std::exception& e) {
        // The next user record tries again.
        qWarning("prop plug-in not started: %s", e.what());
        c.rewards.PropPluginState = stateBefore;
        return 0;
    }
}

bool PropPluginExists(const Client& c) { return c.rewards.PropPlugin != nullptr; }

void ClearUser(Client& c, int view)
{
    if (platform::PropPlugin* p = Running(c))
        p->ClearUser(static_cast<int16_t>(view));
}

bool SetUserinfo(Client& c, int view, uint8_t seatBit, bool hasAmount)
{
    GameState& g = c.game;
    if (!c.rewards.PropPlugin)
        return true;
    const core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(view)];
    return c.rewards.PropPlugin->SetUserinfo(u.Nickname, g.Players[static_cast<std::size_t>(view)].Name, seatBit,
                                     static_cast<int16_t>(view), hasAmount, u.Sex, u.Title, u.AvatarId);
}

void rec_state(Client& c, int what, bool on, int view)
{
    if (c.rewards.PropPlugin)
        c.rewards.PropPlugin->rec_state(static_cast<int16_t>(what), on, static_cast<int16_t>(view));
}

void InitShowEnd(Client& c)
{
    if (platform::PropPlugin* p = Running(c))
        p->InitShowEnd();
}

void InitShowNext(Client& c, bool show)
{
    if (platform::PropPlugin* p = Running(c))
        p->InitShowNext(show);
}

} // namespace rewards
