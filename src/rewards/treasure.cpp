#include "rewards/treasure.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "platform/prop_plugin.h"
#include "results/hand_archive.h"
#include "results/hand_score.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "rewards/prop_pump.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <cmath>
#include <random>

namespace rewards {

namespace {

constexpr int kBoxesPerSeat = 5;
constexpr int16_t kChoiceSeconds = 5;
constexpr int kTicksPerSecond = 20;
constexpr int kNoticeHeight = 50;
constexpr int kColumnPixels = 14;

bool TakesPart(const RewardsState& r, int v)
{
    return !r.PropSeatEntries[1][static_cast<std::size_t>(v)].isEmpty() ||
           !r.PropSeatEntries[0][static_cast<std::size_t>(v)].isEmpty();
}

// A box number 0-4: a random number in [0, 1) times 4, to the nearest
// integer, halves to even.
int16_t RandomBox(Client& c)
{
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(c.rewards.PropRandom);
    return static_cast<int16_t>(std::nearbyint(r * 4));
}

void PlaceClosedBox(Client& c, int k, bool enabled)
{
    const platform::PropPlugin::BaoInfo& bao = c.rewards.PropBaoInfo;
    auto& boxes = c.MainForm->ImgProp;
    boxes.Load(k);
    platform::Image& box = boxes[k];
    const auto& at = bao.BoxPositions[static_cast<std::size_t>(k)];
    box.Stretch = true;
    box.Move(static_cast<float>(at[0]), static_cast<float>(at[1]), static_cast<float>(bao.ClosedBoxSize[0]),
             static_cast<float>(bao.ClosedBoxSize[1]));
    box.SetPicture(bao.ClosedBoxPicture);
    box.SetVisible(true);
    box.Enabled = enabled;
    box.ZOrder(0);
}

QString Amount(double value)
{
    return value == std::floor(value) && std::abs(value) < 1e15 ? QString::number(static_cast<qint64>(value))
                                                                  : QString::number(value, 'g', 15);
}

} // namespace

void ShowPropHandResult(Client& c)
{
    if (c.game.DrawnHandPending)
        ShowDrawnHandResult(c);
    else
        results::ShowHandScore(c);
    InitShowNext(c, false);
}

void PlayBaoXiang(Client& c)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    f.LbProp.SetCaption(QString());
    r.TreasurePicks.fill(-1);

    int first = -1;
    for (int v = 0; v < 4 && first < 0; ++v)
        if (TakesPart(c.rewards, v))
            first = v;
    if (first < 0) {
        ShowPropHandResult(c);
        return;
    }

    QString prompt;
    if (first == 0) {
        for (int k = 0; k < kBoxesPerSeat; ++k)
            PlaceClosedBox(c, k, true);
        prompt = QStringLiteral("请选择一个宝箱打开");
    } else {
        int group = 0;
        for (int w = 1; w <= 3; ++w) {
            if (!TakesPart(c.rewards, w))
                continue;
            for (int k = 0; k < kBoxesPerSeat; ++k)
                PlaceClosedBox(c, kBoxesPerSeat * group + k, false);
            r.TreasurePicks[static_cast<std::size_t>(w)] =
                static_cast<int16_t>(kBoxesPerSeat * group + RandomBox(c));
            ++group;
        }
        prompt = QStringLiteral("请等待其他玩家打开宝箱");
    }

    platform::Label& label = f.LbProp;
    label.Alignment = platform::Label::Center;
    const int width = DisplayWidth(prompt) * kColumnPixels;
    const auto& point = r.PropBaoInfo.PropNoticePoint;
    label.Move(static_cast<float>(point[0] - width / 2.0), static_cast<float>(point[1]), static_cast<float>(width),
               kNoticeHeight);
    label.SetCaption(prompt + QStringLiteral("\n") + QString::number(kChoiceSeconds));
    label.SetVisible(true);
    label.ZOrder(0);

    r.PropCaptionOn = 0;
    r.TreasureCountdownOn = -1;
    r.TreasureTickCount = 0;
    r.TreasureSecondsLeft = kChoiceSeconds;
}

void TreasureCountdownStep(Client& c)
{
    RewardsState& r = c.rewards;
    if (!r.TreasureCountdownOn)
        return;
    ++r.TreasureTickCount;
    if (r.TreasureTickCount < kTicksPerSecond)
        return;
    r.TreasureTickCount = 0;
    --r.TreasureSecondsLeft;
    platform::Label& label = c.MainForm->LbProp;
    const QString seconds = QStringLiteral("\n") + QString::number(r.TreasureSecondsLeft);
    if (r.PropMenuOpen) {
        r.TreasureCountdownOn = 0;
    } else if (r.PropCoinDelta[0] <= 0 && r.PropSeatEntries[1][0].isEmpty()) {
        // The local player has no box of his own: the others' boxes open.
        label.SetCaption(QStringLiteral("请等待玩家打开宝箱") + seconds);
        if (r.TreasureSecondsLeft <= 2) {
            r.TreasureCountdownOn = 0;
            OpenTreasureBoxes(c, -1);
        }
    } else {
        label.SetCaption(QStringLiteral("请选择一个宝箱打开") + seconds);
        if (r.TreasureSecondsLeft <= 0) {
            r.TreasureCountdownOn = 0;
            OpenTreasureBoxes(c, RandomBox(c));
        }
    }
}

void OpenTreasureBoxes(Client& c, int16_t pick)
{
    RewardsState& r = c.rewards;
    auto& boxes = c.MainForm->ImgProp;
    if (pick != -1)
        r.TreasurePicks[0] = pick;
    for (const int16_t k : r.TreasurePicks)
        if (k >= 0 && boxes.Exists(k)) {
            boxes[k].SetVisible(false);
            boxes[k].Enabled = false;
        }
    if (r.PropPluginState == 2 && r.PropPlugin)
        r.PropPlugin->ShowGif(1, true);
    // The boxes open at once: no flight and no count-up of the coins.
    if (r.PropPluginState > 0 && r.PropPlugin)
        r.PropPlugin->ShowGif(1, false);
    ShowPropHandResult(c);
}

void ShowDrawnHandResult(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    g.InGame = 0;
    c.Hero->Num->AddItem(table::PadRight(QString::number(g.RoundNo), 12));
    for (int d = 0; d < 4; ++d) {
        const auto sd = static_cast<std::size_t>(d);
        platform::ListBox& sheet = *c.Score->State[sd];
        sheet.AddItem(QStringLiteral("      黄  庄"));
        g.HandAmounts[sd] = 0;
        if (!c.rewards.PropSeatNames[sd].isEmpty()) {
            sheet.AddItem(QString());
            for (const QString& part : c.rewards.PropSeatNames[sd].split(QLatin1Char('|')))
                sheet.AddItem(part);
            sheet.AddItem(QString());
            g.HandAmounts[sd] += c.rewards.PropCoinDelta[sd];
            g.UserInfos[sd].Coins += c.rewards.PropCoinDelta[sd];
            c.results.CumulativeAmounts[sd] += c.rewards.PropCoinDelta[sd];
            c.rewards.PropCoinDelta[sd] = 0;
            c.rewards.PropSeatNames[sd].clear();
            for (auto& row : c.rewards.PropSeatEntries)
                for (QString& entry : row)
                    entry.clear();
        }
        f.Cash[d].SetCaption(Amount(g.UserInfos[sd].Coins) + QStringLiteral("金币"));
        c.Score->State[sd + 4]->AddItem(QStringLiteral("最终分：") + Amount(g.HandAmounts[sd]) + QStringLiteral("金币"));
        c.Hero->Grade[sd]->AddItem(table::PadRight(Amount(g.HandAmounts[sd]), 9) + QStringLiteral("金币"));
        c.Hero->sumScore[d].SetCaption(Amount(c.results.CumulativeAmounts[sd]) + QStringLiteral("金币"));
    }
    results::SaveHandSheet(c, g.RoundNo);
    if (!g.F1Minimized)
        c.Score->Show();
    if (g.PropResultDue == -1) {
        if (c.rewards.PropPluginState > 0)
            ExitPropPlugin(c, 0);
        g.PropRoundState = 0;
    } else {
        g.PropRoundState = 2;
    }
    core::ShowReadyPrompt(c);
    // At a table whose game cannot go on no ready goes out by itself.
    if (!c.core.LeaveAfterHand)
        core::StartReadyCountdown(c, 15, table::ClockColour::Green);
}

} // namespace rewards
