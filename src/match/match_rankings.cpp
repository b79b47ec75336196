#include "app/client.h"
#include "chat/chat.h"
#include "core/numeric.h"
#include "match/match.h"
#include "match/match_frames.h"
#include "match/match_handlers.h"
#include "match/match_results.h"
#include "window/main_form.h"

#include <cmath>

namespace match {

namespace {

// The instance a place or ranking frame names, when the frame is for its
// current session; the frames are taken while the document is loaded or
// being fetched.
MatchInstance* GatedInstance(Client& c, int32_t id, int32_t time)
{
    MatchState& m = c.match;
    if (!m.MatchDataReady && !m.MatchInfoDownloading)
        return nullptr;
    const int16_t i = FindMatchInstance(m.MatchInstances, id);
    if (i == 0)
        return nullptr;
    MatchInstance& in = m.MatchInstances[static_cast<std::size_t>(i)];
    return in.StartText == MomentText(c, time) ? &in : nullptr;
}

int UpperBound(const MatchInstance& in) { return in.SortEntries.empty() ? 0 : static_cast<int>(in.SortEntries.size()) - 1; }

// The ranking panel's three labels: place of signed up, points, behind the leader.
void ApplySummary(Client& c, const MatchInstance& in)
{
    window::MainForm& f = *c.MainForm;
    f.LblSortInfo[0].SetCaption(in.Place == 0 ? QStringLiteral("无排名")
                                              : QString::number(in.Place) + QLatin1Char('/') + QString::number(in.SignCount));
    f.LblSortInfo[1].SetCaption(QString::number(std::nearbyint(in.Points), 'f', 0));
    if (UpperBound(in) >= 1 && in.Place != 1)
        f.LblSortInfo[2].SetCaption(QString::number(std::nearbyint(in.SortEntries[1].points - in.Points), 'f', 0));
    else
        f.LblSortInfo[2].SetCaption(QStringLiteral("0"));
    for (int i = 0; i < 3; ++i)
        f.LblSortInfo[i].SetVisible(true);
}

void ShowRankingButton(window::MainForm& f)
{
    if (f.ImgShowSort.Visible)
        return;
    f.ImgShowSort.SetVisible(true);
    f.ImgShowSort.Enabled = true;
    f.ImgShowSort.ZOrder(0);
}

// The prize text of a place from the prize rows: "第N名" for one place,
// "第a-b名" for a range; the first row that holds the place wins.
QString PrizeOfPlace(const PrizeTable& prizes, int place)
{
    for (const PrizeRow& row : prizes) {
        if (row.place.size() < 3)
            continue;
        const QStringList parts = row.place.mid(1, row.place.size() - 2).split(QLatin1Char('-'));
        bool match = false;
        if (parts.size() == 1)
            match = core::LeadingNumber(parts[0]) == place;
        else if (parts.size() == 2)
            match = core::LeadingNumber(parts[0]) <= place && place <= core::LeadingNumber(parts[1]);
        if (match)
            return row.prize;
    }
    return QString();
}

} // namespace

void MsgMatchSortSummary(Client& c, const protocol::GameFrame& f)
{
    const MatchPlaceFrame p = DecodeMatchPlace(f);
    MatchInstance* in = GatedInstance(c, p.id, p.time);
    if (!in)
        return;
    if (p.place > 0)
        in->Place = p.place;
    in->Points = p.points;
    window::MainForm& form = *c.MainForm;
    form.ListSort->Tag = QString::number(p.id);
    ShowRankingButton(form);
    ApplySummary(c, *in);
}

void MsgMatchResult(Client& c, const protocol::GameFrame& f)
{
    const MatchPlaceFrame p = DecodeMatchPlace(f);
    MatchInstance* in = GatedInstance(c, p.id, p.time);
    if (!in)
        return;
    in->Place = p.place;
    in->Points = p.points;
    window::MainForm& form = *c.MainForm;
    form.ListSort->Tag = QString::number(p.id);
    ShowRankingButton(form);
    c.match.SortRequestTick = 0;
    form.ImgRefresh.SetVisible(false);
    form.ImgRefresh.Enabled = false;
    ApplySummary(c, *in);
    const QString prize = PrizeOfPlace(in->Prizes, in->Place);
    if (!prize.trimmed().isEmpty()) {
        chat::AddSystemLine(c, QStringLiteral("恭喜您在") + in->StartText + QStringLiteral("开始的比赛中取得第") +
                             QString::number(in->Place) + QStringLiteral("名!"));
        chat::AddSystemLine(c, QStringLiteral("获得") + prize + QStringLiteral("!"));
    }
    if (form.LblInfoLMatch.Count() > 4 && form.LblInfoLMatch[4].Caption.isEmpty())
        form.LblInfoLMatch[4].SetCaption(QStringLiteral("无"));
}

void MsgMatchSort(Client& c, const protocol::GameFrame& f)
{
    const MatchSortFrame s = DecodeMatchSort(f);
    MatchInstance* in = GatedInstance(c, s.id, s.time);
    if (!in)
        return;
    window::MainForm& form = *c.MainForm;
    form.ListSort->Tag = QString::number(s.id);
    const int n = static_cast<int>(s.rows.size());
    if (n == 0)
        return;
    in->SortEntries.resize(static_cast<std::size_t>(s.first + n));
    const QString& own = c.game.UserInfos[0].Nickname;
    for (int k = 0; k < n; ++k) {
        const MatchSortRow& row = s.rows[static_cast<std::size_t>(k)];
        in->SortEntries[static_cast<std::size_t>(s.first + k)] = SortEntry{row.nickname, row.points};
        if (row.nickname == own) {
            in->Place = static_cast<int16_t>(s.first + k);
            in->Points = row.points;
        }
    }
    if (form.Pic_sortDetail->Visible()) {
        if (s.first <= 10) {
            QString current, pages, label;
            int16_t first = 1;
            const bool more = DrawSortList(c, in->SortEntries, current, pages, label, first);
            for (platform::Image* img : {&form.ImgUppage[1], &form.ImgDownpage[1]}) {
                img->SetVisible(more);
                img->Enabled = more;
                if (more)
                    img->ZOrder(0);
            }
            form.LblshowPage[1].SetVisible(more);
            if (more) {
                form.LblSortInfo[0].Tag = current;
                form.LblshowPage[1].Tag = pages;
                form.LblshowPage[1].SetCaption(label);
            }
        } else {
            const int u = UpperBound(*in);
            const QString pages = QString::number(u / 10 + (u % 10 != 0 ? 1 : 0));
            form.LblshowPage[1].Tag = pages;
            form.LblshowPage[1].SetCaption(form.LblSortInfo[0].Tag + QLatin1Char('/') + pages);
        }
        ApplySummary(c, *in);
    }
    ShowRankingButton(form);
}

} // namespace match
