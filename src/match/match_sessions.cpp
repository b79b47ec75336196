#include "app/client.h"
#include "chat/chat.h"
#include "core/numeric.h"
#include "match/match.h"
#include "match/match_frames.h"
#include "match/match_handlers.h"
#include "match/match_list_page.h"
#include "match/time_texts.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <cmath>

namespace match {

namespace {

int TagNumber(const QString& tag) { return static_cast<int>(std::nearbyint(core::LeadingNumber(tag))); }

// A signed start field: none when negative.
QString StartTextOf(Client& c, int32_t start) { return start < 0 ? QString() : MomentText(c, start); }

// The next session of instance i becomes its current one.
void PromoteNextSession(Client& c, MatchInstance& in)
{
    in.StartText = in.NextStartText;
    in.Duration = in.NextDuration;
    in.DurationText = in.NextDurationText;
    in.NextStartText.clear();
    in.NextDuration = 0;
    in.NextDurationText.clear();
    in.SessionState = 0;
    in.SignedUp = 0;
    in.SignTick = 0;
    BuildInstancePrizes(c.match.MatchInstances, c.match.tables.MatchTypes, in.Id, 0, QString());
}

void ShowSortButton(window::MainForm& f)
{
    f.ImgShowSort.SetVisible(true);
    f.ImgShowSort.Enabled = true;
    f.ImgShowSort.ZOrder(0);
}

// A session the player plays in has started: the ranking starts afresh.
void ResetRanking(Client& c, MatchInstance& in)
{
    window::MainForm& f = *c.MainForm;
    in.SessionState = 1;
    ShowSortButton(f);
    in.LastStartText.clear();
    in.LastPrizes = PrizeTable(1);
    f.ListSort->Tag = QString::number(in.Id);
    in.SortEntries.assign(1, SortEntry{});
    if (f.Pic_sortDetail->Visible()) {
        f.ImgRefresh.Tag = QStringLiteral("0");
        window::LoadGifResource(552, QStringLiteral("GIF"), f.ImgRefresh);
        f.ImgRefresh.SetVisible(true);
        f.ImgRefresh.Enabled = true;
        c.match.SortRequestTick = 0;
        c.match.SortPrint.Cls();
        f.LblSortTime.SetCaption(in.StartText);
        f.LblSortTime.SetVisible(true);
        f.LblSortTime.ZOrder(0);
        f.Pic_sortDetail->SetVisible(false);
    }
}

void EndSession(Client& c, MatchInstance& in, uint8_t state, const QString& tt)
{
    namespace se = protocol::match_start_end_byte;
    window::MainForm& f = *c.MainForm;
    in.SignedUp = 0;
    in.SessionState = 0;
    c.match.SortRequestTick = 0;
    f.ImgRefresh.SetVisible(false);
    f.ImgRefresh.Enabled = false;
    in.ChampionKnown = 0;
    if (state == se::Closed) {
        in.SignCount = 0;
        f.ImgShowSort.SetVisible(false);
        f.ImgShowSort.Enabled = false;
        if (f.Pic_sortDetail->Visible())
            f.Pic_sortDetail->SetVisible(false);
        in.LastStartText.clear();
        in.SortEntries.assign(1, SortEntry{});
    } else {
        chat::AddSystemLine(c, tt + QStringLiteral("比赛结束了！"));
        ShowSortButton(f);
        f.ListSort->Tag = QString::number(in.Id);
        in.LastStartText = in.StartText;
        in.LastSignCount = in.SignCount;
        in.SignCount = 0;
        in.StartText.clear();
        in.LastPrizes = in.Prizes;
    }
    if (!in.NextStartText.isEmpty())
        PromoteNextSession(c, in);
    if (f.Pic_sortDetail->Visible() && f.LblSortInfo.Count() > 3 && f.LblSortInfo[3].Visible)
        f.LblSortInfo[3].SetVisible(false);
}

} // namespace

void MsgMatchList(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    const int n = f[protocol::match_list_byte::Count];
    if (n > protocol::match_list_byte::MaxEntries)
        return; // more entries than a frame holds
    if (n == 0 || m.MatchInfoMd5.isEmpty() || m.MatchInfoUrl.isEmpty() || (!m.MatchDataReady && !m.MatchInfoDownloading)) {
        HideMatchButtons(c);
        return;
    }
    const std::vector<MatchListEntry> entries = *DecodeMatchList(f);
    std::vector<MatchInstance> instances(1);
    for (const MatchListEntry& e : entries) {
        MatchInstance in;
        in.Id = e.id;
        in.StartText = StartTextOf(c, e.start);
        in.Duration = e.duration;
        in.DurationText = TimeNumToStr(e.duration, 0, m.RoomMatchMode);
        in.PrizeBase = e.base;
        in.SortEntries.assign(1, SortEntry{});
        instances.push_back(std::move(in));
    }
    m.MatchInstances = std::move(instances);
}

void MsgMatchUpdate(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    if (!m.MatchDataReady && !m.MatchInfoDownloading) {
        HideMatchButtons(c);
        return;
    }
    const MatchUpdateFrame u = DecodeMatchUpdate(f);
    const int16_t i = FindMatchInstance(m.MatchInstances, u.id);
    if (i == 0)
        return;
    MatchInstance& in = m.MatchInstances[static_cast<std::size_t>(i)];
    in.NextStartText = StartTextOf(c, u.start);
    in.NextDuration = u.duration;
    in.NextDurationText = TimeNumToStr(u.duration, 0, m.RoomMatchMode);
    if (m.LastStartEndState != protocol::match_start_end_byte::Started) {
        in.SignCount = 0;
        PromoteNextSession(c, in);
    }
    m.LastStartEndState = 0;
    RebuildMatchList(c);
    RefreshMatchPanel(c, u.id);
}

void MsgMatchStartEnd(Client& c, const protocol::GameFrame& f)
{
    namespace se = protocol::match_start_end_byte;
    MatchState& m = c.match;
    if (!m.MatchInfoDownloading && !m.MatchDataReady)
        return;
    const MatchStartEndFrame s = DecodeMatchStartEnd(f);
    const QString tt = MomentText(c, s.time);
    const int16_t i = FindMatchInstance(m.MatchInstances, s.id);
    if (i != 0 && m.MatchInstances[static_cast<std::size_t>(i)].StartText == tt) {
        MatchInstance& in = m.MatchInstances[static_cast<std::size_t>(i)];
        in.SessionState = s.state;
        m.LastStartEndState = s.state;
        if (s.state == se::Started) {
            chat::AddSystemLine(c, tt + QStringLiteral("比赛开始了！"));
            in.ChampionKnown = 0;
            in.ChampionPrize.clear();
            in.ChampionName.clear();
            in.ChampionStartText.clear();
            if (in.SignedUp != 0) {
                ResetRanking(c, in);
            } else {
                // The session runs without the player: it leaves the list.
                in.StartText.clear();
                in.SignTick = 0;
                m.LastStartEndState = 0;
            }
        } else if (s.state == se::Ended || s.state == se::Closed) {
            EndSession(c, in, s.state, tt);
        }
    }
    chat::AddSystemLine(c, s.text);
    RebuildMatchList(c);
    RefreshMatchPanel(c, s.id);
}

void MsgMatchChampion(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    const MatchChampionFrame s = DecodeMatchChampion(f);
    const int16_t i = FindMatchInstance(m.MatchInstances, s.id);
    if (i == 0)
        return;
    MatchInstance& in = m.MatchInstances[static_cast<std::size_t>(i)];
    const QString tt = MomentText(c, s.time);
    in.ChampionStartText = tt;
    in.ChampionName = s.name;
    in.ChampionPrize = s.prize;
    in.ChampionKnown = -1;
    chat::AddSystemLine(c, QStringLiteral("冠军(") + tt + QStringLiteral(")：") + s.name);
    chat::AddSystemLine(c, QStringLiteral("冠军奖励：") + s.prize);
    chat::AddSystemLine(c, QStringLiteral("下一场比赛开始接受报名!"));
    AddNotice(c, tt + QStringLiteral("的比赛已经结束，玩家") + s.name + QStringLiteral("夺得了冠军，获得了") + s.prize +
                     QStringLiteral("奖励！"));
    if (in.LastStartText == in.ChampionStartText && !in.StartText.isEmpty())
        AddNotice(c, in.StartText + QStringLiteral("的比赛开始接受报名，请大家点击左上按钮参与报名！"));
    RebuildMatchList(c);
    window::MainForm& form = *c.MainForm;
    if (form.Pic_matchDetail->Visible() && CountOf(m.MatchList) > 0) {
        int16_t page = static_cast<int16_t>(std::clamp(TagNumber(form.Pic_matchDetail->Tag), -32768, 32767));
        InitCurMatchShow(c, page);
        const int r = TagNumber(form.LblMathStart[0].Tag);
        if (r >= 1 && r <= CountOf(m.MatchList))
            ShowMatchDetail(c, static_cast<int16_t>(r));
    }
}

void AddNotice(Client& c, const QString& text) { c.MainForm->moveWord1->Add(text); }

} // namespace match
