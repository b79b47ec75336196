#include "window/hot_keys.h"

#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/emoticon_picker.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "results/result_forms.h"
#include "services/web_links.h"
#include "window/main_buttons.h"
#include "window/main_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace window {

namespace {

// What F1 does beyond what every handler does (the boss-key flag, the
// player card and chat window hidden, both windows minimised).
struct F1Steps {
    bool quickPhrases; // huifu hidden
    bool sideWindows;  // settings, exit dialog, results and rules hidden, countdown cut to 0
    bool plugin;       // the plug-in hears F1 here (the others passed it on before)
};

constexpr F1Steps kFormF1{true, false, false};
constexpr F1Steps kChatF1{false, true, false};
constexpr F1Steps kTableF1{false, true, true};
constexpr F1Steps kSysmsgF1{true, true, true};

platform::Form* Made(const std::function<platform::Form*()>& window) { return window ? window() : nullptr; }

void Hide(QWidget* w)
{
    if (w && !w->isHidden())
        w->hide();
}

void PluginKey(Client& c, int16_t keyCode)
{
    if (c.rewards.PropPluginState <= 0 || !c.rewards.PropPlugin)
        return;
    try {
        c.rewards.PropPlugin->SetKeyDown(keyCode);
    } catch (...) {
        // The plug-in's failure does not stop the key.
    }
}

void BossKey(Client& c, const F1Steps& steps)
{
    GameState& g = c.game;
    g.F1Minimized = -1;
    Hide(c.Information.get());
    Hide(c.Talk.get());
    if (steps.quickPhrases)
        Hide(c.huifu.get());
    if (steps.sideWindows) {
        Hide(Made(c.window.VosSet));
        Hide(c.frmExit.get());
        Hide(c.Hero.get());
        Hide(c.Score.get());
        Hide(Made(c.window.FrmRule));
        g.CountdownStart = 0;
    }
    if (steps.plugin)
        PluginKey(c, kKeyF1);
    c.MainForm->showMinimized();
    core::MinimizeLobbyWindow(c);
}

bool IsPluginKey(int16_t keyCode) { return keyCode >= kKeyF1 && keyCode <= kKeyF6; }

int16_t ShiftOf(Qt::KeyboardModifiers m)
{
    return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                (m & Qt::AltModifier ? 4 : 0));
}

// The character a key types, as the chat box's key handler takes it: 13
// for Enter, 8 for Backspace, 0 for a key that types nothing.
int16_t KeyAscii(const QKeyEvent& e)
{
    if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter)
        return 13;
    if (e.key() == Qt::Key_Backspace)
        return 8;
    const QString text = e.text();
    return text.isEmpty() ? 0 : static_cast<int16_t>(text.at(0).unicode());
}

// Every key press of the table window passes here once, whichever control
// has the focus: the window's own handler first (key preview), then the
// handler of the control, then the control itself. The event is not
// handed on to the control's parents, so no handler hears a key twice.
class KeyRouter : public QObject {
public:
    KeyRouter(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        MainForm& f = *c_.MainForm;
        if (w->window() != &f)
            return false;
        auto* e = static_cast<QKeyEvent*>(event);
        const int16_t key = VbKeyCode(e->key());
        const int16_t shift = ShiftOf(e->modifiers());
        int sysmsg = -1;
        for (int i = 0; i < 2; ++i) {
            QWidget* list = f.Sysmsg[static_cast<std::size_t>(i)];
            if (w == list || list->isAncestorOf(w))
                sysmsg = i;
        }
        const bool chat = w == f.Chat;
        c_.window.ChatHasFocus = chat ? -1 : 0;
        if (c_.window.KeyPreview)
            keys::Form_KeyDown(c_, key, shift);
        if (chat) {
            keys::Chat_KeyDown(c_, key, shift);
            // Enter is used up by the chat: the box never sees it.
            if (chat::Chat_KeyPress(c_, KeyAscii(*e))) {
                event->accept();
                return true;
            }
        } else if (sysmsg >= 0)
            keys::Sysmsg_KeyDown(c_, static_cast<int16_t>(sysmsg), key, shift);
        else if (!(c_.window.ControlKeyDown && c_.window.ControlKeyDown(w, key)))
            keys::pic1_KeyDown(c_, key, shift);
        static_cast<QObject*>(w)->event(event);
        // Accepted, so that the application does not hand it to the parents.
        event->accept();
        return true;
    }

private:
    Client& c_;
};

// A left click on the bare table: pressed and released where no graphic
// control lies.
class TableClicks : public QObject {
public:
    TableClicks(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The type first: the table window may be half destroyed when its
        // last events pass here.
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
            return false;
        MainForm& f = *c_.MainForm;
        if (watched != parent())
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF pos = e->position();
        const bool bare = !f.pic1->ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y())) &&
                          f.pic1->rect().contains(pos.toPoint());
        if (e->button() != Qt::LeftButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = bare;
        } else {
            const bool click = pressed_ && bare;
            pressed_ = false;
            if (click)
                keys::pic1_Click(c_);
        }
        return false;
    }

private:
    Client& c_;
    bool pressed_ = false;
};

} // namespace

int16_t VbKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<int16_t>(kKeyF1 + (qtKey - Qt::Key_F1));
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return static_cast<int16_t>(qtKey);
    switch (qtKey) {
    case Qt::Key_Escape:
        return kKeyEsc;
    case Qt::Key_Alt:
        return kKeyAlt;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

namespace keys {

void Form_KeyDown(Client& c, int16_t keyCode, int16_t)
{
    if (IsPluginKey(keyCode) && (keyCode == kKeyF1 || !c.window.ChatHasFocus))
        PluginKey(c, keyCode);
    if (keyCode == kKeyF1)
        BossKey(c, kFormF1);
}

void Chat_KeyDown(Client& c, int16_t keyCode, int16_t)
{
    if (IsPluginKey(keyCode))
        PluginKey(c, keyCode);
    if (keyCode == kKeyF1)
        BossKey(c, kChatF1);
}

void Sysmsg_KeyDown(Client& c, int16_t, int16_t keyCode, int16_t)
{
    if (keyCode == kKeyF1)
        BossKey(c, kSysmsgF1);
}

void pic1_KeyDown(Client& c, int16_t keyCode, int16_t)
{
    MainForm& f = *c.MainForm;
    if (keyCode == kKeyEsc) {
        if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin) {
            try {
                c.rewards.PropPlugin->setbankstate(2);
            } catch (...) {
                // The plug-in's failure does not stop the key.
            }
        }
        Hide(f.Pic_matchDetail);
        Hide(f.Pic_sortDetail);
        // Hides the dialog when it is shown, else shows it, leaving the
        // result windows as they are.
        core::OpenExitWindow(c, false);
        return;
    }
    if (keyCode == kKeyF1)
        BossKey(c, kTableF1);
    std::array<int16_t, 2>& latch = c.window.KeyLatch;
    if (keyCode == kKeyAlt) {
        latch[0] = 1;
    } else if (keyCode == kKeyC) {
        latch[1] = 1;
    } else {
        latch = {0, 0};
    }
    if (latch[0] == 1 && latch[1] == 1) {
        latch = {0, 0};
        PlaceTalkWindow(c);
        c.Talk->Show();
        c.Talk->raise();
    }
    f.Chat->setFocus();
}

void pic1_Click(Client& c)
{
    for (QWidget* w : {static_cast<QWidget*>(c.Talk.get()), static_cast<QWidget*>(c.huifu.get()),
                       static_cast<QWidget*>(c.Score.get()), static_cast<QWidget*>(c.Hero.get()),
                       static_cast<QWidget*>(Made(c.window.VosSet)), static_cast<QWidget*>(c.frmExit.get()),
                       static_cast<QWidget*>(Made(c.window.FrmRule)), static_cast<QWidget*>(c.frmBiaoqing.get()),
                       static_cast<QWidget*>(c.services.FrmVip.data())})
        Hide(w);
}

void WireHotKeys(Client& c)
{
    MainForm& f = *c.MainForm;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(new KeyRouter(c, &f));
    f.pic1->installEventFilter(new TableClicks(c, f.pic1));
}

} // namespace keys

} // namespace window
