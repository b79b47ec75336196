#include "chat/chat_box.h"

#include "app/client.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "protocol/kinds.h"
#include "window/main_form.h"

namespace chat {

namespace {
constexpr int16_t kKeyEnter = 13;
constexpr int16_t kKeyBackspace = 8;
constexpr int kChatGateMs = 800;
} // namespace

protocol::GameCmd ChatCmd(const Client& c)
{
    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdChat;
    cmd.Seat = c.game.Players[0].SeatBit;
    return cmd;
}

void TrimHistory(Client& c)
{
    platform::ListBox& history = *c.Talk->Text1;
    const int extra = history.ListCount() - kHistoryEntries;
    for (int i = 0; i < extra; ++i)
        delete history.takeItem(0);
}

void SendTypedLine(Client& c)
{
    ChatState& ch = c.chat;
    platform::TextBox& box = *c.MainForm->Chat;
    protocol::GameCmd cmd = ChatCmd(c);
    QString text = box.Text();
    // The prefix alone is as blank as blanks alone.
    if (text.isEmpty() || text.trimmed() == ch.WhisperPrefix.trimmed())
        return;
    const QString& nick = c.game.UserInfos[0].Nickname;
    if (!ch.WhisperPrefix.isEmpty() && text.contains(ch.WhisperPrefix)) {
        text = text.mid(ch.WhisperPrefix.size());
        cmd.Data[1] = ch.WhisperSeat;
        text = nick + ch.WhisperPrefix.mid(1) + text;
    } else {
        text = nick + QStringLiteral("说道: ") + text;
    }
    c.core.ChatText = text;
    ch.WhisperPrefix.clear();
    box.SetText(QString());
    core::SendMsg(c, cmd);
}

bool Chat_KeyPress(Client& c, int16_t keyAscii)
{
    GameState& g = c.game;
    ChatState& ch = c.chat;
    if (g.InputEnabled == 0)
        return false;
    TrimHistory(c);
    platform::TextBox& box = *c.MainForm->Chat;
    if (keyAscii == kKeyEnter) {
        if (g.WatchMode)
            return true;
        if (ch.ChatAllowed == -1) {
            // The gate closes even when nothing goes out.
            ch.ChatAllowed = 0;
            c.MainForm->TimerChat->SetInterval(kChatGateMs);
            c.MainForm->TimerChat->SetEnabled(true);
            SendTypedLine(c);
        } else if (!box.Text().isEmpty()) {
            platform::ListBox& history = *c.Talk->Text1;
            history.AddItem(QStringLiteral("（发送消息太快！）"));
            box.SetText(QString());
            history.scrollToBottom();
            TrimHistory(c);
        }
        return true;
    }
    if (keyAscii == kKeyBackspace && !ch.WhisperPrefix.isEmpty()) {
        ch.ChatBoxBeforeKey = box.Text();
        // Only a Backspace that deletes something: at the very start of
        // the box it changes nothing, and no later key may take the prefix.
        const bool deletes = box.cursorPosition() > 0 || box.hasSelectedText();
        if (deletes && box.cursorPosition() <= ch.WhisperPrefix.size())
            ch.PrefixCutPending = -1;
    }
    return false;
}

void Chat_Change(Client& c)
{
    ChatState& ch = c.chat;
    if (ch.PrefixCutPending != -1)
        return;
    ch.PrefixCutPending = 0;
    platform::TextBox& box = *c.MainForm->Chat;
    const QString kept = ch.ChatBoxBeforeKey.mid(ch.WhisperPrefix.size());
    ch.WhisperPrefix.clear();
    ch.WhisperSeat = 0;
    box.SetText(kept);
    box.setCursorPosition(static_cast<int>(kept.size()));
}

void Chat_GotFocus(Client& c) { c.window.ChatHasFocus = -1; }

void Chat_LostFocus(Client& c) { c.window.ChatHasFocus = 0; }

void TimerChat_Timer(Client& c)
{
    c.MainForm->TimerChat->SetEnabled(false);
    c.chat.ChatAllowed = -1;
}

} // namespace chat
