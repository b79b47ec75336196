#include "rewards/treasure.h"

#include "app/client.h"
#include "platform/prop_plugin.h"
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
constexpr int32_t kGreen = 0xFF00;

bool TakesPart(const GameState& g, int v)
{
    return !g.PropSeatEntries[1][static_cast<std::size_t>(v)].isEmpty() ||
           !g.PropSeatEntries[0][static_cast<std::size_t>(v)].isEmpty();
}

// A box number 0-4: a random number in [0, 1) times 4, to the nearest
// integer, halves to even.
int16_t RandomBox(Client& c)
{
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(c.game.PropRandom);
    return static_cast<int16_t>(std::nearbyint(r * 4));
}

void PlaceClosedBox(Client& c, int k, bool enabled)
{
    const platform::PropPlugin::BaoInfo& bao = c.game.PropBaoInfo;
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
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    f.LbProp.SetCaption(QString());
    g.TreasurePicks.fill(-1);

    int first = -1;
    for (int v = 0; v < 4 && first < 0; ++v)
        if (TakesPart(g, v))
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
            if (!TakesPart(g, w))
                continue;
            for (int k = 0; k < kBoxesPerSeat; ++k)
                PlaceClosedBox(c, kBoxesPerSeat * group + k, false);
            g.TreasurePicks[static_cast<std::size_t>(w)] =
                static_cast<int16_t>(kBoxesPerSeat * group + RandomBox(c));
            ++group;
        }
        prompt = QStringLiteral("请等待其他玩家打开宝箱");
    }

    platform::Label& label = f.LbProp;
    label.Alignment = platform::Label::Center;
    const int width = DisplayWidth(prompt) * kColumnPixels;
    const auto& point = g.PropBaoInfo.PropNoticePoint;
    label.Move(static_cast<float>(point[0] - width / 2.0), static_cast<float>(point[1]), static_cast<float>(width),
               kNoticeHeight);
    label.SetCaption(prompt + QStringLiteral("\n") + QString::number(kChoiceSeconds));
    label.SetVisible(true);
    label.ZOrder(0);

    g.PropCaptionOn = 0;
    g.TreasureCountdownOn = -1;
    g.TreasureTickCount = 0;
    g.TreasureSecondsLeft = kChoiceSeconds;
}

void TreasureCountdownStep(Client& c)
{
    GameState& g = c.game;
    if (!g.TreasureCountdownOn)
        return;
    ++g.TreasureTickCount;
    if (g.TreasureTickCount < kTicksPerSecond)
        return;
    g.TreasureTickCount = 0;
    --g.TreasureSecondsLeft;
    platform::Label& label = c.MainForm->LbProp;
    const QString seconds = QStringLiteral("\n") + QString::number(g.TreasureSecondsLeft);
    if (g.PropMenuOpen) {
        g.TreasureCountdownOn = 0;
    } else if (g.PropCoinDelta[0] <= 0 && g.PropSeatEntries[1][0].isEmpty()) {
        // The local player has no box of his own: the others' boxes open.
        label.SetCaption(QStringLiteral("请等待玩家打开宝箱") + seconds);
        if (g.TreasureSecondsLeft <= 2) {
            g.TreasureCountdownOn = 0;
            OpenTreasureBoxes(c, -1);
        }
    } else {
        label.SetCaption(QStringLiteral("请选择一个宝箱打开") + seconds);
        if (g.TreasureSecondsLeft <= 0) {
            g.TreasureCountdownOn = 0;
            OpenTreasureBoxes(c, RandomBox(c));
        }
    }
}

void OpenTreasureBoxes(Client& c, int16_t pick)
{
    GameState& g = c.game;
    auto& boxes = c.MainForm->ImgProp;
    if (pick != -1)
        g.TreasurePicks[0] = pick;
    for (const int16_t k : g.TreasurePicks)
        if (k >= 0 && boxes.Exists(k)) {
            boxes[k].SetVisible(false);
            boxes[k].Enabled = false;
        }
    if (g.PropPluginState == 2 && g.PropPlugin)
        g.PropPlugin->ShowGif(1, true);
    // The boxes open at once: no flight and no count-up of the coins.
    if (g.PropPluginState > 0 && g.PropPlugin)
        g.PropPlugin->ShowGif(1, false);
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
        if (!g.PropSeatNames[sd].isEmpty()) {
            sheet.AddItem(QString());
            for (const QString& part : g.PropSeatNames[sd].split(QLatin1Char('|')))
                sheet.AddItem(part);
            sheet.AddItem(QString());
            g.HandAmounts[sd] += g.PropCoinDelta[sd];
            g.UserInfos[sd].Coins += g.PropCoinDelta[sd];
            g.CumulativeAmounts[sd] += g.PropCoinDelta[sd];
            g.PropCoinDelta[sd] = 0;
            g.PropSeatNames[sd].clear();
            for (auto& row : g.PropSeatEntries)
                for (QString& entry : row)
                    entry.clear();
        }
        f.Cash[d].SetCaption(Amount(g.UserInfos[sd].Coins) + QStringLiteral("金币"));
        c.Score->State[sd + 4]->AddItem(QStringLiteral("最终分：") + Amount(g.HandAmounts[sd]) + QStringLiteral("金币"));
        c.Hero->Grade[sd]->AddItem(table::PadRight(Amount(g.HandAmounts[sd]), 9) + QStringLiteral("金币"));
        c.Hero->sumScore[d].SetCaption(Amount(g.CumulativeAmounts[sd]) + QStringLiteral("金币"));
    }
    if (!g.F1Minimized)
        c.Score->Show();
    if (g.PropResultDue == -1) {
        if (g.PropPluginState > 0)
            ExitPropPlugin(c, 0);
        g.PropRoundState = 0;
    } else {
        g.PropRoundState = 2;
    }
    f.Sysmsg[0]->Clear();
    f.Sysmsg[0]->AddItem(QStringLiteral("请点击【继续】按钮继续游戏！"));
    g.AnNiuPressed[2] = 0;
    g.TableCleared = 0;
    f.Sysmsg[1]->Clear();
    f.Sysmsg[1]->AddItem(QStringLiteral("游戏将在15秒内开始"));
    if (g.WatchMode)
        return;
    c.core.SchedReady.Start();
    g.Countdown = 15;
    f.Number.SetCaption(QStringLiteral("15"));
    f.Number.ForeColor = kGreen;
    f.Number.SetVisible(true);
    f.Time_Img.SetVisible(true);
    f.Time_Img.ZOrder(0);
    f.Number.ZOrder(0);
}

} // namespace rewards
