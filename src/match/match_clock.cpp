#include "match/match_clock.h"

#include "app/client.h"
#include "core/numeric.h"
#include "match/match.h"
#include "match/match_panel_text.h"
#include "match/time_texts.h"
#include "platform/wait.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QDate>
#include <QDateTime>
#include <QPointer>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace match {

namespace {

using window::MainForm;

// Seconds from a session's start text to the server clock; nullopt when the
// text is no time text.
std::optional<int64_t> SecondsSince(const MatchState& m, const QString& startText)
{
    const std::optional<int64_t> start = TimeTextMoment(startText, m.ServerClock);
    if (!start)
        return std::nullopt;
    return static_cast<int64_t>(m.ServerClock) - *start;
}

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The countdown of a session a seconds after its start.
int32_t ClockStageOf(uint8_t state, int64_t a, int32_t duration)
{
    if (state == 0)
        return Clamp32(a < 0 ? -a : (a > duration ? 3 : (a > 0 ? 3 : 0)));
    if (state == 1)
        return Clamp32(a < 0 || a > duration ? 3 : duration - a);
    return Clamp32(a < 0 ? -a : (a <= duration ? duration - a : a - duration));
}

// Whole minutes of a number of seconds, a started minute counting whole.
int64_t MinutesUp(int64_t seconds) { return (std::max<int64_t>(seconds, 1) + 59) / 60; }

QStringList CaptionsFor(Client& c)
{
    const MatchState& m = c.match;
    const QString first = QStringLiteral("Kavelin..");
    for (int16_t i = 1; i <= CountOf(m.MatchInstances); ++i) {
        const MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
        if (inst.SignedUp == 1 && inst.SessionState == 1 && !inst.StartText.isEmpty()) {
            const int64_t since = SecondsSince(m, inst.StartText).value_or(0);
            return {first, QString::number(inst.Points, 'g', 15) + QStringLiteral("积分"),
                    inst.Place == 0 ? QStringLiteral("无排名")
                                    : QStringLiteral("第") + QString::number(inst.Place) + QStringLiteral("名"),
                    QStringLiteral("剩") + QString::number(MinutesUp(inst.Duration - since)) + QStringLiteral("分结束"),
                    QStringLiteral("点击查看排名")};
        }
    }
    for (int16_t i = 1; i <= CountOf(m.MatchInstances); ++i) {
        const MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
        if (inst.SignedUp == 1 && !inst.StartText.isEmpty()) {
            const int64_t until = -SecondsSince(m, inst.StartText).value_or(0);
            return {first, QString::number(inst.SignCount) + QStringLiteral("人已报名"),
                    QStringLiteral("剩") + QString::number(MinutesUp(until)) + QStringLiteral("分开始"),
                    QStringLiteral("点击查看详细")};
        }
    }
    if (m.ShowMatchCaptions.size() == 3)
        return m.ShowMatchCaptions;
    QString prize;
    if (CountOf(m.tables.MatchTypes) >= 1 && !m.tables.MatchTypes[1].PrizeRows.empty())
        prize = m.tables.MatchTypes[1].PrizeRows.front().prize;
    return {first, prize.trimmed().isEmpty() ? QStringLiteral("奖励丰富") : prize.left(7) + QStringLiteral("..."),
            QStringLiteral("点击报名")};
}

void RotateCaptions(Client& c, uint32_t now)
{
    MatchState& m = c.match;
    widgets::InodePic& button = c.MainForm->ImgShowMatch;
    if (!button.Enabled)
        return;
    const QStringList captions = CaptionsFor(c);
    const bool changed = captions.size() != m.ShowMatchCaptions.size();
    m.ShowMatchCaptions = captions;
    if (changed)
        button.Tag = QStringLiteral("0");
    else if (static_cast<int32_t>(now - m.CaptionTick) <= 14499)
        return;
    m.CaptionTick = now;
    const int n = static_cast<int>(captions.size());
    if (n <= 2)
        return;
    // A tag someone else wrote starts the rotation over.
    int next = TagNumber(button.Tag);
    if (next < 0 || next >= n)
        next = 0;
    button.SetiCaption(captions[next]);
    button.refresh();
    button.Tag = QString::number((next + 1) % n);
}

void RowCountdowns(Client& c)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    for (int16_t r = 1; r <= CountOf(m.MatchList); ++r) {
        MatchInstance& row = m.MatchList[static_cast<std::size_t>(r)];
        if (row.StartText.isEmpty() || row.ChampionKnown != 0)
            continue;
        const std::optional<int64_t> a = SecondsSince(m, row.StartText);
        if (!a)
            continue;
        row.ClockStage = ClockStageOf(row.SessionState, *a, row.Duration);
        if (row.SignedUp != 1)
            continue;
        if (row.SessionState == 0 || row.SessionState == 2) {
            f.lbl_matchtime.SetVisible(true);
            f.lbl_matchinfo[0].SetCaption(QString());
            f.lbl_matchinfo[1].SetCaption(row.SessionState == 0 ? QString::number(row.SignCount) : QString());
        } else if (row.SessionState == 1) {
            f.lbl_matchtime.SetCaption(QString());
            f.lbl_matchtime.SetVisible(false);
            f.lbl_matchinfo[0].SetCaption(StrDuration(row.ClockStage));
            f.lbl_matchinfo[1].SetCaption(QString::number(row.SignCount));
        }
    }
}

void AutoSignUp(Client& c, uint32_t now)
{
    MatchState& m = c.match;
    if (m.AutoSignLead <= 0)
        return;
    for (int16_t i = 1; i <= CountOf(m.MatchInstances); ++i) {
        MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
        if (inst.SignedUp != 0 || inst.SessionState != 0 || inst.SignTick != 0 || inst.StartText.isEmpty())
            continue;
        const std::optional<int64_t> a = SecondsSince(m, inst.StartText);
        if (!a)
            continue;
        const int64_t d = -*a;
        if (d > 0 && d <= m.AutoSignLead && inst.Id >= 0) {
            SendMatchSign(c, inst.Id);
            inst.SignTick = now == 0 ? 1 : now;
        }
    }
}

void RankingPanelTexts(Client& c)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    const int32_t id = TagNumber(f.ListSort->Tag);
    const int16_t i = id > 0 ? FindMatchInstance(m.MatchInstances, id) : 0;
    if (i <= 0)
        return;
    MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
    platform::Label& left = f.LblSortInfo[3];
    if (inst.StartText.isEmpty() && !inst.LastStartText.isEmpty() && inst.ChampionKnown != 0) {
        left.SetCaption(QString());
        left.SetVisible(false);
    }
    if (!inst.StartText.isEmpty() && inst.SessionState == 1) {
        const std::optional<int64_t> a = SecondsSince(m, inst.StartText);
        if (a && *a >= 0 && *a <= inst.Duration) {
            inst.ClockStage = std::max<int32_t>(1, Clamp32(inst.Duration - *a));
            left.SetCaption(QStringLiteral("还有") + TimeNumToStr(inst.ClockStage, 0, m.RoomMatchMode));
            left.SetVisible(true);
        } else {
            left.SetCaption(QString());
            left.SetVisible(false);
        }
    }
}

void ListPageTexts(Client& c, uint32_t now)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    const int page = TagNumber(f.Pic_matchDetail->Tag);
    if (page < 1)
        return;
    const int count = CountOf(m.MatchList);
    const int64_t first = (static_cast<int64_t>(page) - 1) * 5 + 1;
    if (first > count)
        return;
    for (int l = 0; l < 5 && first + l <= count; ++l) {
        MatchInstance& row = m.MatchList[static_cast<std::size_t>(first + l)];
        platform::Label& left = f.LblMathLeft[l];
        platform::Label& num = f.LblMathNum[l];
        if (!(f.ImgMatch[l].Visible && !row.StartText.isEmpty())) {
            if (left.Caption != QStringLiteral("已结束")) {
                left.SetCaption(QStringLiteral("已结束"));
                num.SetCaption(QString());
            }
            continue;
        }
        if (row.ChampionKnown != 0) {
            left.SetCaption(QStringLiteral("已结束"));
            num.SetCaption(QString());
            continue;
        }
        if (const std::optional<int64_t> a = SecondsSince(m, row.StartText))
            row.ClockStage = ClockStageOf(row.SessionState, *a, row.Duration);
        const QString stage = TimeNumToStr(row.ClockStage, 0, m.RoomMatchMode);
        const QString signs = QString::number(row.SignCount) + QStringLiteral("人已报名");
        if (row.SessionState == 0 || row.SessionState == 2) {
            left.SetCaption(QStringLiteral("距离开赛时间：") + stage);
            num.SetCaption(row.SessionState == 0 ? signs : QString());
        } else if (row.SessionState == 1) {
            left.SetCaption(QStringLiteral("距离结束时间：") + stage);
            num.SetCaption(signs);
        } else {
            left.SetCaption(QString());
            num.SetCaption(QString());
        }
        const int16_t t = row.TypeIndex;
        if (row.SessionState == 1 && t >= 1 && t <= CountOf(m.tables.MatchTypes) &&
            f.LblShowName.Caption == QStringLiteral("Kavelin") + m.tables.MatchTypes[static_cast<std::size_t>(t)].na &&
            f.LblShowInfo[0].Caption == row.StartText) {
            platform::Label& big = f.LblShowLeftTime;
            big.SetVisible(true);
            if (big.FontSize != 18) {
                big.FontSize = 18;
                big.ForeColor = 0xFFFFFF;
            }
            big.SetCaption(QStringLiteral("剩余时间：") + stage);
        }
    }
    if (static_cast<int32_t>(now - m.ClockSyncTick) > 180000 && m.TimeRequestTick == 0)
        SendMatchTimeRequest(c);
}

} // namespace

void MatchTimerTick(Client& c)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    if (!m.MatchPanelReady || m.ServerClock == 0 || m.ClockSyncTick == 0 || !c.game.InputEnabled)
        return;
    const uint32_t now = c.plat.clock.timeGetTime();
    const int32_t sinceStep = static_cast<int32_t>(now - m.ClockStepTick);
    if (m.ClockStepTick != m.ClockSyncTick && sinceStep < 1000)
        return;
    if (sinceStep > 0)
        m.ServerClock += static_cast<uint32_t>(sinceStep / 1000);
    m.ClockStepTick = now;
    f.LblServerTime.SetCaption(QDateTime::fromSecsSinceEpoch(m.ServerClock, QTimeZone::utc())
                                   .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    if (m.SortRequestTick > 0 && static_cast<int32_t>(now - m.SortRequestTick) >= 15500) {
        m.SortRequestTick = 0;
        if (!f.Pic_sortDetail->isHidden() && f.ImgRefresh.Visible && !f.ImgRefresh.Enabled) {
            f.ImgRefresh.Tag = QStringLiteral("0");
            window::LoadGifResource(552, QStringLiteral("GIF"), f.ImgRefresh);
            f.ImgRefresh.Enabled = true;
            f.ImgRefresh.Refresh();
        }
    }
    AutoSignUp(c, now);
    RowCountdowns(c);
    RotateCaptions(c, now);
    if (!f.Pic_sortDetail->isHidden()) {
        RankingPanelTexts(c);
        return;
    }
    if (!f.Pic_matchDetail->isHidden())
        ListPageTexts(c, now);
}

bool GrowPicture(Client& c, platform::PictureBox* pic, float w, float h, float x1, float y1, float x0, float y0)
{
    if (!pic)
        return false;
    platform::Clock& clock = c.plat.clock;
    const QPointer<platform::PictureBox> panel(pic);
    const int16_t& closing = c.match.AppClosing;
    panel->hide();
    panel->raise();
    panel->setGeometry(qRound(x0), qRound(y0), qRound(w * 0.1f), qRound(h * 0.1f));
    for (int k = 1; k <= 10; ++k) {
        // Another handler may close the panel, or the program end, while
        // events run: then the growth stops and leaves it as they left it.
        const bool shown = k > 1;
        platform::WaitUntil(clock, platform::Deadline::InMs(clock, 20),
                            [&] { return !panel || closing || (shown && panel->isHidden()); });
        if (!panel)
            return false;
        if (closing) {
            panel->hide();
            return false;
        }
        if (shown && panel->isHidden())
            return false;
        const float f = static_cast<float>(k) / 10.0f;
        const float x = k < 10 ? x0 + static_cast<float>(k) * (x1 - x0) / 10.0f : x1;
        const float y = k < 10 ? y0 + static_cast<float>(k) * (y1 - y0) / 10.0f : y1;
        panel->setGeometry(qRound(x), qRound(y), qRound(w * f), qRound(h * f));
        panel->show();
        panel->update();
    }
    return true;
}

} // namespace match
