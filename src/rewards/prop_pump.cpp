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
#include "window/hot_keys.h"
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
    RewardsState& r = c.rewards;
    switch (r.PropSendType) {
    case MsgSystemLine:
        if (!r.PropSendText.isEmpty()) {
            AddSystemMessage(c, r.PropSendText);
            r.PropSendText.clear();
        }
        break;
    case MsgNotice:
        if (!r.PropSendText.isEmpty() && r.PropNoticeParams.size() == 4) {
            ShowPropNotice(c, r.PropSendText, r.PropNoticeParams, r.PropNoticeExtra);
            r.PropSendText.clear();
            r.PropNoticeParams.clear();
            r.PropNoticeExtra.fill(0);
        }
        break;
    case MsgFrame:
        if (r.PropSendFrame.size() == protocol::kFrameSize) {
            protocol::GameFrame frame;
            std::memcpy(frame.data(), r.PropSendFrame.constData(), protocol::kFrameSize);
            core::SendRawFrame(c, frame);
        }
        break;
    case MsgWhisper:
        if (const auto n = NumberOf(r.PropSendText); n && *n >= 1 && *n <= 3)
            chat::Tou_Click(c, *n);
        break;
    case MsgKey:
        if (const auto n = NumberOf(r.PropSendText))
            window::keys::pic1_KeyDown(c, *n, 0);
        break;
    case MsgPlayerCard:
        if (const auto n = NumberOf(r.PropSendText); n && *n >= 0 && *n <= 3)
            chat::Tou_MouseMove(c, *n, 0, 0, 0, 0);
        break;
    default:
        break;
    }
}

bool PumpOnce(Client& c)
{
    RewardsState& r = c.rewards;

    if (r.PropPluginState > 0 && r.PropPlugin) {
        const int16_t n = r.PropPlugin->CheckSendBuff();
        for (int i = 1; i <= n; ++i) {
            r.PropSendType = -1;
            // A message before may have stopped the plug-in.
            if (r.PropPluginState < 1 || !r.PropPlugin)
                return false;
            platform::Picture picture = r.PropSendPicture;
            r.PropPlugin->GetSendBuff(picture, r.PropSendText, r.PropSendFrame, r.PropSendType, r.PropNoticeParams,
                                      r.PropNoticeExtra);
            r.PropSendPicture = picture;
            CarryOut(c);
        }
    }

    if (r.PropHandEndDue) {
        if (r.PropPluginState <= 0) {
            r.PropHandEndDue = 0;
            ShowPropHandResult(c);
            return false;
        }
        if (!r.PropScoreInfoDue) {
            r.PropHandEndDue = 0;
            ShowPropHandResult(c);
        } else if (r.PropPlugin &&
                   r.PropPlugin->GetScoreInfo(r.PropSeatNames, r.PropCoinDelta, r.PropSeatEntries) == 1) {
            r.PropScoreInfoDue = 0;
            r.PropHandEndDue = 0;
            r.PropMenuOpen = 0;
            if (r.PropPluginState == 2)
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
    RewardsState& r = c.rewards;
    if (!r.PropPluginReady)
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
        r.PropPluginState = 0;
        r.PropPluginReady = 0;
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
    RewardsState& r = c.rewards;
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
        r.PropCaptionLimit = static_cast<int16_t>(std::min<int32_t>(style[1], std::numeric_limits<int16_t>::max()));
        r.PropCaptionTicks = 0;
        r.PropCaptionOn = -1;
        f.TimerProp->SetEnabled(true);
    }
}

void TimerProp_Timer(Client& c)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    f.TimerProp->SetEnabled(false);
    if (r.PropTimerOn) {
        TreasureResultStep(c);
        return;
    }
    if (!r.PropCaptionOn) {
        f.TimerProp->SetEnabled(true);
        return;
    }
    ++r.PropCaptionTicks;
    if (r.PropCaptionTicks == r.PropCaptionLimit) {
        f.LbProp.SetCaption(QString());
        f.LbProp.SetVisible(false);
        r.PropCaptionOn = 0;
        r.PropCaptionTicks = 0;
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
