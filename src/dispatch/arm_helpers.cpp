#include "dispatch/arm_helpers.h"

#include "app/client.h"
#include "core/table_reset.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace dispatch {

void StopPictureAnimation(Client& c)
{
    window::MainForm& f = *c.MainForm;
    for (platform::PictureBox* p : f.Picture_ani)
        p->hide();
    f.Timer_ani->SetEnabled(false);
    f.Timer_ani->Tag = QStringLiteral("0");
    c.game.PicAniRunning = 0;
}

void ClearTableWhenAllReady(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    if (g.HandStartedFlag <= 0 || !f.OK[1].Visible || !f.OK[2].Visible || !f.OK[3].Visible)
        return;
    window::LoadGifResource(c.window.PicIds.AnNiuPicIds[6], QStringLiteral("GIF"), f.AnNiu[2]);
    g.AnNiuPressed[2] = -1;
    core::ClearTable(c);
}

QString WealthText(int32_t wealth)
{
    if (wealth < 10)
        return QStringLiteral("0.5");
    const int32_t whole = wealth / 10;
    const int32_t tenth = wealth % 10;
    return tenth == 0 ? QString::number(whole) : QStringLiteral("%1.%2").arg(whole).arg(tenth);
}

float WealthFontSize(const QString& caption) { return caption.trimmed().size() <= 4 ? 16.0f : 13.0f; }

void EmptySeat(Client& c, int view, bool rankLabelToo)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const auto v = static_cast<std::size_t>(view);
    f.OK[view].SetVisible(false);
    f.Tou[view].ClearPicture();
    f.Nid[view].SetCaption(QString());
    f.Cash[view].SetCaption(QString());
    f.Level[view].SetCaption(QString());
    f.lbl_score[view].SetCaption(QString());
    if (rankLabelToo)
        f.lbl_sort[view].SetCaption(QString());
    g.Players[v].Name.clear();

    // The fields the user-info frame fills from bytes 16-167, and the VIP
    // level, go; the account, title, voices and user id stay.
    g.UserInfos[v].ClearSeatFields();

    f.img_vip[view].SetVisible(false);
    c.rewards.PropAniTicks[v] = 0;
    c.rewards.PropAniState[v] = 0;
}

} // namespace dispatch
