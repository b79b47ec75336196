#include "rewards/prop_pump.h"

#include "app/client.h"
#include "chat/chat.h"
#include "chat/seat_handlers.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/startup.h"
#include "platform/gbk.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "rewards/treasure.h"
#include "table/utilities.h"
#include "window/input.h"
#include "window/main_form.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace rewards {

namespace {

enum PropMessage : int16_t {
    MsgSystemLine = 0,
    MsgNotice = 1,
    MsgFrame = 2,
    MsgWhisper = 3,
    MsgKey = 4,
    MsgPlayerCard = 5,
};

constexpr int16_t kSystemWidth = 44;

// The number a message's text starts with, to the nearest integer (halves
// to even); nothing when it lies outside the 16-bit range.
std::optional<int16_t> NumberOf(const QString& text)
{
    const double n = std::nearbyint(core::LeadingNumber(text));
    if (n < std::numeric_limits<int16_t>::min() || n > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(n);
}

void CarryOut(Client& c)
{
    GameState& g = c.game;
    switch (g.PropSendType) {
    case MsgSystemLine:
        if (!g.PropSendText.isEmpty()) {
            AddSystemMessage(c, g.PropSendText);
            g.PropSendText.clear();
        }
        break;
    case MsgNotice:
        if (!g.PropSendText.isEmpty() && g.PropNoticeParams.size() == 4) {
            ShowPropNotice(c, g.PropSendText, g.PropNoticeParams, g.PropNoticeExtra);
            g.PropSendText.clear();
            g.PropNoticeParams.clear();
            g.PropNoticeExtra.fill(0);
        }
        break;
    case MsgFrame:
        if (g.PropSendFrame.size() == protocol::kFrameSize) {
            protocol::GameFrame frame;
            std::memcpy(frame.data(), g.PropSendFrame.constData(), protocol::kFrameSize);
            core::SendRawFrame(c, frame);
        }
        break;
    case MsgWhisper:
        if (const auto n = NumberOf(g.PropSendText); n && *n >= 1 && *n <= 3)
            chat::Tou_Click(c, *n);
        break;
    case MsgKey:
        if (const auto n = NumberOf(g.PropSendText))
            window::pic1_KeyDown(c, *n, 0);
        break;
    case MsgPlayerCard:
        if (const auto n = NumberOf(g.PropSendText); n && *n >= 0 && *n <= 3)
            chat::Tou_MouseMove(c, *n, 0, 0, 0, 0);
        break;
    default:
        break;
    }
}

bool PumpOnce(Client& c)
{
    GameState& g = c.game;

    if (g.PropPluginState > 0 && g.PropPlugin) {
        const int16_t n = g.PropPlugin->CheckSendBuff();
        for (int i = 1; i <= n; ++i) {
            g.PropSendType = -1;
            // A message before may have stopped the plug-in.
            if (g.PropPluginState < 1 || !g.PropPlugin)
                return false;
            platform::Picture picture = g.PropSendPicture;
            g.PropPlugin->GetSendBuff(picture, g.PropSendText, g.PropSendFrame, g.PropSendType, g.PropNoticeParams,
                                      g.PropNoticeExtra);
            g.PropSendPicture = picture;
            CarryOut(c);
        }
    }

    if (g.PropHandEndDue) {
        if (g.PropPluginState <= 0) {
            g.PropHandEndDue = 0;
            ShowPropHandResult(c);
            return false;
        }
        if (!g.PropScoreInfoDue) {
            g.PropHandEndDue = 0;
            ShowPropHandResult(c);
        } else if (g.PropPlugin &&
                   g.PropPlugin->GetScoreInfo(g.PropSeatNames, g.PropCoinDelta, g.PropSeatEntries) == 1) {
            g.PropScoreInfoDue = 0;
            g.PropHandEndDue = 0;
            g.PropMenuOpen = 0;
            if (g.PropPluginState == 2)
                PlayBaoXiang(c);
            else
                ShowPropHandResult(c);
        }
    }

    TreasureCountdownStep(c);
    return true;
}

} // namespace

bool SchedPropPump(Client& c)
{
    GameState& g = c.game;
    if (!g.PropPluginReady)
        return true;
    try {
        return PumpOnce(c);
    } catch (const std::exception& e) {
        // A plug-in that fails under the pump is stopped; the client and its
        // scheduler go on without it.
        qWarning("prop plug-in failed in the pump: %s", e.what());
        try {
            ExitPropPlugin(c, 0);
        } catch (const std::exception&) {
        }
        g.PropPluginState = 0;
        g.PropPluginReady = 0;
        return false;
    }
}

void AddSystemMessage(Client& c, QString& text)
{
    platform::ListBox& history = *c.Talk->Text1;
    table::WrapToList(history, text, kSystemWidth);
    if (history.ListCount() > 0)
        history.scrollToItem(history.item(history.ListCount() - 1), QAbstractItemView::PositionAtTop);
    text = chat::SystemBoxText(text);
    chat::PushSystemMessage(c, text);
}

void ShowPropNotice(Client& c, const QString& text, const std::vector<int32_t>& box,
                    const std::array<int32_t, 5>& style)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    platform::Label& label = f.LbProp;
    label.SetVisible(false);
    label.Move(static_cast<float>(box.at(2)), static_cast<float>(box.at(3)), static_cast<float>(box.at(0)),
               static_cast<float>(box.at(1)));
    label.FontSize = static_cast<float>(style[2]);
    label.ForeColor = style[3];
    label.Alignment = style[4];
    label.SetCaption(text);
    label.SetVisible(true);
    label.ZOrder(0);
    if (style[0] >= 1 && style[1] >= 1) {
        f.TimerProp->SetInterval(style[0]);
        g.PropCaptionLimit = static_cast<int16_t>(std::min<int32_t>(style[1], std::numeric_limits<int16_t>::max()));
        g.PropCaptionTicks = 0;
        g.PropCaptionOn = -1;
        f.TimerProp->SetEnabled(true);
    }
}

void TimerProp_Timer(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    f.TimerProp->SetEnabled(false);
    if (!g.PropCaptionOn) {
        f.TimerProp->SetEnabled(true);
        return;
    }
    ++g.PropCaptionTicks;
    if (g.PropCaptionTicks == g.PropCaptionLimit) {
        f.LbProp.SetCaption(QString());
        f.LbProp.SetVisible(false);
        g.PropCaptionOn = 0;
        g.PropCaptionTicks = 0;
        return;
    }
    f.TimerProp->SetEnabled(true);
}

int16_t DisplayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t cp : text.toUcs4())
        width += platform::gbk::EncodeChar(cp).size() == 2 ? 2 : 1;
    return static_cast<int16_t>(std::min(width, int(std::numeric_limits<int16_t>::max())));
}

} // namespace rewards
