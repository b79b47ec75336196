#include "chat/huifu_form.h"

#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/emoticon_picker.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/ini_file.h"
#include "core/numeric.h"
#include "core/startup.h"
#include "platform/paths.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace chat {

namespace {

constexpr int kTabPicture1 = 850;
constexpr int kTabPicture2 = 852;
constexpr int kTabHover1 = 851;
constexpr int kTabHover2 = 853;
constexpr int kButtonNormal = 664;
constexpr int kButtonHover = 666;
constexpr int16_t kList2Marker = 97;
// More phrases than any list box will be asked for; a larger "num" is read
// as this many.
constexpr int kMostPhrases = 1000;

void FillList(const core::classIniFile& ini, const QString& section, platform::ListBox& list)
{
    const double num = std::nearbyint(core::LeadingNumber(ini.GetIniKey(section, QStringLiteral("num"))));
    const int count = static_cast<int>(std::clamp(num, 0.0, double(kMostPhrases)));
    for (int i = 1; i <= count; ++i)
        list.AddItem(ini.GetIniKey(section, QString::number(i)));
}

void ShowTabs(HuifuForm& h)
{
    window::LoadGifResource(kTabPicture1, QStringLiteral("GIF"), h.Picture1);
    window::LoadGifResource(kTabPicture2, QStringLiteral("GIF"), h.Picture2);
    h.Picture1.Tag = QStringLiteral("0");
    h.Picture2.Tag = QStringLiteral("0");
}

} // namespace

HuifuForm::HuifuForm(QWidget* owner)
    : platform::Form(QStringLiteral("huifu"), owner), List1(new platform::ListBox(this, QStringLiteral("List1"))),
      List2(new platform::ListBox(this, QStringLiteral("List2")))
{
    resize(240, 200);
    Add(&Picture1);
    Add(&Picture2);
    Picture1.Move(0, 0);
    Picture2.Move(60, 0);
    List1->setGeometry(0, 24, 240, 176);
    List2->setGeometry(0, 24, 240, 176);
    Add(&Label1);
    Label1.Caption = QStringLiteral("关闭");
    Label1.Alignment = platform::Label::Center;
    Label1.Move(196, 3, 40, 16);
}

void huifu_Form_Load(Client& c)
{
    HuifuForm& h = *c.huifu;
    if (h.Loaded)
        return;
    h.Loaded = true;
    h.setWindowOpacity(200 / 255.0);
    core::classIniFile ini;
    ini.SetPath(c.core.AppPath, QStringLiteral("chat.ini"));
    if (QFile::exists(platform::NativePath(ini.INIFileName()))) {
        FillList(ini, QStringLiteral("Phrase1"), *h.List1);
        FillList(ini, QStringLiteral("Phrase2"), *h.List2);
    }
    ShowTabs(h);
    h.List1->show();
    h.List2->hide();
}

QString QuickPhrase(Client& c, int list, int number)
{
    huifu_Form_Load(c);
    const platform::ListBox& box = list == 1 ? *c.huifu->List1 : *c.huifu->List2;
    if (number < 1 || number > box.ListCount())
        return QString();
    return box.List(number - 1);
}

void huifu_List_DblClick(Client& c, int list)
{
    if (c.game.InputEnabled != -1)
        return;
    HuifuForm& h = *c.huifu;
    const platform::ListBox& box = list == 2 ? *h.List2 : *h.List1;
    const int index = box.ListIndex();
    if (box.ListCount() == 0 || index < 0 || index >= box.ListCount())
        return;
    protocol::GameCmd cmd = ChatCmd(c);
    if (list == 2)
        cmd.Data[2] = kList2Marker;
    cmd.Data[0] = list == 2 ? ModePhrase2 : ModePhrase1;
    cmd.Data[3] = static_cast<int16_t>(index + 1);
    ChatState& ch = c.chat;
    platform::TextBox& chatBox = *c.MainForm->Chat;
    const QString& nick = c.game.UserInfos[0].Nickname;
    const QString phrase = box.List(index);
    if (!ch.WhisperPrefix.isEmpty() && chatBox.Text().contains(ch.WhisperPrefix)) {
        cmd.Data[1] = ch.WhisperSeat;
        c.core.ChatText = nick + ch.WhisperPrefix.mid(1) + phrase;
    } else {
        c.core.ChatText = nick + QStringLiteral("说道: ") + phrase;
    }
    chatBox.SetText(QString());
    ch.WhisperPrefix.clear();
    core::SendMsg(c, cmd);
    h.Hide();
    chatBox.setFocus();
}

void huifu_Picture_Click(Client& c, int tab)
{
    HuifuForm& h = *c.huifu;
    h.List1->setVisible(tab == 2);
    h.List2->setVisible(tab != 2);
    ShowTabs(h);
}

void huifu_Picture_MouseMove(Client& c, int tab)
{
    HuifuForm& h = *c.huifu;
    if (tab == 2)
        window::LoadGifResource(kTabHover2, QStringLiteral("GIF"), h.Picture2);
    else
        window::LoadGifResource(kTabHover1, QStringLiteral("GIF"), h.Picture1);
}

void imgword2_Click(Client& c)
{
    c.Talk->Hide();
    c.frmBiaoqing->Hide();
    huifu_Form_Load(c);
    HuifuForm& h = *c.huifu;
    if (h.Visible()) {
        if (h.List2->isHidden()) {
            h.List2->show();
            h.List1->hide();
        } else {
            h.Hide();
        }
        return;
    }
    PlaceBesideChatBar(c, h);
    h.List1->hide();
    h.List2->show();
    ShowTabs(h);
    h.Show();
    h.raise();
}

void imgword2_MouseMove(Client& c)
{
    platform::Image& button = c.MainForm->imgword2;
    if (!button.Enabled || core::LeadingNumber(button.Tag) != 0)
        return;
    button.Tag = QStringLiteral("1");
    window::LoadGifResource(kButtonHover, QStringLiteral("GIF"), button);
}

void ChatBar_MouseMove(Client& c)
{
    window::MainForm& f = *c.MainForm;
    for (auto [button, normal] : {std::pair{&f.imgword1, 660}, std::pair{&f.imgword2, kButtonNormal}}) {
        if (button->Tag != QStringLiteral("1"))
            continue;
        button->Tag = QStringLiteral("0");
        window::LoadGifResource(normal, QStringLiteral("GIF"), *button);
    }
}

void PlaceBesideChatBar(Client& c, QWidget& w)
{
    const window::MainForm& f = *c.MainForm;
    const QRect table = f.pic1->geometry();
    double top = f.y() + table.y() + table.height() * 0.62;
    double left = f.x() + table.x() + table.width() * 0.3;
    if (c.game.ScaleX < 1.0f) {
        top = f.y() + table.y() + f.height() * 0.52;
        left = f.x() + table.x() + f.width() * 0.27;
    }
    w.move(static_cast<int>(left), static_cast<int>(top));
}

} // namespace chat
