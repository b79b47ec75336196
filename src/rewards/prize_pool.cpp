#include "rewards/prize_pool.h"

#include "app/client.h"
#include "chat/chat.h"
#include "core/numeric.h"
#include "match/match.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "protocol/kinds.h"
#include "rewards/jade.h"
#include "rewards/reward_ticks.h"
#include "widgets/marquee.h"
#include "widgets/sprite_sheet.h"
#include "window/main_form.h"

#include <QStringList>
#include <cmath>

namespace rewards {

namespace {

namespace pn = protocol::prize_notice_byte;

constexpr int kModePool = 1;
constexpr int kModeLine = 5;
constexpr int kModeColored = 6;
constexpr int kModeHandPrize = 7;
constexpr int kModeWealth = 8;

// The smallest prize the lottery display rolls.
constexpr double kLeastPrize = 1000;

// Waits of the two rolls, in milliseconds.
constexpr uint32_t kPoolSlowStepMs = 200;
constexpr uint32_t kPoolFastStepMs = 100;
constexpr uint32_t kPrizeFirstMs = 1000;
constexpr uint32_t kPrizeFastMs = 2000;
constexpr uint32_t kPrizeShownMs = 5000;

// Time since a stored tick on the wrapping millisecond counter.
uint32_t Since(Client& c, uint32_t tick) { return c.plat.clock.timeGetTime() - tick; }

int DigitFrame(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9') ? ch.unicode() - '0' : 0; }

// The text from `start`: a byte of 0x80 or more takes the next byte with it
// (the last one may take byte 256), a zero byte ends it.
QString NoticeText(const protocol::GameFrame& f, int start)
{
    QByteArray bytes;
    for (int i = start; i <= pn::TextLast;) {
        const uint8_t b = f[static_cast<std::size_t>(i)];
        if (b == 0)
            break;
        bytes.append(static_cast<char>(b));
        if (b >= 0x80) {
            bytes.append(static_cast<char>(f[static_cast<std::size_t>(i + 1)]));
            i += 2;
        } else {
            ++i;
        }
    }
    return platform::gbk::Decode(bytes);
}

// The prize pool's labels count from 0 on the left; the number stands
// right-aligned in them.
void ShowPoolChar(platform::Label& label, const QString& text)
{
    label.SetCaption(text);
    label.SetVisible(true);
    label.Refresh();
}

std::vector<widgets::Apng*> PrizeDigits(Client& c) { return c.rewards.Bets.APNG_prizenum; }

void OnPoolValue(Client& c, const QString& text)
{
    RewardsState& r = c.rewards;
    const double value = core::LeadingNumber(text);
    const double old = r.PrizePool;
    r.PrizePool = value;
    if (old > 0 && old != value) {
        r.PoolRollTick = 0;
        r.PoolRollDigit = 0;
        r.PoolRollStep = 0;
        r.PoolRolling = -1;
    } else {
        r.PoolRolling = 0;
        RollPrizePool(c);
    }
}

void OnHandPrize(Client& c, const QString& text)
{
    RewardsState& r = c.rewards;
    const std::array<QString, 4> fields = HandPrizeFields(text);
    const double prize = core::LeadingNumber(fields[1]);
    r.MyPrize = prize < kLeastPrize ? 0 : prize;
    r.JadeRewardText = fields[3];
    if (core::LeadingNumber(fields[3]) > 0)
        ShowJadeReward(c);
    if (r.MyPrize > 0) {
        r.LotteryPending = -1;
    } else if (r.PoolRolling) {
        // A roll stopped here would leave its digits half counted: the
        // pool shows its settled value instead.
        r.PoolRolling = 0;
        RollPrizePool(c);
    }
}

void OnWealth(Client& c, const QString& text)
{
    window::MainForm& f = *c.MainForm;
    f.lbwealth.SetCaption(WealthCaptionOf(core::LeadingNumber(text)));
    c.game.WealthCaption = f.lbwealth.Caption;
}

QString WithoutMarkers(const QString& text)
{
    const QString marker = QStringLiteral("XX");
    const qsizetype first = text.indexOf(marker);
    const qsizetype second = first < 0 ? -1 : text.indexOf(marker, first + marker.size());
    return second < 0 ? text : text.mid(second + marker.size());
}

} // namespace

PrizeNotice DecodePrizeNotice(const protocol::GameFrame& frame)
{
    PrizeNotice n;
    n.Mode = frame[pn::Mode] | (frame[pn::Mode + 1] << 8);
    if (n.Mode == kModeColored)
        n.Color = frame[pn::ColorRed] | (frame[pn::ColorGreen] << 8) | (frame[pn::ColorBlue] << 16);
    const bool skip = n.Mode == kModeHandPrize || n.Mode == kModeWealth;
    n.Text = NoticeText(frame, skip ? pn::Text + 1 : pn::Text);
    return n;
}

std::array<QString, 4> HandPrizeFields(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(';'));
    std::array<QString, 4> fields;
    for (qsizetype i = 0; i < parts.size() && i < 4; ++i)
        fields[static_cast<std::size_t>(i)] = parts[i];
    return fields;
}

QString DisplayDigits(double value, int places)
{
    if (!std::isfinite(value) || value < 0)
        return QStringLiteral("0");
    QString digits = QString::number(std::nearbyint(value), 'f', 0);
    if (places > 0 && digits.size() > places)
        digits = digits.right(places);
    return digits;
}

QString WealthCaptionOf(double tenths)
{
    if (!(tenths >= 10))
        return QStringLiteral("0.5");
    // Far beyond any multiplier: the caption stays a plain whole number.
    const double whole = std::min(std::nearbyint(tenths), 1e15);
    return QString::number(static_cast<int64_t>(whole) / 10);
}

void MsgPrizeNotice(Client& c, const protocol::GameFrame& frame)
{
    const PrizeNotice n = DecodePrizeNotice(frame);
    switch (n.Mode) {
    case kModePool: OnPoolValue(c, n.Text); break;
    case kModeLine: {
        QString text = n.Text;
        chat::AddSystemLine(c, text.replace(QStringLiteral("XX游戏XX"), QStringLiteral("Kavelin")));
        break;
    }
    case kModeColored: {
        const QString text = WithoutMarkers(n.Text);
        if (n.Color > 0)
            c.MainForm->moveWord1->Add(text, n.Color);
        else
            c.MainForm->moveWord1->Add(text);
        chat::AddSystemLine(c, text);
        break;
    }
    case kModeHandPrize: OnHandPrize(c, n.Text); break;
    case kModeWealth: OnWealth(c, n.Text); break;
    default: chat::AddSystemLine(c, n.Text); break;
    }
}

void Send95(Client& c)
{
    if (c.match.RoomMatchMode > 1)
        return;
    protocol::GameFrame frame{};
    frame[protocol::frame_byte::Kind] = protocol::CmdPrizePool;
    match::QueueMatchFrame(c, frame);
}

void RollPrizePool(Client& c)
{
    RewardsState& r = c.rewards;
    auto& labels = r.Bets.Lb_prize;
    const int u = labels.UBound();
    if (u < 0) {
        r.PoolRolling = 0;
        return;
    }
    const QString s = DisplayDigits(r.PrizePool, u + 1);
    const auto L = static_cast<int>(s.size());
    if (!r.PoolRolling) {
        for (int i = 0; i <= u; ++i) {
            labels[i].SetCaption(QString());
            labels[i].SetVisible(false);
        }
        for (int e = 0; e < L; ++e)
            ShowPoolChar(labels[u - e], s.mid(L - 1 - e, 1));
        return;
    }
    if (r.PoolRollDigit == 0) {
        for (int i = 0; i <= std::min(9, u); ++i) {
            labels[i].SetCaption(QString());
            labels[i].SetVisible(false);
        }
    }
    if (r.PoolRollDigit >= L) {
        r.PoolRolling = 0;
        return;
    }
    if (r.PoolRollStep < 10) {
        const uint32_t wait = r.PoolRollStep < 5 ? kPoolSlowStepMs : kPoolFastStepMs;
        if (Since(c, r.PoolRollTick) <= wait)
            return;
        const QString step = QString::number(r.PoolRollStep);
        for (int i = r.PoolRollDigit; i < L; ++i)
            ShowPoolChar(labels[u - i], step);
        ++r.PoolRollStep;
        r.PoolRollTick = c.plat.clock.timeGetTime();
        return;
    }
    const int d = r.PoolRollDigit;
    ShowPoolChar(labels[u - d], s.mid(L - 1 - d, 1));
    ++r.PoolRollDigit;
    r.PoolRollStep = 0;
}

void RollMyPrize(Client& c)
{
    RewardsState& r = c.rewards;
    BetsState& b = r.Bets;
    if (!r.LotteryPending || !b.APNG_prize || b.APNG_prizenum.empty()) {
        r.MyPrizeRolling = 0;
        return;
    }
    const std::vector<widgets::Apng*> digits = PrizeDigits(c);
    const int n = static_cast<int>(digits.size()) - 1;
    const QString s = DisplayDigits(r.MyPrize, n + 1);
    const auto L = static_cast<int>(s.size());
    auto at = [&](int position) -> widgets::Apng& { return *digits[static_cast<std::size_t>(n - position)]; };
    const uint32_t now = c.plat.clock.timeGetTime();
    switch (r.MyPrizeRollState) {
    case 0: {
        widgets::Apng& prize = *b.APNG_prize;
        if (prize.isHidden()) {
            prize.show();
            prize.raise();
            prize.Start(-1, 200);
        }
        for (int i = r.MyPrizeRollDigit; i < L; ++i) {
            widgets::Apng& digit = at(i);
            if (digit.isHidden()) {
                digit.Pause(static_cast<int32_t>(r.PrizeRandom() % 9));
                digit.show();
                digit.raise();
            }
            digit.Start(-1, 100);
        }
        r.MyPrizeRollState = 1;
        r.MyPrizeRollTick = now;
        break;
    }
    case 1:
    case 2:
    case 3:
    case 4:
        if (Since(c, r.MyPrizeRollTick) <= kPrizeFirstMs)
            return;
        for (int i = 0; i < L; ++i)
            at(i).Start(-1, 50);
        r.MyPrizeRollState = 5;
        r.MyPrizeRollTick = now;
        break;
    case 5:
        if (Since(c, r.MyPrizeRollTick) <= kPrizeFastMs)
            return;
        r.MyPrizeRollState = 10;
        r.MyPrizeRollTick = now;
        break;
    case 10:
        for (int i = 0; i < L; ++i)
            at(i).Pause(DigitFrame(s.at(L - 1 - i)));
        r.MyPrizeRollTick = now;
        r.MyPrizeRollState = 11;
        break;
    case 11:
        if (Since(c, r.MyPrizeRollTick) <= kPrizeShownMs)
            return;
        for (widgets::Apng* digit : digits) {
            digit->Pause();
            digit->hide();
        }
        b.APNG_prize->Pause();
        b.APNG_prize->hide();
        r.MyPrizeRolling = 0;
        r.LotteryPending = 0;
        if (c.results.ScorePending)
            ShowScoreWindow(c);
        break;
    default: break;
    }
}

void StartPrizeRoll(Client& c)
{
    RewardsState& r = c.rewards;
    r.MyPrizeRollTick = 0;
    r.MyPrizeRollDigit = 0;
    r.MyPrizeRollState = 0;
    r.MyPrizeRolling = -1;
    if (widgets::Apng* prize = r.Bets.APNG_prize) {
        prize->show();
        prize->raise();
        prize->Start(-1, 200);
    }
}

void ShowPrizeAtOnce(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (!b.APNG_prize || b.APNG_prizenum.empty())
        return;
    widgets::Apng& prize = *b.APNG_prize;
    if (prize.isHidden()) {
        prize.show();
        prize.raise();
        prize.Start(-1, 200);
    }
    const std::vector<widgets::Apng*> digits = PrizeDigits(c);
    const int n = static_cast<int>(digits.size()) - 1;
    const QString s = DisplayDigits(c.rewards.MyPrize, n + 1);
    const auto L = static_cast<int>(s.size());
    for (widgets::Apng* digit : digits) {
        digit->Pause();
        digit->hide();
    }
    for (int k = 0; k < L; ++k) {
        widgets::Apng& digit = *digits[static_cast<std::size_t>(n - k)];
        digit.Pause(DigitFrame(s.at(L - 1 - k)));
        digit.show();
        digit.raise();
    }
}

void HidePrizeDisplay(Client& c)
{
    BetsState& b = c.rewards.Bets;
    for (widgets::Apng* digit : b.APNG_prizenum) {
        digit->Pause();
        digit->hide();
    }
    if (b.APNG_prize) {
        b.APNG_prize->Pause();
        b.APNG_prize->hide();
    }
    c.rewards.MyPrizeRolling = 0;
}

} // namespace rewards
