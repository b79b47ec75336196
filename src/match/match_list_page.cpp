#include "match/match_list_page.h"

#include "app/client.h"
#include "core/numeric.h"
#include "match/match.h"
#include "match/match_panel_text.h"
#include "match/time_texts.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QStringList>
#include <algorithm>

namespace match {

namespace {

using platform::Image;
using platform::Label;
using window::MainForm;

const QString kGif = QStringLiteral("GIF");
constexpr int kRows = 5;

void Picture(Image& img, int id) { window::LoadGifResource(id, kGif, img); }

QString MatchTitle(const MatchType& type) { return QStringLiteral("Kavelin") + type.na; }

bool KnownType(const MatchState& m, int16_t t) { return t >= 1 && t <= CountOf(m.tables.MatchTypes); }

// The prize of a place among prize rows whose place texts read "第N名" or
// "第a-b名"; "" when none fits.
QString PrizeOfPlace(const PrizeTable& rows, int16_t place)
{
    for (const PrizeRow& row : rows) {
        const QString& s = row.place;
        if (s.size() < 3)
            continue;
        const QString inner = s.mid(1, s.size() - 2);
        if (inner.isEmpty())
            continue;
        const QStringList parts = inner.split(QLatin1Char('-'));
        if (parts.size() == 1) {
            if (core::LeadingNumber(parts[0]) == place)
                return row.prize;
        } else if (parts.size() == 2) {
            if (core::LeadingNumber(parts[0]) <= place && place <= core::LeadingNumber(parts[1]))
                return row.prize;
        }
    }
    return QString();
}

// Gives every instance its match type and prizes, then rebuilds the list.
// False at the first instance whose type is unknown.
bool ResolveTypes(Client& c)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    for (int16_t i = 1; i <= CountOf(m.MatchInstances); ++i) {
        MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
        inst.TypeIndex = FindMatchType(m.tables.MatchTypes, inst.Id);
        if (inst.TypeIndex < 1)
            return false;
        m.panel.CurrentMatchName = m.tables.MatchTypes[static_cast<std::size_t>(inst.TypeIndex)].na;
        f.ImgShowMatch.SetiCaption(QStringLiteral("Kavelin.."));
        f.ImgMatchListName.SetiCaption(m.panel.CurrentMatchName);
        f.ImgShowMatch.refresh();
        f.ImgMatchListName.refresh();
        BuildInstancePrizes(m.MatchInstances, m.tables.MatchTypes, inst.Id, 0, QString());
    }
    m.MatchList = SplitMatchInfo(m.MatchInstances);
    return true;
}

void ClearDetailArea(MainForm& f)
{
    f.ImgShowSign.SetVisible(false);
    f.ImgSign.SetVisible(false);
    f.LblShowName.SetCaption(QString());
    for (int i = 0; i < 4; ++i)
        f.LblShowInfo[i].SetCaption(QString());
    for (int i = 0; i < f.LblPrizeInfo.Count(); ++i)
        f.LblPrizeInfo[i].SetCaption(QString());
    f.LblNote.SetCaption(QString());
    f.LblShowLeftTime.SetCaption(QString());
    f.LblShowLeftTime.SetVisible(false);
}

void ClearPage(MainForm& f)
{
    for (Image* arrow : {&f.ImgUppage[0], &f.ImgDownpage[0]}) {
        arrow->SetVisible(false);
        arrow->Enabled = false;
        arrow->Tag = QStringLiteral("0");
    }
    Picture(f.ImgUppage[0], 537);
    Picture(f.ImgDownpage[0], 540);
    f.LblshowPage[0].SetVisible(false);
    f.LblshowPage[0].SetCaption(QStringLiteral("1/1"));
    f.LMatchShow->hide();
    for (int i = 0; i < f.LblInfoLMatch.Count(); ++i) {
        f.LblInfoLMatch[i].SetCaption(QString());
        f.LblInfoLMatch[i].SetVisible(false);
    }
    for (int l = 0; l < kRows; ++l) {
        for (Label* lbl : {&f.LblMathName[l], &f.LblMathStart[l], &f.LblMathLeft[l], &f.LblMathNum[l]})
            lbl->SetCaption(QString());
        f.LblMathName[l].Tag.clear();
        f.LblMathStart[l].Tag.clear();
    }
    for (int l = 0; l < kRows; ++l) {
        Picture(f.ImgMatch[l], 522);
        f.ImgMatch[l].Tag = QStringLiteral("0");
        f.ImgMatch[l].SetVisible(false);
    }
    ClearDetailArea(f);
}

void FillSessionRow(Client& c, int l, int r, const MatchInstance& row, const MatchType& type)
{
    MainForm& f = *c.MainForm;
    f.LblMathName[l].Tag = QString::number(type.id);
    f.LblMathName[l].SetCaption(MatchTitle(type));
    SetAutoCaption(f.LblMathStart[l], row.StartText);
    f.LblMathStart[l].Tag = QString::number(r);
    QString left, num;
    if (row.ClockStage >= 1 && (row.SessionState == 0 || row.SessionState == 1)) {
        left = (row.SessionState == 0 ? QStringLiteral("距离开赛时间：") : QStringLiteral("距离结束时间："))
               + TimeNumToStr(row.ClockStage, 0, c.match.RoomMatchMode);
        num = QString::number(row.SignCount) + QStringLiteral("人已报名");
    }
    f.LblMathLeft[l].SetCaption(left);
    SetAutoCaption(f.LblMathNum[l], num);
    for (Label* lbl : {&f.LblMathName[l], &f.LblMathStart[l], &f.LblMathLeft[l], &f.LblMathNum[l]}) {
        lbl->SetVisible(true);
        lbl->ZOrder(0);
    }
}

void FillResultRow(Client& c, int l, int r, const MatchInstance& row, const MatchType& type)
{
    MainForm& f = *c.MainForm;
    const Image& bar = f.ImgMatch[l];
    f.LMatchShow->move(qRound(bar.Left), qRound(bar.Top));
    f.LblInfoLMatch[0].Tag = QString::number(type.id);
    f.LblInfoLMatch[0].SetCaption(MatchTitle(type));
    f.LblInfoLMatch[1].SetCaption(row.ChampionStartText);
    f.LblInfoLMatch[1].Tag = QString::number(r);
    f.LblInfoLMatch[2].SetCaption(QStringLiteral("已结束"));
    if (row.LastStartText != row.ChampionStartText) {
        SetAutoCaption(f.LblInfoLMatch[3], QStringLiteral("未参赛"));
        SetAutoCaption(f.LblInfoLMatch[4], QStringLiteral("未参赛"));
    } else {
        SetAutoCaption(f.LblInfoLMatch[3], QStringLiteral("第") + QString::number(row.Place) + QStringLiteral("名"));
        const QString prize = PrizeOfPlace(row.LastPrizes, row.Place);
        SetAutoCaption(f.LblInfoLMatch[4], prize.isEmpty() ? QStringLiteral("无") : prize);
    }
    SetAutoCaption(f.LblInfoLMatch[5], row.ChampionName);
    SetAutoCaption(f.LblInfoLMatch[6], row.ChampionPrize);
    for (int i = 0; i <= 6; ++i) {
        f.LblInfoLMatch[i].SetVisible(true);
        f.LblInfoLMatch[i].ZOrder(0);
    }
    f.LMatchShow->show();
    f.LMatchShow->raise();
}

// Loads prize line j when it is not there yet, 2 pixels below line j - 1.
Label& PrizeLine(MainForm& f, int j)
{
    if (!f.LblPrizeInfo.Exists(j)) {
        f.LblPrizeInfo.Load(j);
        const Label& above = f.LblPrizeInfo[j - 1];
        f.LblPrizeInfo[j].Move(f.LblPrizeInfo[0].Left, above.Top + above.Height + 2);
    }
    return f.LblPrizeInfo[j];
}

void ShowPrizeLine(MainForm& f, int j, const PrizeRow& row)
{
    Label& line = PrizeLine(f, j);
    SetAutoCaption(line, row.place + QStringLiteral(": ") + row.prize);
    line.SetVisible(true);
}

} // namespace

bool InitCurMatchShow(Client& c, int16_t& page)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    if (CountOf(m.MatchInstances) <= 0)
        return false;
    if (m.MatchInstances[1].TypeIndex < 1 && !ResolveTypes(c))
        return false;

    ClearPage(f);
    const int count = CountOf(m.MatchList);
    if (count <= 0) {
        f.Pic_matchDetail->Tag.clear();
        return false;
    }
    // The page: below 1 shows page 1, past the last shows the last.
    int p = std::max<int>(page, 1);
    const int pages = (count + kRows - 1) / kRows;
    p = std::min(p, pages);
    page = static_cast<int16_t>(p);
    f.Pic_matchDetail->Tag = QString::number(p);

    const int first = (p - 1) * kRows + 1;
    for (int l = 0; l < kRows; ++l) {
        const int r = first + l;
        if (r > count)
            break;
        f.ImgMatch[l].SetVisible(true);
        const MatchInstance& row = m.MatchList[static_cast<std::size_t>(r)];
        if (!KnownType(m, row.TypeIndex))
            continue;
        const MatchType& type = m.tables.MatchTypes[static_cast<std::size_t>(row.TypeIndex)];
        if (row.ChampionKnown == 0)
            FillSessionRow(c, l, r, row, type);
        else
            FillResultRow(c, l, r, row, type);
    }

    f.LblshowPage[0].Tag = QString::number(pages);
    if (pages > 1) {
        for (Image* arrow : {&f.ImgUppage[0], &f.ImgDownpage[0]}) {
            arrow->SetVisible(true);
            arrow->Enabled = true;
            arrow->Tag = QStringLiteral("0");
        }
        Picture(f.ImgUppage[0], 535);
        Picture(f.ImgDownpage[0], 538);
        f.LblshowPage[0].SetVisible(true);
    }
    SetAutoCaption(f.LblshowPage[0], QString::number(p) + QLatin1Char('/') + QString::number(pages));
    return true;
}

void ShowMatchDetail(Client& c, int16_t row)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    f.ImgShowSign.SetVisible(false);
    f.ImgSign.SetVisible(false);
    f.ImgSign.Enabled = true;
    f.LblShowName.SetCaption(QString());
    for (int i = 0; i < 4; ++i)
        f.LblShowInfo[i].SetCaption(QString());
    for (int i = 0; i < f.LblPrizeInfo.Count(); ++i)
        f.LblPrizeInfo[i].SetCaption(QString());
    f.LblNote.SetCaption(QString());
    f.LblShowName.Tag.clear();
    f.LblShowLeftTime.SetCaption(QString());
    f.LblShowLeftTime.SetVisible(false);

    if (row < 1 || row > CountOf(m.MatchList))
        return;
    const MatchInstance& r = m.MatchList[static_cast<std::size_t>(row)];
    if (!KnownType(m, r.TypeIndex) || r.ChampionKnown != 0)
        return;
    const MatchType& type = m.tables.MatchTypes[static_cast<std::size_t>(r.TypeIndex)];

    f.LblShowName.Tag = QString::number(row);
    f.LblShowName.SetCaption(MatchTitle(type));
    f.LblShowInfo[0].SetCaption(r.StartText);
    f.LblShowInfo[1].SetCaption(QString::number(type.utl) + QLatin1Char('-') + QString::number(type.ut));
    f.LblShowInfo[2].SetCaption(r.DurationText);
    f.LblShowInfo[3].SetCaption(type.FeeText);
    f.LblNote.SetCaption(type.des);
    f.LblNote.SetVisible(true);
    f.LblNote.ZOrder(0);
    for (int k = 0; k < 4; ++k) {
        for (Label* l : {&f.LblShowTip[k], &f.LblShowInfo[k]}) {
            l->ZOrder(0);
            l->SetVisible(true);
        }
    }

    if (r.SignedUp == 1) {
        Picture(f.ImgShowSign, 526);
        f.ImgShowSign.SetVisible(true);
    } else if (r.SignedUp == 0) {
        if (r.SessionState == 0) {
            Picture(f.ImgSign, 527);
            f.ImgSign.Tag = QStringLiteral("0");
            f.ImgSign.SetVisible(true);
        } else if (r.SessionState == 1 || r.SessionState == 2) {
            Picture(f.ImgShowSign, r.SessionState == 1 ? 542 : 543);
            f.ImgShowSign.SetVisible(true);
        }
    }

    // The instance's own prizes; an empty place text ends them.
    int j = 0;
    for (; j < static_cast<int>(r.Prizes.size()); ++j) {
        if (r.Prizes[static_cast<std::size_t>(j)].place.isEmpty())
            break;
        ShowPrizeLine(f, j, r.Prizes[static_cast<std::size_t>(j)]);
    }
    // Without them, the type's prize rows.
    if (f.LblPrizeInfo[0].Caption.isEmpty()) {
        for (int k = 0; k < static_cast<int>(type.PrizeRows.size()); ++k)
            ShowPrizeLine(f, k, type.PrizeRows[static_cast<std::size_t>(k)]);
    }
    if (!f.LblPrizeInfo[0].Caption.isEmpty())
        f.LblPrizeTip.SetVisible(true);
}

bool CompleteMatchPanel(Client& c)
{
    MatchState& m = c.match;
    MainForm& f = *c.MainForm;
    m.MatchList = SplitMatchInfo(m.MatchInstances);
    int16_t page = 1;
    if (!InitCurMatchShow(c, page)) {
        m.MatchInfoDownloading = m.MatchDataReady = m.MatchPanelReady = 0;
        return false;
    }
    m.MatchPanelReady = -1;
    f.ImgShowMatch.SetVisible(true);
    f.ImgShowMatch.Enabled = true;
    f.ImgShowMatch.ZOrder(0);
    f.ImgOpenMatchBtn.Tag = QStringLiteral("0");
    Picture(f.ImgOpenMatchBtn, 564);
    f.ImgOpenMatchBtn.SetVisible(true);
    f.ImgOpenMatchBtn.Enabled = true;
    f.ImgOpenMatchBtn.ZOrder(0);
    for (int16_t i = 1; i <= CountOf(m.MatchInstances); ++i) {
        const MatchInstance& inst = m.MatchInstances[static_cast<std::size_t>(i)];
        if (!inst.StartText.isEmpty() && inst.SessionState == 1 && inst.SignedUp == 1) {
            f.ImgShowSort.SetVisible(true);
            f.ImgShowSort.Enabled = true;
            f.ImgShowSort.ZOrder(0);
            f.ListSort->Tag = QString::number(inst.Id);
        }
    }
    ShowMatchDetail(c, TagRow(f.LblMathStart[0].Tag));
    return true;
}

} // namespace match
