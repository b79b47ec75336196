#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/emoticon_picker.h"
#include "chat/huifu_form.h"
#include "chat/seat_handlers.h"
#include "chat/talk_form.h"
#include "window/hot_keys.h"
#include "window/main_form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>

namespace chat {

namespace {

// Calls a handler for events of one type on the watched widget; the event
// goes on to the widget as usual.
class EventTap : public QObject {
public:
    EventTap(QWidget* watched, QEvent::Type type, std::function<void(QEvent&)> handler)
        : QObject(watched), type_(type), handler_(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_)
            handler_(*event);
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void(QEvent&)> handler_;
};

// A left click released over the widget.
void OnClick(QWidget* w, std::function<void()> handler)
{
    new EventTap(w, QEvent::MouseButtonRelease, [w, handler = std::move(handler)](QEvent& e) {
        const auto& m = static_cast<QMouseEvent&>(e);
        if (m.button() == Qt::LeftButton && w->rect().contains(m.position().toPoint()))
            handler();
    });
}

platform::MouseHandler Moves(std::function<void()> handler)
{
    return [handler = std::move(handler)](int16_t, int16_t, float, float) { handler(); };
}

void WireTableWindow(Client& c)
{
    window::MainForm& f = *c.MainForm;
    QObject::connect(f.Chat, &QLineEdit::textChanged, f.Chat, [&c] { Chat_Change(c); });
    new EventTap(f.Chat, QEvent::FocusIn, [&c](QEvent&) { Chat_GotFocus(c); });
    new EventTap(f.Chat, QEvent::FocusOut, [&c](QEvent&) { Chat_LostFocus(c); });
    QObject::connect(f.TimerChat, &QTimer::timeout, f.TimerChat, [&c] { TimerChat_Timer(c); });
    f.Lbchat.Click = [&c] { Lbchat_Click(c); };
    for (int i = 0; i < 2; ++i) {
        platform::ListBox* box = f.Sysmsg[static_cast<std::size_t>(i)];
        OnClick(box->viewport(), [&c, i] { Sysmsg_Click(c, static_cast<int16_t>(i)); });
    }
    f.imgword1.Click = [&c] { imgword1_Click(c); };
    f.imgword1.MouseMove = Moves([&c] { imgword1_MouseMove(c); });
    f.imgword2.Click = [&c] { imgword2_Click(c); };
    f.imgword2.MouseMove = Moves([&c] { imgword2_MouseMove(c); });
    f.imgLocation.MouseMove = Moves([&c] { ChatBar_MouseMove(c); });
    // The seats: a click on an avatar starts a whisper, the pointer over an
    // avatar or a seat's name, money or level shows that player's card. The
    // score and rank labels lie over the money and level labels in their
    // places, so they show the card too.
    for (int v = 0; v < 4; ++v) {
        const auto view = static_cast<int16_t>(v);
        f.Tou[v].Click = [&c, view] { Tou_Click(c, view); };
        for (platform::GraphicControl* hover :
             std::initializer_list<platform::GraphicControl*>{&f.Tou[v], &f.Nid[v], &f.Cash[v], &f.Level[v],
                                                              &f.lbl_score[v], &f.lbl_sort[v]})
            hover->MouseMove = [&c, view](int16_t button, int16_t shift, float x, float y) {
                Tou_MouseMove(c, view, button, shift, x, y);
            };
    }
}

void WireTalk(Client& c)
{
    TalkForm& talk = *c.Talk;
    talk.Label1.Click = [&c] { Talk_Label1_Click(c); };
    new EventTap(talk.Text1, QEvent::KeyPress, [&c](QEvent& e) {
        Talk_Text1_KeyDown(c, window::VbKeyCode(static_cast<QKeyEvent&>(e).key()));
    });
    Talk_Form_Load(c);
}

void WireHuifu(Client& c)
{
    HuifuForm& h = *c.huifu;
    QObject::connect(h.List1, &QListWidget::itemDoubleClicked, h.List1, [&c] { huifu_List_DblClick(c, 1); });
    QObject::connect(h.List2, &QListWidget::itemDoubleClicked, h.List2, [&c] { huifu_List_DblClick(c, 2); });
    h.Picture1.Click = [&c] { huifu_Picture_Click(c, 1); };
    h.Picture2.Click = [&c] { huifu_Picture_Click(c, 2); };
    h.Picture1.MouseMove = Moves([&c] { huifu_Picture_MouseMove(c, 1); });
    h.Picture2.MouseMove = Moves([&c] { huifu_Picture_MouseMove(c, 2); });
    h.Label1.Click = [&c] { c.huifu->Hide(); };
}

void WireBiaoqing(Client& c)
{
    BiaoqingForm& b = *c.frmBiaoqing;
    b.Cmd_Dnp.Click = [&c] { frmBiaoqing_Cmd_Dnp_Click(c); };
    b.Cmd_Dpp.Click = [&c] { frmBiaoqing_Cmd_Dpp_Click(c); };
    b.Cmd_Dnp.MouseMove = Moves([&c] { frmBiaoqing_Cmd_Dnp_MouseMove(c); });
    b.Cmd_Dpp.MouseMove = Moves([&c] { frmBiaoqing_Cmd_Dpp_MouseMove(c); });
    b.Img_dd.Click = [&c] { frmBiaoqing_Img_dd_Click(c); };
    platform::PictureBox* page = b.Pic_dynamicBQ;
    new EventTap(page, QEvent::MouseMove, [&c, page](QEvent& e) {
        const QPointF at = static_cast<QMouseEvent&>(e).position();
        if (!page->ControlAt(static_cast<float>(at.x()), static_cast<float>(at.y())))
            frmBiaoqing_Pic_dynamicBQ_MouseMove(c);
    });
    // The animated control raises no click of its own: the cell's mouse
    // release is taken as one.
    for (int i = 0; i < static_cast<int>(b.ucAni_DBQ.size()); ++i)
        OnClick(b.ucAni_DBQ[static_cast<std::size_t>(i)], [&c, i] { frmBiaoqing_ucAni_DBQ_Click(c, i); });
}

} // namespace

void WireChat(Client& c)
{
    WireTableWindow(c);
    WireTalk(c);
    WireHuifu(c);
    WireBiaoqing(c);
}

} // namespace chat
