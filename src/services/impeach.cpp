#include "services/impeach.h"

#include "app/client.h"

namespace services {

namespace {

platform::Picture PictureOf(Client& c, const QString& id)
{
    bool ok = false;
    const int n = id.trimmed().toInt(&ok);
    return ok && c.services.Hooks.Picture ? c.services.Hooks.Picture(n) : platform::Picture{};
}

} // namespace

ImpeachForm::ImpeachForm(QWidget* owner, const platform::Picture& background)
    : ServiceWindow(QStringLiteral("Frmimpeach"), owner, kImpeachWidth, kImpeachHeight, background)
{
    setWindowTitle(QStringLiteral("举报"));
    for (platform::GraphicControl* control : std::initializer_list<platform::GraphicControl*>{(&Lbl_imp), &pbCloseMe, &pbCancel})
        Add(control);
    pbCloseMe.Move(70, kImpeachHeight - 48, 65, 30);
    pbCancel.Move(kImpeachWidth - 135, kImpeachHeight - 48, 65, 30);
    Lbl_imp.ForeColor = 0x8CE2FF;
    Lbl_imp.Alignment = platform::Label::Center;
}

protocol::GameCmd ImpeachCmd(uint8_t ownSeatBit)
{
    protocol::GameCmd cmd;
    cmd.Kind = kCmdImpeach;
    cmd.Seat = ownSeatBit;
    return cmd;
}

QString ImpeachQuestion(bool allowed, double fee)
{
    const QString amount = QString::number(fee, 'f', 0);
    if (allowed)
        return QStringLiteral("举报作弊提交核查需扣除") + amount + QStringLiteral("\r\n") + QStringLiteral("金币,") +
               QStringLiteral("查实后中心将进行奖励，") + QStringLiteral("\r\n") + QStringLiteral("您是否举报:");
    return QStringLiteral("您的金币不够提交核查的") + QStringLiteral("\r\n") + QStringLiteral("费用（") + amount +
           QStringLiteral("）");
}

ImpeachForm& ImpeachWindow(Client& c)
{
    ServicesState& s = c.services;
    if (!s.Frmimpeach) {
        const auto picture = [&](int id) { return s.Hooks.Picture ? s.Hooks.Picture(id) : platform::Picture{}; };
        s.Frmimpeach = new ImpeachForm(s.Table.Window, picture(kImpeachBackground));
        ImpeachForm& f = *s.Frmimpeach;
        f.pbCloseMe.SetPicture(PictureOf(c, c.window.PicIds.DialogPicIds[0]));
        f.pbCancel.SetPicture(PictureOf(c, c.window.PicIds.DialogPicIds[2]));
        f.pbCloseMe.Move(f.pbCloseMe.Left, f.pbCloseMe.Top, 65, 30);
        f.pbCancel.Move(f.pbCancel.Left, f.pbCancel.Top, 65, 30);
        f.pbCloseMe.Click = [&c] { Frmimpeach_pbCloseMe_Click(c); };
        f.pbCancel.Click = [&c] { Frmimpeach_pbCancel_Click(c); };
    }
    return *s.Frmimpeach;
}

void cmdImpeach_Click(Client& c)
{
    const GameState& g = c.game;
    ImpeachForm& f = ImpeachWindow(c);
    f.Lbl_imp.FontSize = 14;
    f.Lbl_imp.SetCaption(ImpeachQuestion(g.ImpeachAllowed != 0, g.ImpeachFee));
    // Centred above the buttons.
    f.Lbl_imp.Move(10, 8, static_cast<float>(f.width() - 20), f.pbCloseMe.Top - 12);
    f.Lbl_imp.SetVisible(true);
    f.Lbl_imp.ZOrder(0);
    if (f.isVisible()) {
        f.hide();
        return;
    }
    CentreOver(f, c.services.Table.Window);
    f.show();
    f.raise();
}

void Frmimpeach_pbCloseMe_Click(Client& c)
{
    if (c.game.ImpeachAllowed && c.services.Hooks.SendMsg)
        c.services.Hooks.SendMsg(ImpeachCmd(c.game.Players[0].SeatBit));
    Frmimpeach_pbCancel_Click(c);
}

void Frmimpeach_pbCancel_Click(Client& c)
{
    if (c.services.Frmimpeach)
        c.services.Frmimpeach->hide();
}

} // namespace services
