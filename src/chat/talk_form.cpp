#include "chat/talk_form.h"

#include "app/client.h"
#include "chat/huifu_form.h"
#include "window/main_form.h"

namespace chat {

namespace {

constexpr int kKeyAlt = 18;
constexpr int kKeyC = 67;
constexpr double kWindowAlpha = 200 / 255.0;

// Below the middle of the table: on the large layout by the table picture's
// size, on the small one by the window's size and the given shares.
void PlaceTalk(Client& c, double heightShare, double widthShare)
{
    const window::MainForm& f = *c.MainForm;
    const QRect table = f.pic1->geometry();
    double top = f.y() + table.y() + table.height() * 0.66;
    double left = f.x() + table.x() + table.width() * 0.3;
    if (c.game.ScaleY < 1.0f) {
        top = f.y() + table.y() + f.height() * heightShare;
        left = f.x() + table.x() + f.width() * widthShare;
    }
    c.Talk->move(static_cast<int>(left), static_cast<int>(top));
}

void ToggleTalk(Client& c, double heightShare, double widthShare, bool hidePhrases)
{
    TalkForm& talk = *c.Talk;
    if (talk.Visible()) {
        talk.Hide();
        return;
    }
    PlaceTalk(c, heightShare, widthShare);
    if (hidePhrases)
        c.huifu->Hide();
    talk.Show();
    talk.raise();
}

} // namespace

TalkForm::TalkForm(QWidget* owner)
    : platform::Form(QStringLiteral("Talk"), owner), Text1(new platform::ListBox(this, QStringLiteral("Text1")))
{
    setWindowTitle(QStringLiteral("聊天"));
    resize(300, 200);
    Text1->setGeometry(0, 18, 300, 182);
    Add(&Label1);
    Label1.Caption = QStringLiteral("关闭");
    Label1.Alignment = platform::Label::Center;
    Label1.Move(256, 1, 40, 16);
    Label1.ToolTipText = QStringLiteral("关闭聊天记录");
}

void Talk_Form_Load(Client& c)
{
    TalkForm& talk = *c.Talk;
    talk.setWindowOpacity(kWindowAlpha);
    const window::MainForm& f = *c.MainForm;
    talk.move(static_cast<int>(f.width() * 0.3), static_cast<int>(f.height() * 0.66));
}

void Talk_Label1_Click(Client& c) { c.Talk->Hide(); }

void Talk_Text1_KeyDown(Client& c, int16_t keyCode)
{
    std::array<int16_t, 2>& latch = c.window.KeyLatch;
    if (keyCode == kKeyAlt)
        latch[0] = 1;
    else if (keyCode == kKeyC)
        latch[1] = 1;
    else
        latch = {0, 0};
    if (latch[0] && latch[1]) {
        latch = {0, 0};
        c.Talk->Hide();
    }
}

void Lbchat_Click(Client& c) { ToggleTalk(c, 0.595, 0.22, true); }

void Sysmsg_Click(Client& c, int16_t) { ToggleTalk(c, 0.6, 0.27, false); }

} // namespace chat
