#include "window/main_buttons.h"

#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "core/messages.h"
#include "core/session.h"
#include "core/table_reset.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "protocol/kinds.h"
#include "results/result_forms.h"
#include "rewards/bets.h"
#include "rewards/jade.h"
#include "rewards/prop_round.h"
#include "window/hot_keys.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/seat_change.h"

#include <QEvent>
#include <QMouseEvent>

namespace window {

namespace {

constexpr int kButtons = 9;

bool Valid(int index) { return index >= 0 && index < kButtons; }

bool StartLook(const Client& c) { return c.game.RoundNo < 1 && c.game.HoverEnabled != 0; }

void Load(Client& c, int entry, platform::HasPicture& control)
{
    LoadGifResource(c.window.PicIds.AnNiuPicIds[static_cast<std::size_t>(entry)], QStringLiteral("GIF"), control);
}

// The plug-in closes its bank panel.
void SetBankState(Client& c)
{
    if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin) {
        try {
            c.rewards.PropPlugin->setbankstate(2);
        } catch (...) {
            // The plug-in's failure does not stop the button.
        }
    }
}

platform::Form* Made(const std::function<platform::Form*()>& window) { return window ? window() : nullptr; }

void HideIfShown(platform::Form* f)
{
    if (f && f->Visible())
        f->Hide();
}

// Shows the window when hidden, hides it when shown; true when it was shown.
bool Toggle(platform::Form& f)
{
    if (f.Visible()) {
        f.Hide();
        return false;
    }
    f.Show();
    f.raise();
    return true;
}

// Steps C: ready for the next hand, or back to the lobby when the game at
// this table cannot go on.
void Start(Client& c)
{
    GameState& g = c.game;
    MainForm& f = *c.MainForm;
    c.Hero->Hide();
    c.Score->Hide();
    HideIfShown(Made(c.window.FrmRule));
    if (c.core.LeaveAfterHand) {
        g.TableCleared = 0;
        // The session ends first: the connection is closed before anything
        // else happens, so no frame is left half sent.
        core::ResetSession(c);
        core::ResetPlayerState(c);
        core::ResetTableDisplay(c);
        core::BackToLobby(c);
        return;
    }
    if (g.AnNiuPressed[2])
        return;
    g.HoverEnabled = 0;
    Load(c, 6, f.AnNiu[AnNiuStart]);
    f.OK[0].SetVisible(true);
    f.OK[0].ZOrder(0);
    c.core.SchedReady.Stop();
    f.Time_Img.SetVisible(false);
    f.Number.SetVisible(false);
    g.AnNiuPressed[2] = -1;
    if (g.TableCleared == 0) {
        core::ClearTableTiles(c);
        core::ResetTableDisplay(c);
        core::ResetPlayerState(c);
        g.TableCleared = -1;
    }
    if (g.ChipRefreshDue == 0)
        rewards::RefreshChipBox(c, true);
    else
        g.ChipRefreshDue = 0;
    if (c.window.SkipRewardRolls)
        c.window.SkipRewardRolls();
    if (c.window.ShuffleShowOn && g.NextGameReady) {
        for (table::PlayerRecord& p : g.Players)
            p.SeatBit = 0;
        StartSeatChangeShow(c);
        c.window.ShuffleShowOn = 0;
    }
    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;
}

// Steps E: the table goes, the side windows with it, then the boss key.
void Minimise(Client& c)
{
    c.MainForm->showMinimized();
    c.Hero->Hide();
    c.Score->Hide();
    c.Talk->Hide();
    HideIfShown(Made(c.window.VosSet));
    c.huifu->Hide();
    HideIfShown(Made(c.window.FrmRule));
    keys::Form_KeyDown(c, kKeyF1, 0);
}

void OpenSettings(Client& c)
{
    platform::Form* set = Made(c.window.VosSet);
    if (set && Toggle(*set)) {
        // Near the table's lower right corner, in screen pixels.
        const MainForm& f = *c.MainForm;
        const QRect table = f.pic1->geometry();
        const QPoint origin = f.pos();
        set->move(static_cast<int>(origin.x() + table.x() + table.width() - 1.1 * set->width()),
                  static_cast<int>(origin.y() + table.y() + table.height() - 1.35 * set->height()));
    }
    SetBankState(c);
}

void OpenRules(Client& c)
{
    platform::Form* rules = Made(c.window.FrmRule);
    if (rules) {
        rules->Hide();
        rules->Show();
        rules->raise();
    }
    SetBankState(c);
    if (rules) {
        const MainForm& f = *c.MainForm;
        rules->move(f.x() + (f.width() - rules->width()) / 2, f.y() + (f.height() - rules->height()) / 2);
    }
}

void SetImagePicture(platform::Image& control, int gif)
{
    if (control.Tag == QStringLiteral("0"))
        return;
    control.Tag = QStringLiteral("0");
    LoadGifResource(gif, QStringLiteral("GIF"), control);
}

// The raised hand tile the pointer is not over goes back down.
void LowerRaisedTile(Client& c, float x, float y)
{
    GameState& g = c.game;
    if (!g.AnNiuPressed[2] || g.WatchMode)
        return;
    table::PlayerRecord& p = g.Players[0];
    MainForm& f = *c.MainForm;
    if (p.HandFirst + p.HandCount - 1 > 17)
        p.HandCount = static_cast<int16_t>(18 - p.HandFirst);
    const int first = std::max<int>(p.HandFirst, 0);
    const int end = std::min<int>(p.HandFirst + p.HandCount, static_cast<int>(p.Slots.size()));
    const float handY = p.HandY;
    for (int i = first; i < end; ++i) {
        const int image = p.Slots[static_cast<std::size_t>(i)].Image;
        if (image < 0 || image >= f.MJ_Image.Count())
            continue;
        platform::Image& tile = f.MJ_Image[image];
        if (tile.Top != handY - 10)
            continue;
        const bool inside = tile.Left < x && x < tile.Left + tile.Width && tile.Top < y && y < tile.Top + tile.Height + 10;
        if (inside)
            continue;
        tile.Move(tile.Left, handY);
        return;
    }
}

// Mouse moves over the bare table picture, where no graphic control lies.
class BareTableMoves : public QObject {
public:
    BareTableMoves(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseMove || watched != c_.MainForm->pic1)
            return false;
        const QPointF pos = static_cast<QMouseEvent*>(event)->position();
        const auto x = static_cast<float>(pos.x());
        const auto y = static_cast<float>(pos.y());
        if (!c_.MainForm->pic1->ControlAt(x, y))
            pic1_MouseMove(c_, x, y);
        return false;
    }

private:
    Client& c_;
};

} // namespace

int AnNiuNormalEntry(const Client& c, int index)
{
    if (index == AnNiuStart)
        return StartLook(c) ? 4 : 6;
    return index < AnNiuStart ? 2 * index : 2 * index + 2;
}

int AnNiuHoverEntry(const Client& c, int index) { return AnNiuNormalEntry(c, index) + 1; }

QString AnNiuToolTip(int index)
{
    switch (index) {
    case AnNiuSend:
        return QStringLiteral("发送信息，快捷键为回车键");
    case AnNiuChat:
        return QStringLiteral("点击打开聊天窗口");
    case AnNiuStart:
        return QStringLiteral("点击开始新一局游戏");
    case AnNiuSettings:
        return QStringLiteral("游戏的基本设置");
    case AnNiuMinimise:
        return QStringLiteral("最小化窗口，快捷键为F1");
    case AnNiuScore:
        return QStringLiteral("可以查看当前牌局详细结果");
    case AnNiuHistory:
        return QStringLiteral("可以查看本次游戏的所有牌局详细结果");
    case AnNiuRules:
        return QStringLiteral("点击这里了解游戏规则");
    case AnNiuExit:
        return QStringLiteral("退出游戏");
    default:
        return QString();
    }
}

void PlaceTalkWindow(Client& c)
{
    const MainForm& f = *c.MainForm;
    const QRect table = f.pic1->geometry();
    double left = f.x() + table.x() + 0.3 * table.width();
    double top = f.y() + table.y() + 0.66 * table.height();
    if (c.game.ScaleY < 1.0f) {
        left = f.x() + table.x() + 0.27 * f.width();
        top = f.y() + table.y() + 0.6 * f.height();
    }
    c.Talk->move(static_cast<int>(left), static_cast<int>(top));
}

void AnNiu_Click(Client& c, int16_t index)
{
    if (!Valid(index))
        return;
    HideIfShown(Made(c.window.FrmRule));
    switch (index) {
    case AnNiuSend:
        if (c.game.InputEnabled)
            chat::SendTypedLine(c);
        break;
    case AnNiuChat:
        if (c.Talk->Visible()) {
            c.Talk->Hide();
        } else {
            PlaceTalkWindow(c);
            c.Talk->Show();
            c.Talk->raise();
        }
        break;
    case AnNiuStart:
        Start(c);
        break;
    case AnNiuSettings:
        OpenSettings(c);
        break;
    case AnNiuMinimise:
        Minimise(c);
        break;
    case AnNiuScore:
        Toggle(*c.Score);
        HideIfShown(c.Hero.get());
        SetBankState(c);
        break;
    case AnNiuHistory:
        Toggle(*c.Hero);
        HideIfShown(c.Score.get());
        SetBankState(c);
        break;
    case AnNiuRules:
        OpenRules(c);
        break;
    case AnNiuExit:
        SetBankState(c);
        // Hides the dialog when it is shown; otherwise shows it with the
        // warning of the moment, the result windows hidden.
        core::OpenExitWindow(c);
        break;
    default:
        break;
    }
}

void AnNiu_MouseMove(Client& c, int16_t index)
{
    if (!Valid(index))
        return;
    MainForm& f = *c.MainForm;
    int16_t& shown = c.window.AnNiuHoverShown[static_cast<std::size_t>(index)];
    if (shown == 0) {
        shown = -1;
        Load(c, AnNiuHoverEntry(c, index), f.AnNiu[index]);
    }
    f.AnNiu[index].ToolTipText = AnNiuToolTip(index);
}

void pic1_MouseMove(Client& c, float x, float y)
{
    MainForm& f = *c.MainForm;
    SetImagePicture(f.ImgOpenMatchBtn, f.ImgShowMatch.Visible ? 564 : 562);
    SetImagePicture(f.ImgJadeExch, 560);
    f.ImgShowMatch.MouseOut();
    f.ImgShowSort.MouseOut();
    SetImagePicture(f.ImgJadeTask, 680);
    for (int i = 0; i < kButtons; ++i) {
        int16_t& shown = c.window.AnNiuHoverShown[static_cast<std::size_t>(i)];
        if (!shown)
            continue;
        shown = 0;
        Load(c, AnNiuNormalEntry(c, i), f.AnNiu[i]);
    }
    LowerRaisedTile(c, x, y);
    HideIfShown(c.Information.get());
    rewards::CloseOwnSeatVideo(c);
}

void DiceMultiplier_MouseMove(Client& c)
{
    MainForm& f = *c.MainForm;
    if (c.game.DiceMultiplier == 0)
        return;
    const QString tip = QStringLiteral("骰子加倍 ×") + f.lblDifen.Caption;
    f.imgBeishu.ToolTipText = tip;
    f.lblDifen.ToolTipText = tip;
}

void WealthMultiplier_MouseMove(Client& c)
{
    MainForm& f = *c.MainForm;
    if (c.game.WealthMultiplier == 0)
        return;
    const QString tip = QStringLiteral("财富加倍 ×") + f.lbwealth.Caption;
    f.Imgwealth.ToolTipText = tip;
    f.lbwealth.ToolTipText = tip;
}

void WireMainButtons(Client& c)
{
    MainForm& f = *c.MainForm;
    for (int i = 0; i < kButtons; ++i) {
        const auto index = static_cast<int16_t>(i);
        f.AnNiu[i].Click = [&c, index] { AnNiu_Click(c, index); };
        f.AnNiu[i].MouseMove = [&c, index](int16_t, int16_t, float, float) { AnNiu_MouseMove(c, index); };
    }
    for (platform::GraphicControl* dice : std::initializer_list<platform::GraphicControl*>{&f.imgBeishu, &f.lblDifen})
        dice->MouseMove = [&c](int16_t, int16_t, float, float) { DiceMultiplier_MouseMove(c); };
    for (platform::GraphicControl* wealth : std::initializer_list<platform::GraphicControl*>{&f.Imgwealth, &f.lbwealth})
        wealth->MouseMove = [&c](int16_t, int16_t, float, float) { WealthMultiplier_MouseMove(c); };
    f.pic1->installEventFilter(new BareTableMoves(c, f.pic1));
}

} // namespace window
