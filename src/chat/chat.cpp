#include "chat/chat.h"

#include "app/client.h"
#include "chat/chat_box.h"
#include "chat/emoticons.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "platform/gbk.h"
#include "platform/resources.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/sound.h"

#include <cmath>

namespace chat {

namespace {

constexpr int kRelayLength = protocol::frame_byte::RelayLength;
constexpr int kTextFirst = protocol::frame_byte::ChatText;
constexpr int kTextEnd = 216; // the text field is 16-215
constexpr int kNameFirst = protocol::frame_byte::ChatName;
constexpr int16_t kHistoryWidth = 46;
constexpr int16_t kSystemWidth = 44;
constexpr int kBoxChars = 45;

// The bubble a quick phrase is shown in: peak opacity, fade steps, hold.
constexpr int kBubblePeak = 210;
constexpr int kBubbleFadeIn = 8;
constexpr int kBubbleFadeOut = 4;
constexpr int kBubbleHold = 2000;

constexpr int16_t kChatBlinkSteps = 8;

// The sender's name as the frame carries it: its bytes up to the first zero.
QByteArray SenderName(const uint8_t* f)
{
    QByteArray name;
    for (int i = kNameFirst; i < kNameFirst + protocol::kNameBytes && f[i] != 0; ++i)
        name += static_cast<char>(f[i]);
    return name;
}

// The first view whose seat name is the sender's (an empty name: the first
// seat without a name); 0 when none is. The sender wrote its name cut to 16
// bytes on a character's end, so the seat names are cut the same way.
int SenderView(const Client& c, const QByteArray& name)
{
    for (int v = 0; v < 4; ++v)
        if (platform::gbk::CutBytes(c.game.Players[static_cast<std::size_t>(v)].Name, protocol::kNameBytes) == name)
            return v;
    return 0;
}

// The text field's bytes: from byte 16 to its first zero byte, no character
// starting past byte 215; a lead byte at 215 takes byte 216 as its trail.
int TextLength(const uint8_t* f)
{
    int at = kTextFirst;
    while (at < kTextEnd && f[at] != 0)
        at += f[at] >= 0x80 ? 2 : 1;
    return at - kTextFirst;
}

bool TableWindowNormal(const Client& c)
{
    return !(c.MainForm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

// A quick phrase: in the speaker's bubble, spoken with the speaker's voice.
void SayPhrase(Client& c, int mode, int number, int speaker)
{
    const QString phrase = QuickPhrase(c, mode, number);
    if (phrase.isEmpty() || !TableWindowNormal(c) || !c.chat.BubblesAllowed)
        return;
    CreateSpeakBox(c, speaker);
    c.MainForm->Chat->setFocus();
    if (SpeakBoxForm* box = FindSpeakBox(c, speaker)) {
        box->showMe(speaker, phrase, kBubblePeak, kBubbleFadeIn, kBubbleFadeOut, kBubbleHold);
        box->show();
    }
    if (c.window.Sound.SoundOn == -1) {
        const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(speaker)];
        const window::SeatVoice voice{u.Voice1, u.Voice2, u.Sex, u.VoiceKind};
        window::PlaySeatWave(c, window::VoiceFileName(c, voice, window::PhraseVoiceCode(static_cast<int16_t>(mode), number)),
                             speaker);
    }
}

// An animated emoticon beside the speaker's seat.
void ShowEmoticon(Client& c, int number, int speaker, int seatView, bool seated)
{
    if (speaker == 0)
        AddSystemLine(c, QStringLiteral("您使用动态表情，消耗50金币!"));
    if (seated || speaker > 0)
        for (int v = 0; v < 4; ++v)
            PlaceEmoticonCell(c, v);
    PlayEmoticon(c, speaker, number);
    if (seatView != 0)
        c.chat.ChatBlinkCount = kChatBlinkSteps;
}

// A received line: the history, the one-line boxes.
void ShowLine(Client& c, QString text)
{
    const QString& own = c.game.UserInfos[0].Nickname;
    if (!text.startsWith(QStringLiteral("系统提示")) && !own.isEmpty()) {
        const qsizetype at = text.indexOf(own);
        if (at >= 0)
            text.replace(at, own.size(), QStringLiteral("你"));
    }
    text = FilterChat(c, text);
    platform::ListBox& history = *c.Talk->Text1;
    table::WrapToList(history, text, kHistoryWidth);
    TrimHistory(c);
    if (history.ListCount() > 0)
        history.SetListIndex(history.ListCount() - 1);
    PushSystemMessage(c, SystemBoxText(text));
}

} // namespace

uint32_t RelayLength(const uint8_t* f)
{
    return uint32_t(f[kRelayLength]) << 24 | uint32_t(f[kRelayLength + 1]) << 16 | uint32_t(f[kRelayLength + 2]) << 8 |
           f[kRelayLength + 3];
}

bool IsRelayFrame(const uint8_t* f)
{
    const uint32_t len = RelayLength(f);
    return len == 272 || len == 260;
}

void OnChatFrame(Client& c)
{
    core::CoreState& s = c.core;
    GameState& g = c.game;
    const uint8_t* f = s.RecvFrame.data();
    if (IsRelayFrame(f)) {
        if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin)
            c.rewards.PropPlugin->Rec_MSG(s.RecvFrame);
        return;
    }

    const QString text = platform::gbk::Decode(f + kTextFirst, static_cast<std::size_t>(TextLength(f)));
    const uint8_t own = g.Players[0].SeatBit;
    const int seatView = table::SeatView(own, static_cast<uint8_t>(f[protocol::frame_byte::Seat] & 0x0F));
    // Seat names are kept as the server's GBK bytes, so the sender's name is
    // compared byte for byte.
    const int speaker = SenderView(c, SenderName(f));

    const bool seated = own != 0;
    if (seated || seatView == 0) {
        const int mode = s.CurMsg.Data[0] & 0xFF;
        const int number = s.CurMsg.Data[3] & 0xFF;
        if (mode == ModePhrase1 || mode == ModePhrase2) {
            // The bubble and the voice are extras: a failure there still
            // shows the line.
            try {
                SayPhrase(c, mode, number, speaker);
            } catch (const std::exception& e) {
                qWarning("quick phrase not shown: %s", e.what());
            }
        } else if (mode == ModeEmoticon) {
            ShowEmoticon(c, number, speaker, seatView, seated);
            return;
        }
    }

    ShowLine(c, text);
    if (seatView != 0)
        c.chat.ChatBlinkCount = kChatBlinkSteps;
}

QString SystemBoxText(const QString& text) { return text.left(kBoxChars); }

void PushSystemMessage(Client& c, const QString& line)
{
    auto& box = c.MainForm->Sysmsg;
    if (box[1]->ListCount() > 0) {
        const QString previous = box[1]->List(0);
        box[0]->Clear();
        box[0]->AddItem(previous);
        box[1]->Clear();
        box[1]->AddItem(line);
    } else if (box[0]->ListCount() > 0) {
        box[1]->Clear();
        box[1]->AddItem(line);
    } else {
        box[0]->Clear();
        box[0]->AddItem(line);
    }
}

void AddSystemLine(Client& c, const QString& text)
{
    if (text.trimmed().isEmpty())
        return;
    platform::ListBox& history = *c.Talk->Text1;
    table::WrapToList(history, text, kSystemWidth);
    TrimHistory(c);
    if (history.ListCount() > 0)
        history.scrollToItem(history.item(history.ListCount() - 1), QAbstractItemView::PositionAtTop);
    PushSystemMessage(c, SystemBoxText(text));
}

QStringList DefaultFilterWords()
{
    return {QStringLiteral("张某某"), QStringLiteral("李某某"), QStringLiteral("王某某"), QStringLiteral("赵某某"),
            QStringLiteral("全能神"),
            QStringLiteral("你妈的"), QStringLiteral("他妈的"), QStringLiteral("她妈的"), QStringLiteral("狗娘养的"),
            QStringLiteral("狗娘"),
            QStringLiteral("色情"), QStringLiteral("淫秽"), QStringLiteral("黄色"),
            QStringLiteral("fuck"), QStringLiteral("shit")};
}

QString FilterChat(const Client& c, const QString& text)
{
    QString out = text;
    for (const QString& word : c.chat.FilterWords)
        if (!word.isEmpty())
            out.remove(word, Qt::CaseSensitive);
    return out;
}

} // namespace chat
