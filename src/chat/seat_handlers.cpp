#include "chat/seat_handlers.h"

#include "app/client.h"
#include "window/main_form.h"

#include <cmath>

namespace chat {

namespace {

const char* const kMemberLevels[] = {"非会员", "初级会员", "高级会员", "白银会员", "黄金会员", "铂金会员", "钻石会员"};

QString NumberText(double value)
{
    return value == std::floor(value) && std::abs(value) < 1e15 ? QString::number(static_cast<qint64>(value))
                                                                  : QString::number(value, 'g', 15);
}

} // namespace

void Tou_Click(Client& c, int16_t view)
{
    GameState& g = c.game;
    if (g.InputEnabled != -1 || view < 1 || view > 3)
        return;
    const core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(view)];
    if (u.Nickname.isEmpty())
        return;
    const QString prefix = QStringLiteral("你对") + u.Nickname + QStringLiteral("说: ");
    platform::TextBox& box = *c.MainForm->Chat;
    QString text = box.Text();
    c.chat.WhisperSeat = g.Players[static_cast<std::size_t>(view)].SeatBit;
    if (!text.isEmpty() && !c.chat.WhisperPrefix.isEmpty() && text.contains(c.chat.WhisperPrefix))
        text = text.mid(c.chat.WhisperPrefix.size());
    c.chat.WhisperPrefix = prefix;
    box.SetText(prefix + text);
    box.setCursorPosition(static_cast<int>(box.text().size()));
    box.setFocus();
}

void Tou_MouseMove(Client& c, int16_t view, int16_t, int16_t, float, float)
{
    if (view < 0 || view > 3)
        return;
    InformationForm& card = *c.Information;
    const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(view)];
    if (card.Visible() || u.Nickname.isEmpty())
        return;
    const window::MainForm& f = *c.MainForm;
    const QRect table = f.pic1->geometry();
    const int left0 = f.x() + table.x();
    const int top0 = f.y() + table.y();
    if (view >= 1) {
        card.move(left0 + ((view - 1) * table.width()) / 3, top0 + static_cast<int>(table.height() * 0.11));
    } else {
        const double share = c.game.ScaleX < 1.0f ? 0.3 : 0.42;
        card.move(left0, top0 + static_cast<int>(table.height() * share));
    }
    card.Inf[0].SetCaption(u.Nickname);
    card.Inf[1].SetCaption(u.Sex != 0 ? QStringLiteral("男") : QStringLiteral("女"));
    card.Inf[2].SetCaption(u.CardText);
    card.Inf[3].SetCaption(NumberText(u.Points));
    // A level the table does not name shows no name, never the previous
    // player's.
    const bool named = u.MemberLevel >= 0 && u.MemberLevel <= 6 && u.MemberLevel == std::floor(u.MemberLevel);
    card.Inf[4].SetCaption(named ? QString::fromUtf8(kMemberLevels[static_cast<int>(u.MemberLevel)]) : QString());
    card.Inf[5].SetCaption(QString::number(u.Count152));
    card.Inf[6].SetCaption(QString::number(u.Count156));
    card.Inf[7].SetCaption(QString::number(u.Count160));
    card.Inf[8].SetCaption(QString::number(u.Count164));
    card.Show();
}

} // namespace chat
