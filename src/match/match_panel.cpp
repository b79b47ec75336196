#include "match/match_panel.h"

#include "app/client.h"
#include "match/match.h"
#include "match/match_clock.h"
#include "match/match_list_page.h"
#include "match/match_results.h"
#include "match/match_panel_text.h"
#include "core/numeric.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <algorithm>
#include <cmath>

namespace match {

namespace {

using platform::Image;
using platform::Label;
using window::MainForm;

const QString kGif = QStringLiteral("GIF");

// Colours as the controls keep them (0x00BBGGRR).
constexpr int32_t kCaptionGold = 0x32CCFF;  // (255, 204, 50)
constexpr int32_t kDetailText = 0xB2CEF8;   // (248, 206, 178)
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRankingBack = 0x000C1A;  // (26, 12, 0)
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kRulesText = 0x60C5FF;    // (255, 197, 96)
constexpr int32_t kCardText = 0x4E90D9;     // (217, 144, 78)

constexpr int kRows = 5;
constexpr float kRowStep = 65;

void Picture(Image& img, int id) { window::LoadGifResource(id, kGif, img); }

void PictureAndTag(Image& img, int id, const char* tag)
{
    Picture(img, id);
    img.Tag = QString::fromLatin1(tag);
}

// The panel interiors keep their size at every scale; only what lies on pic1
// is scaled.
void BuildControls(Client& c)
{
    MainForm& f = *c.MainForm;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;

    // 1-2.
    f.Pic_matchDetail->hide();
    f.Pic_sortDetail->hide();
    f.ImgCloseList[0].Move(592, 8);
    f.ImgCloseList[1].Move(592, 8);

    // 3-4. The entry buttons.
    widgets::InodePic& show = f.ImgShowMatch;
    show.init();
    show.SetiState(0);
    show.SetMouseOriPic(window::LoadGifPicture(510, kGif));
    show.SetMouseInPic(window::LoadGifPicture(511, kGif));
    show.SetiCaption(QStringLiteral("Kavelin"));
    show.SetiFontSize(12);
    show.SetiColor(kCaptionGold);
    show.Tag = QStringLiteral("0");
    show.refresh();
    widgets::InodePic& sort = f.ImgShowSort;
    sort.init();
    sort.SetiState(0);
    sort.SetMouseOriPic(window::LoadGifPicture(512, kGif));
    sort.SetMouseInPic(window::LoadGifPicture(513, kGif));
    sort.SetiCaption(QStringLiteral(" "));
    sort.Tag = QStringLiteral("0");
    sort.refresh();

    // 5. The fold button's offset is the width of picture 510, unscaled.
    show.Move(3 * sx, 230 * sy);
    f.ImgOpenMatchBtn.Move(show.Left + 94, show.Top);
    sort.Move(show.Left, show.Top + show.Height + 5 * sy);
    show.SetVisible(false);
    sort.SetVisible(false);
    sort.ZOrder(0);
    show.ZOrder(0);

    // 6-7.
    widgets::InodePic& title = f.ImgMatchListName;
    title.Move(5, 5);
    title.init();
    title.SetiState(0);
    title.SetMouseOriPic(window::LoadGifPicture(520, kGif));
    title.SetiCaption(QStringLiteral("Kavelin"));
    title.SetiFontSize(12);
    title.SetiColor(kCaptionGold);
    title.Tag = QStringLiteral("0");
    title.refresh();
    f.LblServerTime.Move(128, 16);
    f.LblServerTime.SetCaption(QString());
    f.LblSortTime.Move(344, 16);
    f.LblSortTime.SetCaption(QString());

    // 8. Row 0.
    f.ImgMatch[0].Move(15, 55);
    f.ImgMatch[0].SetVisible(false);
    Label& name = f.LblMathName[0];
    name.Move(25, 60, 175, 25);
    name.Alignment = Label::Center;
    Label& start = f.LblMathStart[0];
    AutoSize(start);
    start.Move(name.Left + name.Width + 2, name.Top + (name.Height - start.Height) / 2);
    Label& left = f.LblMathLeft[0];
    left.Alignment = Label::Center;
    left.Move(name.Left, name.Top + name.Height + (sy < 1 ? 2 : 0), name.Width);
    Label& num = f.LblMathNum[0];
    AutoSize(num);
    num.Move(start.Left, left.Top);

    // 9. Rows 1-4, 65 pixels apart, the labels above the row image.
    for (int i = 1; i < kRows; ++i) {
        f.ImgMatch.Load(i);
        f.LblMathName.Load(i);
        f.LblMathStart.Load(i);
        f.LblMathLeft.Load(i);
        f.LblMathNum.Load(i);
        f.ImgMatch[i].ZOrder(0);
        f.LblMathName[i].ZOrder(0);
        f.LblMathStart[i].ZOrder(0);
        f.LblMathLeft[i].ZOrder(0);
        f.LblMathNum[i].ZOrder(0);
        f.ImgMatch[i].Move(f.ImgMatch[0].Left, f.ImgMatch[i - 1].Top + kRowStep);
        f.LblMathName[i].Alignment = Label::Center;
        f.LblMathName[i].Move(name.Left, f.LblMathName[i - 1].Top + kRowStep, name.Width, name.Height);
        f.LblMathStart[i].Move(start.Left, f.LblMathStart[i - 1].Top + kRowStep);
        f.LblMathLeft[i].Alignment = Label::Center;
        f.LblMathLeft[i].Move(left.Left, f.LblMathLeft[i - 1].Top + kRowStep, left.Width);
        f.LblMathNum[i].Move(num.Left, f.LblMathNum[i - 1].Top + kRowStep);
    }

    // 10. The detail lines: captions, and their values right of them.
    f.LblShowName.Move(377, 22, 196, 24);
    f.LblShowName.Alignment = Label::Center;
    static const char* const kTips[] = {"开赛时间：", "人数限制：", "比赛时长：", "报名费用："};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            f.LblShowTip.Load(i);
            f.LblShowInfo.Load(i);
        }
        Label& tip = f.LblShowTip[i];
        tip.SetCaption(QString::fromUtf8(kTips[i]));
        AutoSize(tip);
        tip.Move(f.LblShowName.Left, i == 0 ? 53 : f.LblShowTip[i - 1].Top + 18);
        f.LblShowInfo[i].Move(tip.Left + tip.Width, tip.Top);
    }
    for (int i = 0; i < 4; ++i) {
        for (Label* l : {&f.LblShowTip[i], &f.LblShowInfo[i]}) {
            l->ForeColor = kDetailText;
            l->FontSize = 10;
            AutoSize(*l);
        }
        // A value reaches to the panel's edge, whatever its text.
        f.LblShowInfo[i].Width = 612 - f.LblShowInfo[i].Left;
    }

    // 11. The description: 20 pixels below the last detail line at every
    // scale; the panel interior is not scaled, so it never meets the fee line.
    Label& tip3 = f.LblShowTip[3];
    f.LblNote.Move(f.LblShowName.Left + 3, tip3.Top + tip3.Height + 20, f.LblShowName.Width, 78);
    f.LblNote.FontSize = 10;

    // 12. Prizes.
    f.LblPrizeTip.SetCaption(QStringLiteral("比赛奖励："));
    AutoSize(f.LblPrizeTip);
    f.LblPrizeTip.Move(f.LblShowName.Left, f.LblNote.Top + f.LblNote.Height + 5);
    Label& prize = f.LblPrizeInfo[0];
    prize.FontSize = 10;
    prize.ForeColor = kDetailText;
    prize.SetCaption(QString());
    AutoSize(prize);
    prize.Move(f.LblShowName.Left, f.LblNote.Top + f.LblNote.Height + 9 + (sy < 1 ? 2 : 0));
    prize.Width = 612 - prize.Left;

    // 13.
    f.LblShowLeftTime.FontSize = 18;
    f.LblShowLeftTime.Move(352, 326, 265, 29);
    f.ImgSign.Move(496, 360);
    f.ImgShowSign.Move(464, 16);

    // 14. Page controls: the list pages along the bottom of its panel, the
    // ranking vertically with its page text between the arrows.
    f.ImgUppage[0].Move(177, 372);
    f.LblshowPage[0].Move(228, 376);
    f.ImgDownpage[0].Move(280, 372);
    f.ImgUppage[1].Move(310, 256);
    f.LblshowPage[1].Move(280, 282, 50, 45);
    f.LblshowPage[1].Alignment = Label::RightJustify;
    f.ImgDownpage[1].Move(310, 310);

    // 15. The ranking panel.
    platform::ListBox& list = *f.ListSort;
    QPalette pal = list.palette();
    pal.setColor(QPalette::Text, platform::ColorFromBgr(kWhite));
    pal.setColor(QPalette::Base, platform::ColorFromBgr(kRankingBack));
    list.setPalette(pal);
    QFont font = list.font();
    font.setPointSizeF(10);
    list.setFont(font);
    list.setGeometry(23, 68, 300, 320);
    Label* info = &f.LblSortInfo[0];
    info->Move(486, 80);
    info->ForeColor = kRed;
    info = &f.LblSortInfo[1];
    info->Move(f.LblSortInfo[0].Left, 130);
    info->ForeColor = kRed;
    info = &f.LblSortInfo[2];
    info->Move(f.LblSortInfo[0].Left, 185, 58, 20);
    info->ForeColor = kRed;
    info->Alignment = Label::Center;
    info = &f.LblSortInfo[4];
    info->Move(356, 244, 241, 96);
    info->ForeColor = kRulesText;
    info->FontSize = 10;
    info->Alignment = Label::LeftJustify;
    info = &f.LblSortInfo[3];
    info->Move(355, 365, 240, 45);
    info->Alignment = Label::Center;
    for (int i : {0, 1}) {
        AutoSize(f.LblSortInfo[i]);
        f.LblSortInfo[i].Width = 612 - f.LblSortInfo[i].Left;
    }
    f.ImgRefresh.Move(560, 368);

    // 16. The status card: lines 0-2 sit where name, start and time left sit
    // on a row image.
    f.LMatchShow->resize(324, 166);
    for (int i = 1; i <= 6; ++i)
        f.LblInfoLMatch.Load(i);
    const Image& row0 = f.ImgMatch[0];
    const Label* const sources[] = {&f.LblMathName[0], &f.LblMathStart[0], &f.LblMathLeft[0]};
    for (int i = 0; i < 3; ++i) {
        const Label& src = *sources[i];
        Label& line = f.LblInfoLMatch[i];
        line.Alignment = src.Alignment;
        line.Move(src.Left - row0.Left, src.Top - row0.Top, src.Width, src.Height);
        line.FontSize = src.FontSize;
        line.ForeColor = src.ForeColor;
    }
    for (int i = 3; i <= 6; ++i) {
        Label& line = f.LblInfoLMatch[i];
        line.FontSize = 14;
        line.ForeColor = kCardText;
        AutoSize(line);
        line.Move(96, 60 + 27 * (i - 3), 324 - 96 - 4);
    }
}

void ResetControls(Client& c)
{
    MainForm& f = *c.MainForm;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;

    // 17.
    f.ImgShowMatch.Move(3 * sx, 230 * sy);
    f.ImgOpenMatchBtn.Move(f.ImgShowMatch.Left + 94, f.ImgShowMatch.Top);
    f.ImgOpenMatchBtn.SetVisible(false);
    f.ImgOpenMatchBtn.Enabled = false;
    // 18.
    f.LMatchShow->hide();
    for (int i = 0; i < f.LblInfoLMatch.Count(); ++i) {
        f.LblInfoLMatch[i].SetCaption(QString());
        f.LblInfoLMatch[i].SetVisible(false);
    }
    // 19.
    f.ImgUppage[1].Enabled = false;
    f.ImgDownpage[1].Enabled = false;
    f.ImgUppage[1].SetVisible(false);
    f.ImgDownpage[1].SetVisible(false);
    f.LblshowPage[1].SetCaption(QString());
    f.LblshowPage[1].SetVisible(false);
    // 20.
    f.ImgSign.SetVisible(false);
    f.ImgShowSign.SetVisible(false);
    // 21.
    f.ImgUppage[0].Enabled = false;
    f.ImgDownpage[0].Enabled = false;
    PictureAndTag(f.ImgUppage[0], 537, "0");
    PictureAndTag(f.ImgDownpage[0], 540, "0");
    f.LblshowPage[0].SetCaption(QStringLiteral("1/1"));
    PictureAndTag(f.ImgUppage[1], 529, "0");
    PictureAndTag(f.ImgDownpage[1], 532, "0");
    f.LblshowPage[1].SetCaption(QStringLiteral("1/1"));
    // 22.
    PictureAndTag(f.ImgCloseList[0], 514, "0");
    PictureAndTag(f.ImgCloseList[1], 514, "0");
    // 23.
    f.LblSortInfo[0].Tag.clear();
    f.ImgMatchListName.SetVisible(true);
    // 24.
    for (int i = 0; i < kRows; ++i) {
        f.LblMathName[i].Tag.clear();
        for (Label* l : {&f.LblMathName[i], &f.LblMathStart[i], &f.LblMathLeft[i], &f.LblMathNum[i]})
            l->SetCaption(QString());
        Picture(f.ImgMatch[i], 522);
        f.ImgMatch[i].Tag = QStringLiteral("0");
    }
    // 25.
    f.LblShowName.SetCaption(QString());
    for (int i = 0; i < 4; ++i) {
        f.LblShowTip[i].SetVisible(false);
        f.LblShowInfo[i].SetCaption(QString());
    }
    for (int i = 0; i < f.LblPrizeInfo.Count(); ++i) {
        f.LblPrizeInfo[i].SetCaption(QString());
        f.LblPrizeInfo[i].SetVisible(false);
    }
    f.LblPrizeTip.SetVisible(false);
    f.LblNote.SetCaption(QString());
    f.LblShowLeftTime.SetCaption(QString());
    f.Pic_matchDetail->Tag.clear();
    // 26.
    f.ListSort->hide();
    f.ListSort->Clear();
    f.ListSort->Tag.clear();
    for (int i = 0; i < 5; ++i)
        f.LblSortInfo[i].SetCaption(QString());
    // 27.
    PictureAndTag(f.ImgRefresh, 554, "2");
    f.ImgRefresh.Enabled = false;
    f.ImgRefresh.SetVisible(false);
    // 28. The news line: whole pixels are the window's business.
    widgets::MoveWord& news = *f.moveWord1;
    news.setGeometry(qRound(156 * sx), qRound(97 * sy), qRound(728 * sx), qRound(25 * sy));
    news.SetFontSize(sx < 1 ? 10 : 12);
}

} // namespace

void BuildMatchPanel(Client& c)
{
    if (c.MainForm->ImgMatch.Count() == 1) {
        BuildControls(c);
        WireMatchRows(c);
    }
    ResetControls(c);
}


// ---- Handlers ----

namespace {

uint32_t BusyTick(Client& c)
{
    const uint32_t now = c.plat.clock.timeGetTime();
    return now == 0 ? 1 : now;
}

// Clears a busy marker when the opening ends, however it ends.
struct BusyMarker {
    uint32_t& marker;
    ~BusyMarker() { marker = 0; }
};

// The instance whose ranking the ranking panel shows (the id in ListSort's
// tag); nullptr for none. Looked up again after every wait: the table may
// be rebuilt meanwhile.
MatchInstance* RankedInstance(Client& c)
{
    const int32_t id = TagNumber(c.MainForm->ListSort->Tag);
    if (id <= 0)
        return nullptr;
    const int16_t i = FindMatchInstance(c.match.MatchInstances, id);
    return i > 0 ? &c.match.MatchInstances[static_cast<std::size_t>(i)] : nullptr;
}

// The rectangle a panel opens to: 620 x 400, centred on the table.
QPointF PanelPlace(Client& c)
{
    const QSize table = c.MainForm->pic1->size();
    return {(table.width() - 620) / 2.0, (table.height() - 400) / 2.0};
}

void SetPageArrows(MainForm& f, bool on)
{
    for (Image* arrow : {&f.ImgUppage[1], &f.ImgDownpage[1]}) {
        arrow->SetVisible(on);
        arrow->Enabled = on;
        if (on)
            arrow->ZOrder(0);
    }
    f.LblshowPage[1].SetVisible(on);
}

void ShowFirstRowDetail(Client& c)
{
    ShowMatchDetail(c, TagRow(c.MainForm->LblMathStart[0].Tag));
}

void ShowListPage(Client& c, int32_t page)
{
    int16_t p = static_cast<int16_t>(std::clamp<int32_t>(page, INT16_MIN, INT16_MAX));
    InitCurMatchShow(c, p);
    ShowFirstRowDetail(c);
}

bool IsShown(const QWidget* w) { return w && !w->isHidden(); }

void HideIfShown(QWidget* w)
{
    if (IsShown(w))
        w->hide();
}

// Moves a panel by (dx, dy) on the table.
void MovePanel(platform::PictureBox& panel, float dx, float dy)
{
    panel.move(panel.x() + qRound(dx), panel.y() + qRound(dy));
}

} // namespace

void ShowRankingPage(Client& c, int16_t firstRow)
{
    MainForm& f = *c.MainForm;
    MatchInstance* inst = RankedInstance(c);
    if (!inst)
        return;
    QString page, pages, text;
    int16_t first = firstRow;
    if (DrawSortList(c, inst->SortEntries, page, pages, text, first)) {
        SetPageArrows(f, true);
        f.LblSortInfo[0].Tag = page;
        f.LblshowPage[1].Tag = pages;
        f.LblshowPage[1].SetCaption(text);
    } else {
        SetPageArrows(f, false);
    }
}

void ImgShowMatch_MouseDown(Client& c)
{
    MatchPanelState& s = c.match.panel;
    if (s.MatchPanelOpening > 0)
        return;
    s.MatchPanelOpening = BusyTick(c);
    BusyMarker busy{s.MatchPanelOpening};
    MainForm& f = *c.MainForm;
    if (IsShown(f.Pic_matchDetail)) {
        f.Pic_matchDetail->hide();
        return;
    }
    HideIfShown(f.Pic_sortDetail);
    const QPointF to = PanelPlace(c);
    ShowListPage(c, TagNumber(f.Pic_matchDetail->Tag));
    GrowPicture(c, f.Pic_matchDetail, 620, 400, static_cast<float>(to.x()), static_cast<float>(to.y()),
                f.ImgShowMatch.Left, f.ImgShowMatch.Top);
}

void ImgShowSort_MouseDown(Client& c)
{
    MatchPanelState& s = c.match.panel;
    if (s.SortPanelOpening > 0)
        return;
    s.SortPanelOpening = BusyTick(c);
    BusyMarker busy{s.SortPanelOpening};
    MainForm& f = *c.MainForm;
    MatchState& m = c.match;
    if (IsShown(f.Pic_sortDetail)) {
        f.Pic_sortDetail->hide();
        return;
    }
    MatchInstance* inst = RankedInstance(c);
    if (!inst)
        return;
    const int32_t id = inst->Id;
    // Ranking rows count from 1.
    const bool ahead = inst->SortEntries.size() >= 2 && inst->Place != 1;
    const double behind = ahead ? inst->SortEntries[1].points - inst->Points : 0.0;
    f.LblSortInfo[2].SetCaption(ahead ? QString::number(behind, 'g', 15) : QStringLiteral("0"));
    const int16_t t = inst->TypeIndex;
    const QString rules = t >= 1 && t <= CountOf(m.tables.MatchTypes)
                              ? m.tables.MatchTypes[static_cast<std::size_t>(t)].rl
                              : QString();
    f.LblSortInfo[4].SetCaption(QStringLiteral("比赛规则：") + rules);
    if (inst->SessionState == 1) {
        if (m.SortRequestTick == 0) {
            m.SortRequestTick = BusyTick(c);
            f.LblSortInfo[0].Tag.clear();
            SendSortRequest(c, id);
        }
        PictureAndTag(f.ImgRefresh, 554, "2");
        f.ImgRefresh.Enabled = false;
        f.ImgRefresh.SetVisible(true);
        f.LblSortTime.SetCaption(inst->StartText);
    } else {
        m.SortRequestTick = 0;
        PictureAndTag(f.ImgRefresh, 554, "2");
        f.ImgRefresh.Enabled = false;
        f.ImgRefresh.SetVisible(false);
        f.LblSortTime.SetCaption(inst->LastStartText);
    }
    f.LblSortTime.SetVisible(true);
    f.LblSortTime.ZOrder(0);
    f.LblSortInfo[3].SetCaption(QString());
    f.LblSortInfo[3].SetVisible(false);

    HideIfShown(f.Pic_matchDetail);
    const QPointF to = PanelPlace(c);
    if (!GrowPicture(c, f.Pic_sortDetail, 620, 400, static_cast<float>(to.x()), static_cast<float>(to.y()),
                     f.ImgShowSort.Left, f.ImgShowSort.Top))
        return;
    ShowRankingPage(c, 1);
}

void ImgOpenMatchBtn_MouseUp(Client& c)
{
    MainForm& f = *c.MainForm;
    const float left = 3 * c.game.ScaleX;
    f.ImgOpenMatchBtn.Tag = QStringLiteral("0");
    if (f.ImgShowMatch.Visible) {
        Picture(f.ImgOpenMatchBtn, 562);
        f.ImgShowMatch.SetVisible(false);
        f.ImgOpenMatchBtn.Move(left, f.ImgOpenMatchBtn.Top);
    } else {
        Picture(f.ImgOpenMatchBtn, 564);
        f.ImgShowMatch.Move(left, f.ImgShowMatch.Top);
        f.ImgOpenMatchBtn.Move(f.ImgShowMatch.Left + 94, f.ImgOpenMatchBtn.Top);
        f.ImgShowMatch.SetVisible(true);
    }
}

void ImgCloseList_Click(Client& c, int16_t index)
{
    MainForm& f = *c.MainForm;
    if (index == 0)
        f.Pic_matchDetail->hide();
    else if (index == 1)
        f.Pic_sortDetail->hide();
}

void Pic_matchDetail_KeyDown(Client& c, int16_t keyCode)
{
    if (keyCode == 27)
        HideIfShown(c.MainForm->Pic_matchDetail);
}

void Pic_sortDetail_KeyDown(Client& c, int16_t keyCode)
{
    if (keyCode == 27)
        HideIfShown(c.MainForm->Pic_sortDetail);
}

namespace {

void DragPress(Client& c, QString& flag, int16_t button, float x, float y)
{
    if (button != platform::vbLeftButton)
        return;
    flag = QStringLiteral("1");
    c.match.panel.PanelDragX = x;
    c.match.panel.PanelDragY = y;
}

// One drag step: true when the panel moved. The move repaints by itself;
// nothing waits here, so no event runs while the handler holds the panel.
bool DragMove(Client& c, platform::PictureBox& panel, const QString& flag, int16_t button, float x, float y)
{
    if (flag != QStringLiteral("1") || !(button & platform::vbLeftButton))
        return false;
    const float dx = x - c.match.panel.PanelDragX;
    const float dy = y - c.match.panel.PanelDragY;
    if (std::abs(dx) < 5 && std::abs(dy) < 5)
        return false;
    MovePanel(panel, dx, dy);
    return true;
}

void DragRelease(Client& c, platform::PictureBox& panel, QString& flag, int16_t button, float x, float y)
{
    if (button != platform::vbLeftButton || flag != QStringLiteral("1"))
        return;
    flag.clear();
    MovePanel(panel, x - c.match.panel.PanelDragX, y - c.match.panel.PanelDragY);
}

} // namespace

void Pic_matchDetail_MouseDown(Client& c, int16_t button, float x, float y)
{
    DragPress(c, c.MainForm->ImgShowSign.Tag, button, x, y);
}

void Pic_matchDetail_MouseMove(Client& c, int16_t button, float x, float y)
{
    MainForm& f = *c.MainForm;
    f.ImgMatchListName.MouseOut();
    for (int i = 0; i < f.ImgMatch.Count(); ++i) {
        if (TagNumber(f.ImgMatch[i].Tag) != 0)
            PictureAndTag(f.ImgMatch[i], 522, "0");
    }
    if (f.ImgSign.Tag != QStringLiteral("0") && f.ImgSign.Visible && f.ImgSign.Enabled)
        PictureAndTag(f.ImgSign, 527, "0");
    if (f.ImgUppage[0].Enabled && f.ImgUppage[0].Visible && f.ImgUppage[0].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgUppage[0], 535, "0");
    if (f.ImgDownpage[0].Enabled && f.ImgDownpage[0].Visible && f.ImgDownpage[0].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgDownpage[0], 538, "0");
    if (f.ImgCloseList[0].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgCloseList[0], 514, "0");
    DragMove(c, *f.Pic_matchDetail, f.ImgShowSign.Tag, button, x, y);
}

void Pic_matchDetail_MouseUp(Client& c, int16_t button, float x, float y)
{
    DragRelease(c, *c.MainForm->Pic_matchDetail, c.MainForm->ImgShowSign.Tag, button, x, y);
}

void Pic_sortDetail_MouseDown(Client& c, int16_t button, float x, float y)
{
    DragPress(c, c.MainForm->Pic_sortDetail->Tag, button, x, y);
}

void Pic_sortDetail_MouseMove(Client& c, int16_t button, float x, float y)
{
    MainForm& f = *c.MainForm;
    platform::PictureBox& panel = *f.Pic_sortDetail;
    if (panel.Tag == QStringLiteral("1") && (button & platform::vbLeftButton)) {
        if (!DragMove(c, panel, panel.Tag, button, x, y))
            return;
        panel.update();
    }
    if (f.ImgCloseList[1].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgCloseList[1], 514, "0");
    if (f.ImgUppage[1].Enabled && f.ImgUppage[1].Visible && f.ImgUppage[1].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgUppage[1], 529, "0");
    if (f.ImgDownpage[1].Enabled && f.ImgDownpage[1].Visible && f.ImgDownpage[1].Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgDownpage[1], 532, "0");
    if (f.ImgRefresh.Enabled && f.ImgRefresh.Visible && f.ImgRefresh.Tag != QStringLiteral("0"))
        PictureAndTag(f.ImgRefresh, 552, "0");
}

void Pic_sortDetail_MouseUp(Client& c, int16_t button, float x, float y)
{
    DragRelease(c, *c.MainForm->Pic_sortDetail, c.MainForm->Pic_sortDetail->Tag, button, x, y);
}

namespace {

void TurnPage(Client& c, int16_t index, int step)
{
    MainForm& f = *c.MainForm;
    if (index == 0) {
        const int32_t cur = TagNumber(f.Pic_matchDetail->Tag);
        const bool can = step > 0 ? cur < TagNumber(f.LblshowPage[0].Tag) : cur > 1;
        if (can)
            ShowListPage(c, cur + step);
        return;
    }
    if (index != 1 || !RankedInstance(c))
        return;
    const int32_t cur = TagNumber(f.LblSortInfo[0].Tag);
    if (step > 0 && cur < TagNumber(f.LblshowPage[1].Tag))
        ShowRankingPage(c, static_cast<int16_t>(std::min<int32_t>(cur * 10 + 1, INT16_MAX)));
    else if (step < 0 && cur > 1)
        ShowRankingPage(c, static_cast<int16_t>(std::min<int32_t>((cur - 2) * 10 + 1, INT16_MAX)));
}

} // namespace

void ImgUppage_Click(Client& c, int16_t index) { TurnPage(c, index, -1); }

void ImgDownpage_Click(Client& c, int16_t index) { TurnPage(c, index, +1); }

void LblMathStart_Click(Client& c, int16_t index)
{
    MainForm& f = *c.MainForm;
    if (index < 0 || index >= f.LblMathStart.Count())
        return;
    const MatchState& m = c.match;
    const int32_t row = TagNumber(f.LblMathStart[index].Tag);
    if (row <= 0 || row > CountOf(m.MatchList))
        return;
    const int16_t t = m.MatchList[static_cast<std::size_t>(row)].TypeIndex;
    if (t >= 1 && t <= CountOf(m.tables.MatchTypes))
        ShowMatchDetail(c, static_cast<int16_t>(row));
}

void ImgSign_Click(Client& c)
{
    MainForm& f = *c.MainForm;
    const int32_t row = TagNumber(f.LblShowName.Tag);
    if (row <= 0)
        return;
    f.ImgSign.Enabled = false;
    // The instance of the row shown; a row that is gone sends nothing.
    if (row <= CountOf(c.match.MatchList)) {
        const int32_t id = c.match.MatchList[static_cast<std::size_t>(row)].Id;
        if (id >= 0)
            SendMatchSign(c, id);
    }
    PictureAndTag(f.ImgSign, 544, "2");
}

void ImgRefresh_Click(Client& c)
{
    MainForm& f = *c.MainForm;
    MatchInstance* inst = RankedInstance(c);
    if (!inst || inst->SessionState != 1)
        return;
    c.match.SortRequestTick = BusyTick(c);
    f.LblSortInfo[0].Tag.clear();
    SendSortRequest(c, inst->Id);
    f.ImgRefresh.Enabled = false;
    PictureAndTag(f.ImgRefresh, 554, "2");
}

namespace {

void Hover(Image& img, int picture)
{
    if (img.Tag != QStringLiteral("1"))
        PictureAndTag(img, picture, "1");
}

} // namespace

void ImgCloseList_MouseMove(Client& c, int16_t index)
{
    if (index == 0 || index == 1)
        Hover(c.MainForm->ImgCloseList[index], 515);
}

void ImgUppage_MouseMove(Client& c, int16_t index)
{
    if (index == 0 || index == 1)
        Hover(c.MainForm->ImgUppage[index], 530 + 6 * (1 - index));
}

void ImgDownpage_MouseMove(Client& c, int16_t index)
{
    if (index == 0 || index == 1)
        Hover(c.MainForm->ImgDownpage[index], 533 + 6 * (1 - index));
}

void ImgRefresh_MouseMove(Client& c) { Hover(c.MainForm->ImgRefresh, 553); }

void ImgSign_MouseMove(Client& c) { Hover(c.MainForm->ImgSign, 528); }

void ImgOpenMatchBtn_MouseMove(Client& c)
{
    MainForm& f = *c.MainForm;
    Hover(f.ImgOpenMatchBtn, f.ImgShowMatch.Visible ? 565 : 563);
}

void ImgMatch_MouseMove(Client& c, int16_t index)
{
    MainForm& f = *c.MainForm;
    if (index < 0 || index >= f.ImgMatch.Count())
        return;
    if (TagNumber(f.ImgMatch[index].Tag) != 1)
        PictureAndTag(f.ImgMatch[index], 523, "1");
}

// ---- Wiring ----

namespace {

// The pointer and keys on a panel's own background (where no control of
// the panel lies), as the panel's handlers take them.
class PanelEvents : public QObject {
public:
    PanelEvents(Client& c, platform::PictureBox* panel, bool isMatchPanel)
        : QObject(panel), c_(c), panel_(panel), match_(isMatchPanel)
    {
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != panel_)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            OnMouse(static_cast<QMouseEvent*>(event));
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                match_ ? Pic_matchDetail_KeyDown(c_, 27) : Pic_sortDetail_KeyDown(c_, 27);
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    void OnMouse(QMouseEvent* e)
    {
        const QPointF at = e->position();
        const float x = static_cast<float>(at.x());
        const float y = static_cast<float>(at.y());
        const bool onBackground = !panel_->ControlAt(x, y);
        const QString& flag = match_ ? c_.MainForm->ImgShowSign.Tag : c_.MainForm->Pic_sortDetail->Tag;
        const bool dragging = flag == QStringLiteral("1");
        int16_t button = 0;
        if (e->type() == QEvent::MouseMove) {
            if (e->buttons() & Qt::LeftButton)
                button |= platform::vbLeftButton;
            if (e->buttons() & Qt::RightButton)
                button |= platform::vbRightButton;
        } else {
            button = e->button() == Qt::LeftButton    ? platform::vbLeftButton
                     : e->button() == Qt::RightButton ? platform::vbRightButton
                                                      : 0;
        }
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            if (onBackground)
                match_ ? Pic_matchDetail_MouseDown(c_, button, x, y) : Pic_sortDetail_MouseDown(c_, button, x, y);
            break;
        case QEvent::MouseMove:
            if (onBackground || dragging)
                match_ ? Pic_matchDetail_MouseMove(c_, button, x, y) : Pic_sortDetail_MouseMove(c_, button, x, y);
            break;
        default:
            if (dragging)
                match_ ? Pic_matchDetail_MouseUp(c_, button, x, y) : Pic_sortDetail_MouseUp(c_, button, x, y);
            break;
        }
    }

    Client& c_;
    platform::PictureBox* panel_;
    bool match_;
};

} // namespace

void WireMatchPanel(Client& c)
{
    MainForm& f = *c.MainForm;
    f.ImgShowMatch.MouseDown = [&c](int16_t, int16_t, float, float) { ImgShowMatch_MouseDown(c); };
    f.ImgShowSort.MouseDown = [&c](int16_t, int16_t, float, float) { ImgShowSort_MouseDown(c); };
    f.ImgOpenMatchBtn.MouseUp = [&c](int16_t, int16_t, float, float) { ImgOpenMatchBtn_MouseUp(c); };
    f.ImgOpenMatchBtn.MouseMove = [&c](int16_t, int16_t, float, float) { ImgOpenMatchBtn_MouseMove(c); };
    for (int16_t i = 0; i < 2; ++i) {
        f.ImgCloseList[i].Click = [&c, i] { ImgCloseList_Click(c, i); };
        f.ImgCloseList[i].MouseMove = [&c, i](int16_t, int16_t, float, float) { ImgCloseList_MouseMove(c, i); };
        f.ImgUppage[i].Click = [&c, i] { ImgUppage_Click(c, i); };
        f.ImgUppage[i].MouseMove = [&c, i](int16_t, int16_t, float, float) { ImgUppage_MouseMove(c, i); };
        f.ImgDownpage[i].Click = [&c, i] { ImgDownpage_Click(c, i); };
        f.ImgDownpage[i].MouseMove = [&c, i](int16_t, int16_t, float, float) { ImgDownpage_MouseMove(c, i); };
    }
    f.ImgSign.Click = [&c] { ImgSign_Click(c); };
    f.ImgSign.MouseMove = [&c](int16_t, int16_t, float, float) { ImgSign_MouseMove(c); };
    f.ImgRefresh.Click = [&c] { ImgRefresh_Click(c); };
    f.ImgRefresh.MouseMove = [&c](int16_t, int16_t, float, float) { ImgRefresh_MouseMove(c); };
    new PanelEvents(c, f.Pic_matchDetail, true);
    new PanelEvents(c, f.Pic_sortDetail, false);
    WireMatchRows(c);
}

void WireMatchRows(Client& c)
{
    MainForm& f = *c.MainForm;
    // Every element of a row, those the layout loads included.
    for (int16_t i = 0; i < f.ImgMatch.Count(); ++i) {
        f.ImgMatch[i].Click = [&c, i] { LblMathStart_Click(c, i); };
        f.ImgMatch[i].MouseMove = [&c, i](int16_t, int16_t, float, float) { ImgMatch_MouseMove(c, i); };
    }
    for (auto* row : {&f.LblMathName, &f.LblMathStart, &f.LblMathLeft, &f.LblMathNum}) {
        for (int16_t i = 0; i < row->Count(); ++i)
            (*row)[i].Click = [&c, i] { LblMathStart_Click(c, i); };
    }
}

} // namespace match
