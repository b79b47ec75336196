#include "results/hand_score.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "platform/clock.h"
#include "results/hand_archive.h"
#include "results/result_forms.h"
#include "results/win_types.h"
#include "rewards/jade.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace results {
namespace {


QString Number(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    // At most 15 significant digits; larger or finer values in exponent form
    // with a capital E, as in 1.23456789012346E+17.
    return QString::number(value, 'g', 15).toUpper();
}

QString CurrencyWord(const GameState& g, int view)
{
    return (g.HandResult[static_cast<std::size_t>(view)][13] & 0xFF) == 1 ? QStringLiteral("金币")
                                                                          : QStringLiteral("金条");
}

} // namespace

namespace {

constexpr int kAvatars = 20;
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kColourDigits = 8;
const QString kSeparator = QStringLiteral("====================");
const QString kBlockLine = QStringLiteral("--------------------");
const QString kKongIn = QStringLiteral("   杠进");
const QString kKongOut = QStringLiteral("   杠出");

int Low(int16_t row) { return row & 0xFF; }

// The win type of a view's settlement, -1 for no view.
int WinTypeOf(const GameState& g, int view)
{
    return view >= 0 && view <= 3 ? Low(g.HandResult[static_cast<std::size_t>(view)][0]) : -1;
}

// The first view that pays this hand, -1 when none does.
int FirstPayer(const GameState& g)
{
    for (int k = 0; k < 4; ++k)
        if (g.HandAmounts[static_cast<std::size_t>(k)] < 0)
            return k;
    return -1;
}

// 2 to the power n as the wild-streak line writes it: exact up to 2^63,
// beyond that in the sheet's number form.
QString PowerOfTwo(int n)
{
    if (n <= 0)
        return QStringLiteral("1");
    if (n <= 63)
        return QString::number(uint64_t{1} << n);
    return Number(std::ldexp(1.0, std::min(n, 1023)));
}

QString CapWord(int16_t cap)
{
    switch (cap) {
    case 1: return QStringLiteral("封顶");
    case 2: return QStringLiteral("金顶");
    case 4: return QStringLiteral("光明顶");
    case 8: return QStringLiteral("哈顶");
    case 16: return QStringLiteral("金币封顶");
    default: return QString();
    }
}

// One prop result piece: its text as the sheet shows it, and the list
// colour it names (the last eight characters, or the whole of a shorter
// piece, as a decimal RGB value), when it names one.
struct PropPiece {
    QString text;
    std::optional<int32_t> colour;
};

PropPiece ReadPropPiece(const QString& piece)
{
    PropPiece out;
    const bool long_ = piece.size() >= kColourDigits;
    bool ok = false;
    const double v = (long_ ? piece.right(kColourDigits) : piece).trimmed().toDouble(&ok);
    if (ok && std::isfinite(v) && v >= 0 && v <= kMaxColour)
        out.colour = static_cast<int32_t>(std::nearbyint(v));
    out.text = long_ ? piece.left(piece.size() - kColourDigits) : piece;
    return out;
}

// The avatar picture of a seat on a score-window image; an avatar number
// outside 0-19 leaves the picture as it is.
void ShowSeatAvatar(Client& c, const QString& picIndex, platform::Image& image)
{
    bool ok = false;
    const int n = picIndex.toInt(&ok);
    if (ok && n >= 0 && n < kAvatars)
        window::LoadGifResource(c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(n)], QStringLiteral("GIF"),
                                image);
}

} // namespace

void ShowHandScore(Client& c)
{
    GameState& g = c.game;
    ResultsState& r = c.results;
    window::MainForm& f = *c.MainForm;
    ScoreForm& score = *c.Score;
    HeroForm& hero = *c.Hero;
    const auto list = [&score](int i) -> platform::ListBox& { return *score.State[static_cast<std::size_t>(i)]; };
    const auto word = [&g](int i) { return CurrencyWord(g, i); };

    r.CurrencyFlag = Low(g.HandResult[0][13]) == 1 ? 1 : 0;
    hero.Num->AddItem(table::PadRight(QString::number(g.RoundNo), 12));

    // The winner: the declared one, else the last seat that gained; a hand
    // that nobody won keeps -1 and the sheet shows no counterpart block.
    if (g.WinnerView < 0)
        for (int i = 0; i < 4; ++i)
            if (g.HandAmounts[static_cast<std::size_t>(i)] > 0)
                g.WinnerView = static_cast<int16_t>(i);
    const int winner = g.WinnerView >= 0 && g.WinnerView <= 3 ? g.WinnerView : -1;
    const int winnerType = WinTypeOf(g, winner);
    bool allZero = true;
    for (double a : g.HandAmounts)
        allZero = allZero && a == 0;

    // The counterpart whose block heads every other list: the winner, or for
    // a robbed kong the seat that pays.
    int counterpart = -1;
    if (winner >= 0)
        counterpart = winnerType < 64 ? winner : FirstPayer(g);

    for (int i = 0; i < 4; ++i)
        list(i).AddItem(QStringLiteral("初始：") + Number(g.UserInfos[static_cast<std::size_t>(i)].Coins));

    std::array<int, 4> separatorCount{};
    int deepest = -1;
    for (int i = 0; i < 4; ++i) {
        const auto si = static_cast<std::size_t>(i);
        platform::ListBox& own = list(i);
        core::UserInfo& u = g.UserInfos[si];
        const table::PlayerRecord& p = g.Players[si];

        r.CumulativeAmounts[si] += g.HandAmounts[si];
        own.AddItem(QStringLiteral("   房间底金： ") + QString::number(Low(g.HandResult[si][11])));
        if (r.WildStreakCount > 0)
            own.AddItem(QStringLiteral("   连赖  ×") + PowerOfTwo(r.WildStreakCount));

        if (counterpart >= 0 && counterpart != i) {
            const core::UserInfo& other = g.UserInfos[static_cast<std::size_t>(counterpart)];
            own.AddItem(kBlockLine);
            own.AddItem(QLatin1Char('[') + other.Title + QLatin1Char(']') + other.Nickname);
            AddWinTypeLines(c, i, counterpart);
            own.AddItem(kBlockLine);
            own.AddItem(QLatin1Char('[') + u.Title + QLatin1Char(']') + u.Nickname);
            AddWinTypeLines(c, i, i);
        }

        if (Low(g.HandResult[si][0]) >= 64) {
            own.AddItem(kKongIn);
            if (const int payer = FirstPayer(g); payer >= 0)
                list(payer).AddItem(kKongOut);
        }

        u.Coins = std::max(0.0, u.Coins + g.HandAmounts[si]);
        if (g.HandAmounts[si] > 0 || (g.HandAmounts[si] == 0 && p.HandAmount > 0))
            ++u.Count160;
        else
            ++u.Count164;
        u.Points += g.HandAmounts[si];
        if (u.Points < 0)
            u.Points = 1;

        own.AddItem(kSeparator);
        separatorCount[si] = own.ListCount();
        deepest = std::max(deepest, separatorCount[si]);

        // The subtotal arrives without its sign: a seat that did not gain
        // shows it negative. The stored figure stays as received.
        if (!allZero) {
            const double subtotal = p.HandAmount <= 0 ? -g.HandSubtotals[si] : g.HandSubtotals[si];
            own.AddItem(QStringLiteral("小计:") + Number(subtotal));
        }
        const int16_t cap = g.CapClass[si];
        if (cap > 0) {
            if (const QString w = CapWord(cap); !w.isEmpty())
                own.AddItem(w);
        } else {
            own.AddItem(QString());
        }
        if (g.DiceMultiplier != 0 && !allZero)
            own.AddItem(QStringLiteral("骰子加倍 ×") + f.lblDifen.Caption);
        if (g.WealthMultiplier != 0 && !allZero)
            own.AddItem(QStringLiteral("财富加倍 ×") + g.WealthCaption);
        const bool coins = Low(g.HandResult[si][13]) == 1;
        own.AddItem((coins ? QStringLiteral("总分：") : QStringLiteral("总分： ")) + QString::number(p.HandAmount) +
                    word(i));
        own.AddItem(QString());
    }

    if (winnerType >= 64) {
        list(winner).AddItem(kKongIn);
        if (const int payer = FirstPayer(g); payer >= 0)
            list(payer).AddItem(kKongOut);
    }
    for (int i = 0; i < 4; ++i) {
        if (winnerType != 8)
            list(i).AddItem(i == winner ? r.HandResultText : QString());
        else if (i != winner)
            list(i).AddItem(r.HandResultText);
    }

    rewards::RewardsState& rw = c.rewards;
    for (int i = 0; i < 4; ++i) {
        const auto si = static_cast<std::size_t>(i);
        platform::ListBox& own = list(i);
        core::UserInfo& u = g.UserInfos[si];

        own.AddItem(QStringLiteral("最终分：") + Number(g.HandAmounts[si]) + word(i));
        SetListForeColor(own, 0);

        if (!rw.PropSeatNames[si].isEmpty()) {
            own.AddItem(QString());
            for (const QString& piece : rw.PropSeatNames[si].split(QLatin1Char('|'))) {
                // An empty piece (a trailing "|") is no result line.
                if (piece.isEmpty())
                    continue;
                const PropPiece read = ReadPropPiece(piece);
                if (read.colour)
                    SetListForeColor(own, *read.colour);
                own.AddItem(read.text);
            }
            own.AddItem(QString());
            g.HandAmounts[si] += rw.PropCoinDelta[si];
            u.Coins += rw.PropCoinDelta[si];
            r.CumulativeAmounts[si] += rw.PropCoinDelta[si];
            rw.PropCoinDelta[si] = 0;
            rw.PropSeatNames[si].clear();
            for (auto& row : rw.PropSeatEntries)
                for (QString& s : row)
                    s.clear();
        }

        f.Cash[i].SetCaption(Number(u.Coins) + word(i));
        list(i + 4).AddItem(QStringLiteral("最终分：") + Number(g.HandAmounts[si]) + word(i));
        hero.Grade[si]->AddItem(table::PadRight(Number(g.HandAmounts[si]), 9) + word(i));
        hero.sumScore[i].SetCaption(Number(r.CumulativeAmounts[si]) + word(i));

        // Empty lines before the separator bring it to the same row in all
        // four lists.
        const int at = separatorCount[si] - 1;
        for (int n = deepest - separatorCount[si] + 1; n > 0; --n)
            own.insertItem(at, QString());
    }

    for (int k = 0; k < 4; ++k) {
        const ResultsState::SeatNamePic& pic = r.SeatNamePics[static_cast<std::size_t>(k)];
        ShowSeatAvatar(c, pic.PicIndex, score.Tou[k]);
        score.ID[k].SetCaption(pic.Name);
    }

    if (!f.isMinimized()) {
        r.ScorePending = -1;
        r.HandEndTick = c.plat.clock.timeGetTime();
    }

    // The fee of a report of a cheater, charged when the seat can pay it.
    if (g.ImpeachDone == -1 && g.ImpeachSeat >= 0 && g.ImpeachSeat <= 3) {
        core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(g.ImpeachSeat)];
        if (u.Coins >= g.ImpeachFee) {
            u.Coins -= g.ImpeachFee;
            f.Cash[g.ImpeachSeat].SetCaption(Number(u.Coins) +
                                             (r.CurrencyFlag == 1 ? QStringLiteral("金币") : QStringLiteral("金条")));
        }
    }
    g.ImpeachDone = 0;
    g.ImpeachSeat = -1;

    g.InGame = 0;
    g.AnNiuClicked = 0;
    core::ShowReadyPrompt(c);
    rewards::HideJadeTask(c);
    c.core.KeepAliveHold = false;

    if (!g.WatchMode) {
        rewards::HideJadeTask(c);
        // At a table whose game cannot go on no ready goes out by itself:
        // the start button leads back to the lobby.
        if (!c.core.LeaveAfterHand)
            core::StartReadyCountdown(c, g.AutoPlay ? 3 : 15, table::ClockColour::Green);
    }

    SaveHandSheet(c, g.RoundNo);

    if (g.PropResultDue == -1) {
        if (rw.PropPluginState > 0)
            rewards::ExitPropPlugin(c, 0);
        g.PropRoundState = 0;
    } else {
        g.PropRoundState = 2;
    }
}

} // namespace results
