#include "app/client.h"
#include "chat/chat.h"
#include "match/match.h"
#include "match/match_frames.h"
#include "match/match_handlers.h"
#include "platform/clock.h"
#include "window/main_form.h"

#include <cmath>

namespace match {

namespace {

QString CoinsText(double coins)
{
    const QString number = coins == std::trunc(coins) && std::fabs(coins) < 1e15
                               ? QString::number(static_cast<qlonglong>(coins))
                               : QString::number(coins, 'g', 15);
    return number + QStringLiteral("金币");
}

// Adds a signed amount to a seat's coins, never below 0, and shows them.
void AddCoins(Client& c, int view, double amount)
{
    double& coins = c.game.UserInfos[static_cast<std::size_t>(view)].Coins;
    coins += amount;
    if (coins < 0)
        coins = 0;
    c.MainForm->Cash[view].SetCaption(CoinsText(coins));
}

} // namespace

void MsgServerTime(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    if (!m.MatchDataReady && !m.MatchInfoDownloading)
        return; // the pending request stays pending
    m.ServerClock = static_cast<uint32_t>(ReadField32(f, protocol::server_time_byte::Time, "server time"));
    m.TimeRequestTick = 0;
    m.ClockSyncTick = m.ClockStepTick = c.plat.clock.timeGetTime();
}

void MsgAutoSignLead(Client& c, const protocol::GameFrame& f)
{
    c.match.AutoSignLead = ReadField32(f, protocol::auto_sign_byte::Lead, "sign-up lead");
}

void MsgGoldChange(Client& c, const protocol::GameFrame& f)
{
    const GoldFrame g = DecodeGoldChange(f);
    AddCoins(c, 0, g.amount);
    QString text = g.text;
    text.replace(QStringLiteral("%d"), QString::number(g.magnitude, 'f', 0), Qt::CaseInsensitive);
    chat::AddSystemLine(c, text);
}

void MsgSeatGoldChange(Client& c, const protocol::GameFrame& f)
{
    const GoldFrame g = DecodeSeatGoldChange(f);
    for (int v = 1; v <= 3; ++v) {
        if (c.game.UserInfos[static_cast<std::size_t>(v)].Account == g.account) {
            AddCoins(c, v, g.amount);
            return;
        }
    }
}

void MsgMarquee(Client& c, const protocol::GameFrame& f)
{
    AddNotice(c, ReadText(f, protocol::marquee_byte::Text, protocol::match_frame_byte::TextLast));
}

} // namespace match
