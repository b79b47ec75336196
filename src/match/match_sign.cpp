#include "app/client.h"
#include "chat/chat.h"
#include "core/numeric.h"
#include "match/match.h"
#include "match/match_frames.h"
#include "match/match_handlers.h"
#include "match/match_list_page.h"
#include "window/pictures.h"
#include "match/time_texts.h"
#include "platform/clock.h"
#include "window/main_form.h"

#include <algorithm>
#include <cmath>

namespace match {

namespace {

int TagNumber(const QString& tag) { return static_cast<int>(std::nearbyint(core::LeadingNumber(tag))); }

MatchInstance* Instance(Client& c, int32_t id)
{
    const int16_t i = FindMatchInstance(c.match.MatchInstances, id);
    return i == 0 ? nullptr : &c.match.MatchInstances[static_cast<std::size_t>(i)];
}

// The tick a sign-up or sign-off is noted at. 0 means "none" to the
// automatic sign-up, so a tick of 0 is noted as 1: a sign-off must not let
// the match clock sign the player up again and spend the fee.
uint32_t SignTickNow(Client& c) { return std::max<uint32_t>(1, c.plat.clock.timeGetTime()); }

int ListCount(Client& c) { return CountOf(c.match.MatchList); }

// The detail area for a MatchList row; a row the list does not hold is not shown.
void ShowRow(Client& c, int row)
{
    if (row >= 1 && row <= ListCount(c))
        ShowMatchDetail(c, static_cast<int16_t>(row));
}

// A page of the match list; the page number is clamped to what a Tag can name.
bool ShowListPage(Client& c, int page)
{
    int16_t p = static_cast<int16_t>(std::clamp(page, -32768, 32767));
    return InitCurMatchShow(c, p);
}

} // namespace

QString MomentText(Client& c, int32_t seconds) { return TimeNumToStr(seconds, 1, c.match.RoomMatchMode); }

void RebuildMatchList(Client& c) { c.match.MatchList = SplitMatchInfo(c.match.MatchInstances); }

void HideMatchButtons(Client& c)
{
    MatchState& m = c.match;
    m.MatchDataReady = m.MatchPanelReady = m.MatchInfoDownloading = 0;
    window::MainForm& f = *c.MainForm;
    f.ImgShowMatch.SetVisible(false);
    f.ImgShowSort.SetVisible(false);
    f.ImgShowMatch.Enabled = false;
    f.ImgShowSort.Enabled = false;
    f.ImgOpenMatchBtn.SetVisible(false);
    f.ImgOpenMatchBtn.Enabled = false;
}

int FindShownMatchRow(Client& c, const QString& name, const QString& startText)
{
    const MatchState& m = c.match;
    for (int r = 1; r <= ListCount(c); ++r) {
        const MatchInstance& row = m.MatchList[static_cast<std::size_t>(r)];
        const int t = row.TypeIndex;
        const QString typeName =
            t >= 1 && t < static_cast<int>(m.tables.MatchTypes.size()) ? m.tables.MatchTypes[static_cast<std::size_t>(t)].na : QString();
        if (QStringLiteral("Kavelin") + typeName == name && row.StartText == startText && row.ChampionKnown != -1)
            return r;
    }
    return 0;
}

void RefreshShownMatch(Client& c, int32_t instanceId)
{
    window::MainForm& f = *c.MainForm;
    if (!f.Pic_matchDetail->Visible() || c.MainForm->LblShowName.Caption.isEmpty() || ListCount(c) <= 0)
        return;
    const int r = FindShownMatchRow(c, c.MainForm->LblShowName.Caption, c.MainForm->LblMathStart[0].Caption);
    if (r > 0 && c.match.MatchList[static_cast<std::size_t>(r)].Id == instanceId)
        ShowMatchDetail(c, static_cast<int16_t>(r));
}

void RefreshMatchPanel(Client& c, int32_t instanceId)
{
    window::MainForm& f = *c.MainForm;
    if (ListCount(c) <= 0 || !f.Pic_matchDetail->Visible())
        return;
    const QString name = c.MainForm->LblShowName.Caption;
    const QString start = c.MainForm->LblMathStart[0].Caption;
    ShowListPage(c, TagNumber(f.Pic_matchDetail->Tag));
    if (TagNumber(c.MainForm->LblShowName.Tag) > 0 && !name.isEmpty() && !start.isEmpty()) {
        const int r = FindShownMatchRow(c, name, start);
        if (r > 0) {
            if (c.match.MatchList[static_cast<std::size_t>(r)].Id == instanceId)
                ShowRow(c, r);
            return;
        }
    }
    ShowRow(c, TagNumber(c.MainForm->LblMathStart[0].Tag));
}

void MsgMatchSign(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    if (!m.MatchDataReady || !m.MatchPanelReady) {
        HideMatchButtons(c);
        return;
    }
    const MatchSignFrame s = DecodeMatchSign(f);
    const QString tt = MomentText(c, s.time);
    MatchInstance* in = Instance(c, s.id);
    if (!in)
        return;
    if (s.confirmed) {
        if (tt == in->StartText) {
            in->SignCount = s.count;
            in->SignedUp = 1;
            in->SignTick = SignTickNow(c);
            BuildInstancePrizes(m.MatchInstances, m.tables.MatchTypes, s.id, s.base, tt);
            RebuildMatchList(c);
            RefreshShownMatch(c, s.id);
        } else if (tt == in->NextStartText ||
                   (!in->StartText.isEmpty() && TimeTextLater(tt, in->StartText, m.ServerClock))) {
            // The player signed up for a later session: it becomes the
            // current one. Taken from the next-session fields, it leaves
            // them, so that the end of this session cannot bring it back.
            if (tt == in->NextStartText) {
                in->Duration = in->NextDuration;
                in->DurationText = in->NextDurationText;
                in->NextStartText.clear();
                in->NextDuration = 0;
                in->NextDurationText.clear();
            }
            in->StartText = tt;
            in->SignedUp = 1;
            in->SignCount = s.count;
            in->SessionState = 0;
            in->SignTick = SignTickNow(c);
            BuildInstancePrizes(m.MatchInstances, m.tables.MatchTypes, s.id, s.base, tt);
        }
    }
    chat::AddSystemLine(c, QStringLiteral("报名(") + tt + QStringLiteral(")：") + s.text);
}

void MsgMatchSignOff(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    if (!m.MatchDataReady || !m.MatchPanelReady) {
        HideMatchButtons(c);
        return;
    }
    const MatchSignOffFrame s = DecodeMatchSignOff(f);
    MatchInstance* in = Instance(c, s.id);
    if (!in)
        return;
    if (s.signedOff) {
        in->SignedUp = 0;
        in->SignTick = SignTickNow(c);
        RebuildMatchList(c);
        RefreshShownMatch(c, s.id);
    }
    chat::AddSystemLine(c, s.text);
}

void MsgMatchStates(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    if (!m.MatchInfoDownloading && !m.MatchDataReady)
        return;
    if (m.MatchInfoMd5.isEmpty() || m.MatchInfoUrl.isEmpty()) {
        HideMatchButtons(c);
        return;
    }
    const std::optional<std::vector<MatchStateEntry>> entries = DecodeMatchStates(f);
    if (!entries)
        return; // more entries than a frame holds
    m.MatchListReceived = -1;
    window::MainForm& form = *c.MainForm;
    for (const MatchStateEntry& e : *entries) {
        MatchInstance* in = Instance(c, e.id);
        if (!in)
            continue;
        in->SignedUp = 1;
        in->SignTick = SignTickNow(c);
        in->SessionState = e.running ? 1 : 0;
        const QString vt = MomentText(c, e.time);
        if (in->StartText.isEmpty())
            in->StartText = vt;
        if (vt != in->StartText) {
            if (TimeTextLater(in->StartText, vt, m.ServerClock)) {
                in->NextStartText = in->StartText;
                in->StartText = vt;
            } else {
                in->NextStartText = vt;
            }
            in->NextDuration = in->Duration;
            in->NextDurationText = in->DurationText;
        }
        if (in->SessionState == 1 && !form.ImgShowSort.Visible) {
            form.ImgShowSort.SetVisible(true);
            form.ImgShowSort.Enabled = true;
            form.ImgShowSort.ZOrder(0);
            form.ListSort->Tag = QString::number(e.id);
        }
    }
    if (m.MatchInfoDownloading || !m.MatchInfoLoaded)
        return;
    RebuildMatchList(c);
    if (ShowListPage(c, 1)) {
        m.MatchPanelReady = -1;
        form.ImgShowMatch.SetVisible(true);
        form.ImgShowMatch.Enabled = true;
        form.ImgShowMatch.ZOrder(0);
        form.ImgOpenMatchBtn.Tag = QStringLiteral("0");
        form.ImgOpenMatchBtn.SetVisible(true);
        form.ImgOpenMatchBtn.Enabled = true;
        form.ImgOpenMatchBtn.ZOrder(0);
        window::LoadGifResource(564, QStringLiteral("GIF"), form.ImgOpenMatchBtn);
    } else {
        m.MatchDataReady = m.MatchPanelReady = 0;
    }
}

void MsgMatchSignCount(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    const MatchSignCountFrame s = DecodeMatchSignCount(f);
    const QString tt = MomentText(c, s.time);
    MatchInstance* in = Instance(c, s.id);
    if (in && tt == in->StartText) {
        in->SignCount = s.count;
        BuildInstancePrizes(m.MatchInstances, m.tables.MatchTypes, s.id, s.base, tt);
    }
    RebuildMatchList(c);
    window::MainForm& form = *c.MainForm;
    if (ListCount(c) > 0 && form.Pic_matchDetail->Visible()) {
        const int r = TagNumber(c.MainForm->LblMathStart[0].Tag);
        ShowListPage(c, TagNumber(form.Pic_matchDetail->Tag));
        if (r > 0)
            ShowRow(c, r);
    }
}

void MsgMatchPrizeBase(Client& c, const protocol::GameFrame& f)
{
    MatchState& m = c.match;
    const MatchPrizeBaseFrame s = DecodeMatchPrizeBase(f);
    if (!BuildInstancePrizes(m.MatchInstances, m.tables.MatchTypes, s.id, s.base, MomentText(c, s.time)))
        return;
    RebuildMatchList(c);
    if (ListCount(c) > 0 && c.MainForm->Pic_matchDetail->Visible())
        ShowRow(c, TagNumber(c.MainForm->LblMathStart[0].Tag));
}

} // namespace match
