#include "rewards/treasure.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "core/scheduler.h"
#include "chat/chat.h"
#include "chat/talk_form.h"
#include "platform/prop_plugin.h"
#include "results/hand_archive.h"
#include "results/hand_score.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "rewards/prop_pump.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <random>

namespace rewards {

namespace {

constexpr int kBoxesPerSeat = 5;
constexpr int16_t kChoiceSeconds = 5;
constexpr int kTicksPerSecond = 20;
constexpr int kNoticeHeight = 50;
constexpr int kColumnPixels = 14;
constexpr int kBoxes = 15;
constexpr int kSlideSteps = 5;
constexpr int16_t kSlideStepMs = 37;
constexpr int kLineHeight = 30;
constexpr int32_t kYellow = 0x00FFFF;
constexpr int16_t kHistoryWidth = 44;

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
    LoadBox(c, k);
    platform::Image& box = c.MainForm->ImgProp[k];
    const auto& at = bao.BoxPositions[static_cast<std::size_t>(k)];
    box.Stretch = true;
    box.Move(static_cast<float>(at[0]), static_cast<float>(at[1]), static_cast<float>(bao.ClosedBoxSize[0]),
             static_cast<float>(bao.ClosedBoxSize[1]));
    box.SetPicture(bao.ClosedBoxPicture);
    box.SetVisible(true);
    box.Enabled = enabled;
    box.ZOrder(0);
}

// Moves box k in five steps from (x0, y0) to (x1, y1), letting events run
// for 37 ms after each step. The box is looked up again after every wait:
// the plug-in may have stopped, or a new hand begun, meanwhile. False when
// that happened (the box is then left as it is, or is gone).
bool SlideObject(Client& c, float x0, float y0, float x1, float y1, int k)
{
    RewardsState& r = c.rewards;
    auto& boxes = c.MainForm->ImgProp;
    const uint32_t serial = r.PropRoundSerial;
    const float dx = (x1 - x0) / kSlideSteps;
    const float dy = (y1 - y0) / kSlideSteps;
    for (int i = 1; i <= kSlideSteps; ++i) {
        if (r.PropRoundSerial != serial || !boxes.Exists(k))
            return false;
        // The last step lands on the target exactly.
        if (i == kSlideSteps)
            boxes[k].Move(x1, y1);
        else
            boxes[k].Move(static_cast<float>(i * static_cast<double>(dx) + x0),
                          static_cast<float>(i * static_cast<double>(dy) + y0));
        table::WaitMs(c.plat.clock, kSlideStepMs);
    }
    return r.PropRoundSerial == serial && boxes.Exists(k);
}

// A picked box flies to the table's centre and disappears there (opening),
// or an open box flies from the centre to the seat of `view`. False when
// the round was stopped during the flight.
bool MoveBao(Client& c, int box, bool opening, int view)
{
    RewardsState& r = c.rewards;
    const platform::PropPlugin::BaoInfo& bao = r.PropBaoInfo;
    auto& boxes = c.MainForm->ImgProp;
    if (box < 0 || box >= kBoxes || !boxes.Exists(box))
        return true;
    const uint32_t serial = r.PropRoundSerial;
    if (opening) {
        boxes[box].Enabled = false;
        const int first = kBoxesPerSeat * (box / kBoxesPerSeat);
        for (int k = first; k < first + kBoxesPerSeat; ++k)
            if (k != box && boxes.Exists(k) && boxes[k].Visible) {
                boxes[k].SetVisible(false);
                boxes[k].Enabled = false;
            }
        const auto x1 = static_cast<float>(std::nearbyint(bao.BoxOpenPoint[0] - bao.ClosedBoxSize[0] / 2.0));
        const auto y1 = static_cast<float>(std::nearbyint(bao.BoxOpenPoint[1] - bao.ClosedBoxSize[1] / 2.0));
        if (SlideObject(c, boxes[box].Left, boxes[box].Top, x1, y1, box))
            boxes[box].SetVisible(false);
    } else {
        platform::Image& b = boxes[box];
        const auto w = static_cast<float>(bao.OpenBoxSize[0]);
        const auto h = static_cast<float>(bao.OpenBoxSize[1]);
        b.Stretch = true;
        b.Move(static_cast<float>(bao.BoxOpenPoint[0]) - w / 2, static_cast<float>(bao.BoxOpenPoint[1]) - h / 2, w, h);
        b.SetPicture(bao.OpenBoxPicture);
        b.SetVisible(true);
        b.ZOrder(0);
        const auto& to = bao.SeatPrizePoints[static_cast<std::size_t>(view & 3)];
        SlideObject(c, b.Left, b.Top, static_cast<float>(to[0]), static_cast<float>(to[1]), box);
    }
    return r.PropRoundSerial == serial;
}

// A seat's line of the box results: its label, the amount right-aligned
// in the width of the largest gain, and the coin word.
QString CoinLine(const RewardsState& r, int v, const QString& amount)
{
    return r.TreasureSeatLabels[static_cast<std::size_t>(v)] + table::PadRight(amount, r.TreasureDigits) +
           QStringLiteral("金币");
}

// The hand's result itself: a drawn hand's sheet or the score sheet.
void ShowResultOfHand(Client& c)
{
    if (c.game.DrawnHandPending)
        ShowDrawnHandResult(c);
    else
        results::ShowHandScore(c);
}

void UnloadLoadedBoxes(Client& c)
{
    auto& boxes = c.MainForm->ImgProp;
    ++c.rewards.PropRoundSerial;
    for (int i = 1; i < boxes.Count(); ++i)
        boxes.Unload(i);
}

QString Amount(double value)
{
    return value == std::floor(value) && std::abs(value) < 1e15 ? QString::number(static_cast<qint64>(value))
                                                                  : QString::number(value, 'g', 15);
}

} // namespace

void LoadBox(Client& c, int k)
{
    auto& boxes = c.MainForm->ImgProp;
    if (k < 0 || k >= kBoxes)
        return;
    boxes.Load(k);
    const auto index = static_cast<int16_t>(k);
    boxes[k].Click = [&c, index] { ImgProp_Click(c, index); };
}

void ShowPropHandResult(Client& c)
{
    ShowResultOfHand(c);
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

void ImgProp_Click(Client& c, int16_t index)
{
    RewardsState& r = c.rewards;
    // The work runs after the click's own handler has returned: the boxes'
    // flights let events run, and an unload would destroy the very box
    // whose handler is running.
    if (r.PropPluginState == 2) {
        if (r.PropMenuOpen)
            return;
        r.PropMenuOpen = -1;
        const uint32_t serial = r.PropRoundSerial;
        QTimer::singleShot(0, c.MainForm.get(), [&c, index, serial] {
            if (c.rewards.PropRoundSerial == serial && c.rewards.PropPluginState == 2)
                OpenTreasureBoxes(c, index);
        });
        return;
    }
    QTimer::singleShot(0, c.MainForm.get(), [&c] { UnloadLoadedBoxes(c); });
}

void OpenTreasureBoxes(Client& c, int16_t pick)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    auto& boxes = f.ImgProp;
    if (pick < -1 || pick >= kBoxes)
        return;
    if (pick == -1) {
        for (int w = 1; w <= 3; ++w) {
            const int16_t k = r.TreasurePicks[static_cast<std::size_t>(w)];
            if (k != -1 && !MoveBao(c, k, true, 0))
                return;
        }
    } else {
        r.TreasurePicks[0] = pick;
        if (!MoveBao(c, pick, true, 0))
            return;
    }
    for (const int16_t k : r.TreasurePicks)
        if (boxes.Exists(k)) {
            boxes[k].SetVisible(false);
            boxes[k].Enabled = false;
        }
    if (r.PropPluginState == 2 && r.PropPlugin)
        r.PropPlugin->ShowGif(1, true);
    const platform::PropPlugin::BaoInfo& bao = r.PropBaoInfo;
    // A step interval or a step count below 1 from the plug-in would stop
    // the result steps or divide the gains by zero: one step at the least.
    f.TimerProp->SetInterval(std::max<int>(1, bao.PropTimerSettings[0]));
    r.PropTimerTicks = 0;
    r.PropTimerOn = -1;
    r.PropCaptionOn = 0;
    r.PropTimerLimit = std::max<int16_t>(1, bao.PropTimerSettings[1]);
    ShowTreasureResults(c, -1);
    f.TimerProp->SetEnabled(true);
}

void ShowTreasureResults(Client& c, int16_t step)
{
    RewardsState& r = c.rewards;
    platform::Label& label = c.MainForm->LbProp;
    const int16_t limit = std::max<int16_t>(1, r.PropTimerLimit);

    if (step == -1) {
        r.TreasureLabelWidth = 0;
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            r.TreasureSeatLabels[sv] = r.PropSeatEntries[0][sv];
            r.TreasureLabelWidth = std::max(r.TreasureLabelWidth, DisplayWidth(r.TreasureSeatLabels[sv]));
        }
        r.TreasureCoinStep.fill(0);
        r.TreasureCoinShown.fill(0);
        int lines = 0;
        int itemWidth = 0;
        double top = 0;
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            if (r.PropCoinDelta[sv] > 0) {
                top = std::max(top, r.PropCoinDelta[sv]);
                r.TreasureCoinStep[sv] = static_cast<float>(r.PropCoinDelta[sv] / limit);
                lines += 2;
            }
            if (!r.PropSeatEntries[1][sv].isEmpty())
                for (const QString& part : r.PropSeatEntries[1][sv].split(QLatin1Char('|'))) {
                    itemWidth = std::max<int>(itemWidth, DisplayWidth(part));
                    ++lines;
                }
        }
        const int height = lines < 3 ? kNoticeHeight : lines * kLineHeight;
        r.TreasureDigits = static_cast<int16_t>(std::min<qsizetype>(Amount(top).size(), 64));
        const int wide = r.TreasureDigits + r.TreasureLabelWidth;
        const int width = (wide > itemWidth ? wide + 4 : itemWidth + 4) * kColumnPixels;
        const auto& point = r.PropBaoInfo.PropNoticePoint;
        label.SetCaption(QString());
        label.Move(static_cast<float>(point[0] - width / 2.0), static_cast<float>(point[1]), static_cast<float>(width),
                   static_cast<float>(height));
        label.Alignment = platform::Label::Center;
        label.ForeColor = kYellow;
        label.SetVisible(true);
        label.ZOrder(0);
        return;
    }

    QStringList lines;
    if (step >= 0 && step < limit) {
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            if (r.PropCoinDelta[sv] == 0)
                continue;
            lines << CoinLine(r, v, Amount(std::nearbyint(r.TreasureCoinShown[sv])));
            r.TreasureCoinShown[sv] += r.TreasureCoinStep[sv];
        }
    } else if (step >= limit) {
        platform::ListBox& history = *c.Talk->Text1;
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            QStringList seat;
            if (r.PropCoinDelta[sv] != 0)
                seat << CoinLine(r, v, Amount(r.PropCoinDelta[sv]));
            if (!r.PropSeatEntries[1][sv].isEmpty())
                seat << r.PropSeatEntries[1][sv].split(QLatin1Char('|'));
            for (const QString& line : seat) {
                table::WrapToList(history, line, kHistoryWidth);
                if (history.ListCount() > 0)
                    history.scrollToItem(history.item(history.ListCount() - 1));
            }
            lines << seat;
        }
        const QString text = lines.join(QLatin1Char('\n'));
        chat::PushSystemMessage(c, text);
        r.TreasureCoinStep.fill(0);
        r.TreasureCoinShown.fill(0);
    }
    label.SetCaption(lines.join(QLatin1Char('\n')));
    label.ZOrder(0);
}

void TreasureResultStep(Client& c)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    ++r.PropTimerTicks;
    if (r.PropTimerTicks < r.PropTimerLimit) {
        ShowTreasureResults(c, r.PropTimerTicks);
        f.TimerProp->SetEnabled(true);
        return;
    }
    r.PropTimerOn = 0;
    r.PropTimerTicks = 0;
    ShowTreasureResults(c, r.PropTimerLimit);
    if (r.PropPluginState > 0 && r.PropPlugin)
        r.PropPlugin->ShowGif(1, false);

    // The open boxes fly to their seats; a stop of the plug-in or a new hand
    // meanwhile ends the round here.
    const uint32_t serial = r.PropRoundSerial;
    if (r.TreasurePicks[0] == -1) {
        for (int w = 1; w <= 3; ++w) {
            const int16_t k = r.TreasurePicks[static_cast<std::size_t>(w)];
            if (k != -1 && !MoveBao(c, k, false, w))
                return;
        }
    } else if (!MoveBao(c, r.TreasurePicks[0], false, 0)) {
        return;
    }
    core::HoldDispatch(c, 1.0f);
    if (r.PropRoundSerial != serial)
        return;
    ShowResultOfHand(c);
    if (r.PropPluginState > 0) {
        InitShowNext(c, false);
        core::HoldDispatch(c, 1.0f);
        f.LbProp.SetVisible(false);
    }
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
    if (!g.F1Minimized)
        c.Score->Show();
    results::SaveHandSheet(c, g.RoundNo);
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
