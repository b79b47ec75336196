// The match panels: their layout at both scales, the list page and the
// detail area, the handlers through real mouse events, the match clock
// across midnight and the new year, and the panel growing while it closes.
#include "support/mouse.h"
#include "match/match.h"
#include "match/match_clock.h"
#include "match/match_list_page.h"
#include "match/match_panel.h"

#include "core/rings.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace testing_support;
using match::MatchInstance;
using match::MatchType;
using match::PrizeRow;

namespace {

MatchType Type(int32_t id, const QString& name, match::PrizeTable prizes = {})
{
    MatchType t;
    t.id = id;
    t.na = name;
    t.utl = 8;
    t.ut = 64;
    t.FeeText = QStringLiteral("500金币");
    t.des = QStringLiteral("每周一赛");
    t.rl = QStringLiteral("积分高者胜");
    t.PrizeRows = std::move(prizes);
    return t;
}

MatchInstance Session(int32_t id, const QString& start, uint8_t state = 0, int32_t stage = 100)
{
    MatchInstance r;
    r.Id = id;
    r.TypeIndex = 1;
    r.StartText = start;
    r.SessionState = state;
    r.ClockStage = stage;
    r.SignCount = 12;
    r.Duration = 600;
    r.DurationText = QStringLiteral("10分");
    return r;
}

MatchInstance Result(int32_t id, int16_t place, bool took_part = true)
{
    MatchInstance r;
    r.Id = id;
    r.TypeIndex = 1;
    r.ChampionKnown = -1;
    r.StartText = QStringLiteral("05-01 20:00:00");
    r.ChampionStartText = QStringLiteral("05-01 20:00:00");
    r.LastStartText = took_part ? r.ChampionStartText : QStringLiteral("04-24 20:00:00");
    r.ChampionName = QStringLiteral("雀神");
    r.ChampionPrize = QStringLiteral("1000金币");
    r.Place = place;
    r.LastPrizes = {{QStringLiteral("第1名"), QStringLiteral("1000金币"), QString()},
                    {QStringLiteral("第2-3名"), QStringLiteral("500金币"), QString()},
                    {QStringLiteral("第4-10名"), QStringLiteral("100金币"), QString()},
                    {QStringLiteral("第11-12-13名"), QStringLiteral("10金币"), QString()}};
    return r;
}

struct PanelFixture : ::testing::Test {
    TestClient t;
    Client& c = t.client;
    window::MainForm& f = *c.MainForm;
    match::MatchState& m = c.match;

    void SetUp() override { Build(1.0f); }

    void Build(float scale)
    {
        c.game.ScaleX = c.game.ScaleY = scale;
        match::InitMatch(c);
        match::BuildMatchPanel(c);
        m.tables.MatchTypes = {MatchType{}, Type(7, QStringLiteral("周赛"),
                                                 {{QStringLiteral("第1名"), QStringLiteral("1000金币"), QString()}})};
    }

    // A list of `rows` session rows over one instance of type 1.
    void List(std::vector<MatchInstance> rows)
    {
        m.MatchInstances = {MatchInstance{}, rows.empty() ? Session(7, QString()) : rows.front()};
        m.MatchInstances[1].TypeIndex = 1;
        m.MatchList = {MatchInstance{}};
        for (auto& r : rows)
            m.MatchList.push_back(r);
    }
    std::vector<MatchInstance> Sessions(int n)
    {
        std::vector<MatchInstance> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back(Session(100 + i, QStringLiteral("05-0%1 20:00:00").arg(i % 10)));
        return rows;
    }

    void ShowTable()
    {
        f.move(40, 30);
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    void TearDown() override { f.hide(); }

    static void Press(QWidget* w, QPoint at) { QTest::mousePress(w, Qt::LeftButton, {}, at); }
    static void Click(QWidget* w, QPoint at)
    {
        QTest::mousePress(w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    }
    static void Move(QWidget* w, QPoint at, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    // The frames the client queued, oldest first.
    std::vector<QByteArray> Queued()
    {
        std::vector<QByteArray> out;
        core::FrameRing& ring = c.core.SendRing;
        while (ring.HasFrame()) {
            out.emplace_back(reinterpret_cast<const char*>(ring.FrontFrame()), protocol::kFrameSize);
            ring.PopFrame();
        }
        return out;
    }
    static int32_t IdOf(const QByteArray& frame)
    {
        return static_cast<int32_t>(static_cast<uint8_t>(frame[16]) | static_cast<uint8_t>(frame[17]) << 8 |
                                    static_cast<uint8_t>(frame[18]) << 16 | static_cast<uint8_t>(frame[19]) << 24);
    }
};

// ---- Layout ----

TEST_F(PanelFixture, LayoutAtBothScales)
{
    for (float scale : {1.0f, 0.78125f}) {
        SCOPED_TRACE(scale);
        TestClient fresh;
        Client& cc = fresh.client;
        window::MainForm& ff = *cc.MainForm;
        cc.game.ScaleX = cc.game.ScaleY = scale;
        match::BuildMatchPanel(cc);
        const float nudge = scale < 1 ? 2.0f : 0.0f;
        ASSERT_EQ(ff.ImgMatch.Count(), 5);
        EXPECT_EQ(ff.LblShowTip.Count(), 4);
        EXPECT_EQ(ff.LblShowInfo.Count(), 4);
        EXPECT_EQ(ff.LblInfoLMatch.Count(), 7);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(ff.ImgMatch[i].Top, 55 + 65 * i);
            EXPECT_EQ(ff.LblMathName[i].Top, 60 + 65 * i);
            EXPECT_EQ(ff.LblMathLeft[i].Top, 85 + 65 * i + nudge);
            EXPECT_EQ(ff.LblMathNum[i].Top, 85 + 65 * i + nudge);
            EXPECT_FALSE(ff.ImgMatch[i].Visible);
            EXPECT_EQ(ff.ImgMatch[i].Tag, QStringLiteral("0"));
        }
        // The products handed on unrounded.
        EXPECT_FLOAT_EQ(ff.ImgShowMatch.Left, 3 * scale);
        EXPECT_FLOAT_EQ(ff.ImgShowMatch.Top, 230 * scale);
        EXPECT_FLOAT_EQ(ff.ImgOpenMatchBtn.Left, 3 * scale + 94);
        EXPECT_FLOAT_EQ(ff.ImgShowSort.Top, ff.ImgShowMatch.Top + ff.ImgShowMatch.Height + 5 * scale);
        EXPECT_EQ(ff.moveWord1->geometry(), QRect(qRound(156 * scale), qRound(97 * scale), qRound(728 * scale),
                                                  qRound(25 * scale)));
        EXPECT_EQ(ff.moveWord1->FontSize(), scale < 1 ? 10 : 12);
        EXPECT_FLOAT_EQ(ff.LblPrizeInfo[0].Top, ff.LblNote.Top + ff.LblNote.Height + 9 + nudge);
        // The description never meets the fee line.
        EXPECT_GE(ff.LblNote.Top, ff.LblShowTip[3].Top + ff.LblShowTip[3].Height);
        EXPECT_EQ(ff.LblShowTip[0].Caption, QStringLiteral("开赛时间："));
        EXPECT_EQ(ff.LblShowTip[3].Caption, QStringLiteral("报名费用："));
        EXPECT_FALSE(ff.ImgShowMatch.Visible);
        EXPECT_FALSE(ff.ImgOpenMatchBtn.Visible);
        EXPECT_FALSE(ff.ImgOpenMatchBtn.Enabled);
        EXPECT_EQ(ff.LblshowPage[0].Caption, QStringLiteral("1/1"));
        EXPECT_EQ(ff.LblshowPage[1].Caption, QStringLiteral("1/1"));
        EXPECT_FALSE(ff.LblshowPage[1].Visible);
        EXPECT_EQ(ff.ImgRefresh.Tag, QStringLiteral("2"));
        EXPECT_FALSE(ff.ImgRefresh.Enabled);
        EXPECT_TRUE(ff.ImgMatchListName.Visible);
    }
}

TEST_F(PanelFixture, ASecondBuildCreatesNothingAndEmptiesTheLoadedPrizeLines)
{
    List({Session(7, QStringLiteral("05-01 20:00:00"))});
    m.MatchList[1].Prizes = {{QStringLiteral("第1名"), QStringLiteral("a"), QString()},
                             {QStringLiteral("第2名"), QStringLiteral("b"), QString()},
                             {QStringLiteral("第3名"), QStringLiteral("c"), QString()}};
    match::ShowMatchDetail(c, 1);
    ASSERT_EQ(f.LblPrizeInfo.Count(), 3);
    const float showSortTop = f.ImgShowSort.Top;
    f.ImgShowMatch.Move(300, 300);
    f.ImgShowSort.Move(310, 310);
    f.ImgShowMatch.Tag = QStringLiteral("2");

    match::BuildMatchPanel(c);
    EXPECT_EQ(f.ImgMatch.Count(), 5);
    EXPECT_EQ(f.LblMathName.Count(), 5);
    EXPECT_EQ(f.LblShowTip.Count(), 4);
    EXPECT_EQ(f.LblInfoLMatch.Count(), 7);
    EXPECT_EQ(f.LblPrizeInfo.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(f.LblPrizeInfo[i].Visible);
        EXPECT_TRUE(f.LblPrizeInfo[i].Caption.isEmpty());
    }
    // Only the match button goes back; the ranking button and the caption
    // rotation stay.
    EXPECT_FLOAT_EQ(f.ImgShowMatch.Left, 3);
    EXPECT_FLOAT_EQ(f.ImgShowSort.Top, 310);
    EXPECT_NE(showSortTop, 310);
    EXPECT_EQ(f.ImgShowMatch.Tag, QStringLiteral("2"));
}

// ---- List page ----

TEST_F(PanelFixture, ListPageFillingAndPaging)
{
    const struct {
        const char* what;
        int rows;
        int16_t page;
        bool result;
        int16_t shown;
        int bars;
        const char* text;
        bool arrows;
    } cases[] = {
        {"page 0 shows page 1", 7, 0, true, 1, 5, "1/2", true},
        {"a negative page shows page 1", 7, -3, true, 1, 5, "1/2", true},
        {"page 9 of 7 rows shows page 2", 7, 9, true, 2, 2, "2/2", true},
        {"five rows: one page", 5, 1, true, 1, 5, "1/1", false},
        {"no rows", 0, 1, false, 1, 0, "1/1", false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        List(Sessions(k.rows));
        int16_t page = k.page;
        EXPECT_EQ(match::InitCurMatchShow(c, page), k.result);
        int bars = 0;
        for (int l = 0; l < 5; ++l)
            bars += f.ImgMatch[l].Visible ? 1 : 0;
        EXPECT_EQ(bars, k.bars);
        EXPECT_EQ(f.LblshowPage[0].Caption, QString::fromLatin1(k.text));
        EXPECT_EQ(f.ImgUppage[0].Visible, k.arrows);
        EXPECT_EQ(f.ImgDownpage[0].Enabled, k.arrows);
        EXPECT_EQ(f.LblshowPage[0].Visible, k.arrows);
        if (k.result) {
            EXPECT_EQ(page, k.shown);
            EXPECT_EQ(f.Pic_matchDetail->Tag, QString::number(k.shown));
            EXPECT_EQ(f.LblMathStart[0].Tag, QString::number((k.shown - 1) * 5 + 1));
        } else {
            EXPECT_TRUE(f.Pic_matchDetail->Tag.isEmpty());
        }
    }
}

TEST_F(PanelFixture, RowTexts)
{
    const struct {
        const char* what;
        uint8_t state;
        int32_t stage;
        const char* left;
        const char* num;
    } cases[] = {
        {"before the start", 0, 61, "距离开赛时间：1分1秒", "12人已报名"},
        {"running", 1, 59, "距离结束时间：59秒", "12人已报名"},
        {"stage 0", 0, 0, "", ""},
        {"state 2", 2, 100, "", ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        List({Session(7, QStringLiteral("05-01 20:00:00"), k.state, k.stage)});
        int16_t page = 1;
        ASSERT_TRUE(match::InitCurMatchShow(c, page));
        EXPECT_EQ(f.LblMathName[0].Caption, QStringLiteral("Kavelin周赛"));
        EXPECT_EQ(f.LblMathName[0].Tag, QStringLiteral("7"));
        EXPECT_EQ(f.LblMathStart[0].Caption, QStringLiteral("05-01 20:00:00"));
        EXPECT_EQ(f.LblMathLeft[0].Caption, QString::fromUtf8(k.left));
        EXPECT_EQ(f.LblMathNum[0].Caption, QString::fromUtf8(k.num));
    }
}

TEST_F(PanelFixture, ResultRowsOnTheStatusCard)
{
    const struct {
        const char* what;
        int16_t place;
        bool tookPart;
        const char* placeText;
        const char* prize;
    } cases[] = {
        {"place 3 in the range 2-3", 3, true, "第3名", "500金币"},
        {"place 1", 1, true, "第1名", "1000金币"},
        {"place 11: no row fits (a place text with two dashes fits none)", 11, true, "第11名", "无"},
        {"another session", 2, false, "未参赛", "未参赛"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        List({Session(7, QStringLiteral("05-08 20:00:00")), Result(7, k.place, k.tookPart)});
        int16_t page = 1;
        ASSERT_TRUE(match::InitCurMatchShow(c, page));
        EXPECT_FALSE(f.LMatchShow->isHidden());
        EXPECT_EQ(f.LMatchShow->pos(), QPoint(15, 120));
        EXPECT_EQ(f.LblInfoLMatch[1].Tag, QStringLiteral("2"));
        EXPECT_EQ(f.LblInfoLMatch[2].Caption, QStringLiteral("已结束"));
        EXPECT_EQ(f.LblInfoLMatch[3].Caption, QString::fromUtf8(k.placeText));
        EXPECT_EQ(f.LblInfoLMatch[4].Caption, QString::fromUtf8(k.prize));
        EXPECT_EQ(f.LblInfoLMatch[5].Caption, QStringLiteral("雀神"));
        EXPECT_TRUE(f.LblMathStart[1].Tag.isEmpty());
    }
}

// ---- Detail area ----

TEST_F(PanelFixture, DetailOfASessionRow)
{
    const struct {
        const char* what;
        uint8_t signedUp;
        uint8_t state;
        bool signButton;
        int stamp; // 0: no stamp
    } cases[] = {
        {"open for sign-up", 0, 0, true, 0},
        {"signed up and running: the signed-up stamp", 1, 1, false, 526},
        {"running, not signed up", 0, 1, false, 542},
        {"ended", 0, 2, false, 543},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        MatchInstance r = Session(7, QStringLiteral("05-01 20:00:00"), k.state);
        r.SignedUp = k.signedUp;
        List({r});
        f.ImgSign.Enabled = false; // an earlier click
        match::ShowMatchDetail(c, 1);
        EXPECT_EQ(f.LblShowName.Tag, QStringLiteral("1"));
        EXPECT_EQ(f.LblShowName.Caption, QStringLiteral("Kavelin周赛"));
        EXPECT_EQ(f.LblShowInfo[0].Caption, QStringLiteral("05-01 20:00:00"));
        EXPECT_EQ(f.LblShowInfo[1].Caption, QStringLiteral("8-64"));
        EXPECT_EQ(f.LblShowInfo[2].Caption, QStringLiteral("10分"));
        EXPECT_EQ(f.LblShowInfo[3].Caption, QStringLiteral("500金币"));
        EXPECT_EQ(f.LblNote.Caption, QStringLiteral("每周一赛"));
        EXPECT_EQ(f.ImgSign.Visible, k.signButton);
        EXPECT_TRUE(f.ImgSign.Enabled);
        if (k.signButton) {
            EXPECT_EQ(f.ImgSign.Tag, QStringLiteral("0"));
        }
        EXPECT_EQ(f.ImgShowSign.Visible, k.stamp != 0);
        if (k.stamp) {
            EXPECT_EQ(f.ImgShowSign.PictureId(), k.stamp);
        }
        // Without prizes of its own the type's rows show.
        EXPECT_EQ(f.LblPrizeInfo[0].Caption, QStringLiteral("第1名: 1000金币"));
    }
}

TEST_F(PanelFixture, DetailOfAResultRowOrNoRowStaysCleared)
{
    List({Result(7, 1)});
    for (int16_t row : {int16_t{0}, int16_t{1}, int16_t{2}, int16_t{-1}}) {
        SCOPED_TRACE(row);
        match::ShowMatchDetail(c, row);
        EXPECT_TRUE(f.LblShowName.Tag.isEmpty());
        EXPECT_TRUE(f.LblShowName.Caption.isEmpty());
        EXPECT_FALSE(f.ImgSign.Visible);
    }
}

TEST_F(PanelFixture, PrizeLinesStackTwoPixelsApart)
{
    MatchInstance r = Session(7, QStringLiteral("05-01 20:00:00"));
    for (int i = 1; i <= 5; ++i)
        r.Prizes.push_back({QStringLiteral("第%1名").arg(i), QStringLiteral("奖"), QString()});
    r.Prizes.erase(r.Prizes.begin()); // drop the empty default row
    List({r});
    match::ShowMatchDetail(c, 1);
    ASSERT_EQ(f.LblPrizeInfo.Count(), 5);
    for (int j = 1; j < 5; ++j) {
        EXPECT_TRUE(f.LblPrizeInfo[j].Visible);
        EXPECT_FLOAT_EQ(f.LblPrizeInfo[j].Top, f.LblPrizeInfo[j - 1].Top + f.LblPrizeInfo[j - 1].Height + 2);
        EXPECT_FLOAT_EQ(f.LblPrizeInfo[j].Left, f.LblPrizeInfo[0].Left);
    }
}

// ---- Handlers through the mouse ----

struct OpenPanelFixture : PanelFixture {
    void SetUp() override
    {
        PanelFixture::SetUp();
        m.MatchInstances = {MatchInstance{}};
        for (const MatchInstance& s : Sessions(7))
            m.MatchInstances.push_back(s);
        ASSERT_TRUE(match::CompleteMatchPanel(c));
        m.MatchDataReady = -1;
        ShowTable();
    }
    void PressShowMatch() { Click(f.pic1, testing_support::CentreOf(f.ImgShowMatch)); }
};

TEST_F(OpenPanelFixture, OpenPageChooseARowAndSignUp)
{
    ASSERT_TRUE(f.ImgShowMatch.Visible);
    PressShowMatch();
    ASSERT_FALSE(f.Pic_matchDetail->isHidden());
    EXPECT_EQ(f.Pic_matchDetail->geometry(), QRect((1024 - 620) / 2, (768 - 400) / 2, 620, 400));
    EXPECT_EQ(m.panel.MatchPanelOpening, 0u);
    EXPECT_EQ(f.LblShowName.Tag, QStringLiteral("1"));

    // The next page, then a row of it.
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgDownpage[0]));
    EXPECT_EQ(f.Pic_matchDetail->Tag, QStringLiteral("2"));
    EXPECT_EQ(f.LblShowName.Tag, QStringLiteral("6"));
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.LblMathStart[1]));
    EXPECT_EQ(f.LblShowName.Tag, QStringLiteral("7"));
    // Forward on the last page does nothing; back returns.
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgDownpage[0]));
    EXPECT_EQ(f.Pic_matchDetail->Tag, QStringLiteral("2"));
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgUppage[0]));
    EXPECT_EQ(f.Pic_matchDetail->Tag, QStringLiteral("1"));
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgUppage[0]));
    EXPECT_EQ(f.Pic_matchDetail->Tag, QStringLiteral("1"));

    // Sign up for the row shown: kind 72 with its instance id.
    Click(f.Pic_matchDetail, QPoint(20, 55 + 65 * 2 + 5)); // the bar of row 2
    ASSERT_EQ(f.LblShowName.Tag, QStringLiteral("3"));
    Queued();
    ASSERT_TRUE(f.ImgSign.Visible);
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgSign));
    const auto frames = Queued();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(frames[0][3]), 72);
    EXPECT_EQ(IdOf(frames[0]), 103);
    EXPECT_EQ(f.ImgSign.Tag, QStringLiteral("2"));
    EXPECT_EQ(f.ImgSign.PictureId(), 544);
    EXPECT_FALSE(f.ImgSign.Enabled);

    // The entry button closes it again.
    PressShowMatch();
    EXPECT_TRUE(f.Pic_matchDetail->isHidden());
}

TEST_F(OpenPanelFixture, HoverPictures)
{
    PressShowMatch();
    const QPoint bar(20, 55 + 65 + 5);
    Move(f.Pic_matchDetail, bar);
    EXPECT_EQ(f.ImgMatch[1].Tag, QStringLiteral("1"));
    EXPECT_EQ(f.ImgMatch[1].PictureId(), 523);
    Move(f.Pic_matchDetail, testing_support::CentreOf(f.ImgCloseList[0]));
    EXPECT_EQ(f.ImgCloseList[0].PictureId(), 515);
    Move(f.Pic_matchDetail, testing_support::CentreOf(f.ImgDownpage[0]));
    EXPECT_EQ(f.ImgDownpage[0].PictureId(), 539);
    // The background puts them all back.
    Move(f.Pic_matchDetail, QPoint(345, 200));
    EXPECT_EQ(f.ImgMatch[1].Tag, QStringLiteral("0"));
    EXPECT_EQ(f.ImgMatch[1].PictureId(), 522);
    EXPECT_EQ(f.ImgCloseList[0].PictureId(), 514);
    EXPECT_EQ(f.ImgDownpage[0].PictureId(), 538);
    // The close button closes.
    Click(f.Pic_matchDetail, testing_support::CentreOf(f.ImgCloseList[0]));
    EXPECT_TRUE(f.Pic_matchDetail->isHidden());
}

TEST_F(OpenPanelFixture, DraggingBelowFivePixelsWaitsForTheRelease)
{
    PressShowMatch();
    const QPoint start = f.Pic_matchDetail->pos();
    const QPoint at(345, 200);
    Press(f.Pic_matchDetail, at);
    Move(f.Pic_matchDetail, at + QPoint(4, 4), Qt::LeftButton);
    EXPECT_EQ(f.Pic_matchDetail->pos(), start);
    QTest::mouseRelease(f.Pic_matchDetail, Qt::LeftButton, {}, at + QPoint(4, 4));
    EXPECT_EQ(f.Pic_matchDetail->pos(), start + QPoint(4, 4));
    EXPECT_TRUE(f.ImgShowSign.Tag.isEmpty());
    const QPoint again(345, 260);
    Press(f.Pic_matchDetail, again);
    Move(f.Pic_matchDetail, again + QPoint(12, -7), Qt::LeftButton);
    EXPECT_EQ(f.Pic_matchDetail->pos(), start + QPoint(16, -3));
}

TEST_F(OpenPanelFixture, RankingPanelOpensOnceWhilePressedAgainDuringTheGrowth)
{
    MatchInstance& inst = m.MatchInstances[1];
    inst.Id = 101;
    inst.SessionState = 1;
    inst.SignedUp = 1;
    inst.Points = 30;
    inst.Place = 3;
    inst.SortEntries.resize(1);
    for (int i = 1; i <= 12; ++i)
        inst.SortEntries.push_back({QStringLiteral("p%1").arg(i), 100 - i});
    f.ListSort->Tag = QStringLiteral("101");
    f.ImgShowSort.SetVisible(true);
    f.ImgShowSort.Enabled = true;
    Queued();
    int pressedAgain = 0;
    t.clock.onEvents = [&] {
        if (pressedAgain++ == 2)
            match::ImgShowSort_MouseDown(c); // a second press while it grows
    };
    Press(f.pic1, testing_support::CentreOf(f.ImgShowSort));
    QTest::mouseRelease(f.pic1, Qt::LeftButton, {}, testing_support::CentreOf(f.ImgShowSort));
    t.clock.onEvents = nullptr;
    EXPECT_GT(pressedAgain, 2);
    ASSERT_FALSE(f.Pic_sortDetail->isHidden());
    const auto frames = Queued();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(frames[0][3]), 79);
    EXPECT_EQ(IdOf(frames[0]), 101);
    EXPECT_EQ(f.LblSortInfo[2].Caption, QStringLiteral("69")); // 99 - 30
    EXPECT_EQ(f.LblSortInfo[4].Caption, QStringLiteral("比赛规则：积分高者胜"));
    EXPECT_FALSE(f.ImgRefresh.Enabled);
    EXPECT_TRUE(f.ImgRefresh.Visible);
    // Twelve rows: two pages with their arrows.
    EXPECT_TRUE(f.ImgDownpage[1].Visible);
    EXPECT_EQ(f.LblshowPage[1].Caption, QStringLiteral("1/2"));
    Click(f.Pic_sortDetail, testing_support::CentreOf(f.ImgDownpage[1]));
    EXPECT_EQ(f.LblshowPage[1].Caption, QStringLiteral("2/2"));
    // Refresh is off until the clock gives it back.
    Click(f.Pic_sortDetail, testing_support::CentreOf(f.ImgRefresh));
    EXPECT_TRUE(Queued().empty());
    // Esc closes the panel.
    f.Pic_sortDetail->setFocus();
    QTest::keyClick(f.Pic_sortDetail, Qt::Key_Escape);
    EXPECT_TRUE(f.Pic_sortDetail->isHidden());
}

TEST_F(OpenPanelFixture, RankingDrawnFromTheInstanceTableAsItStandsAfterTheGrowth)
{
    m.MatchInstances[1].Id = 101;
    f.ListSort->Tag = QStringLiteral("101");
    int round = 0;
    t.clock.onEvents = [&] {
        if (++round != 3)
            return;
        // A new instance list arrives while the panel grows: the old table
        // is gone.
        std::vector<MatchInstance> fresh(2);
        fresh[1] = Session(101, QStringLiteral("05-01 20:00:00"));
        fresh[1].SortEntries.resize(1);
        for (int i = 1; i <= 25; ++i)
            fresh[1].SortEntries.push_back({QStringLiteral("p%1").arg(i), 100 - i});
        m.MatchInstances = std::move(fresh);
        m.MatchInstances.shrink_to_fit();
    };
    match::ImgShowSort_MouseDown(c);
    t.clock.onEvents = nullptr;
    ASSERT_FALSE(f.Pic_sortDetail->isHidden());
    EXPECT_EQ(f.LblshowPage[1].Caption, QStringLiteral("1/3"));
}

TEST_F(OpenPanelFixture, RankingPanelWithoutAKnownInstanceOpensNothing)
{
    for (const char* tag : {"", "0", "999"}) {
        SCOPED_TRACE(tag);
        f.ListSort->Tag = QString::fromLatin1(tag);
        match::ImgShowSort_MouseDown(c);
        EXPECT_TRUE(f.Pic_sortDetail->isHidden());
        EXPECT_EQ(m.panel.SortPanelOpening, 0u);
    }
}

// ---- Growing while the panel closes ----

TEST_F(OpenPanelFixture, GrowthStopsWhenThePanelClosesMidway)
{
    const struct {
        const char* what;
        std::function<void(PanelFixture&)> close;
    } cases[] = {
        {"the close button", [](PanelFixture& p) { match::ImgCloseList_Click(p.c, 0); }},
        {"the other entry button hides it", [](PanelFixture& p) {
             p.f.ListSort->Tag = QStringLiteral("101");
             p.m.MatchInstances[1].Id = 101;
             match::ImgShowSort_MouseDown(p.c);
         }},
        {"the program closing", [](PanelFixture& p) { p.m.AppClosing = -1; }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        m.AppClosing = 0;
        f.Pic_matchDetail->hide();
        f.Pic_sortDetail->hide();
        int round = 0;
        t.clock.onEvents = [&] {
            if (++round == 4)
                k.close(*this);
        };
        match::ImgShowMatch_MouseDown(c);
        t.clock.onEvents = nullptr;
        EXPECT_TRUE(f.Pic_matchDetail->isHidden());
        EXPECT_NE(f.Pic_matchDetail->size(), QSize(620, 400));
        EXPECT_EQ(m.panel.MatchPanelOpening, 0u);
    }
}

TEST(GrowPicture, APanelDestroyedWhileItGrowsIsNotTouchedAgain)
{
    TestClient t;
    auto* box = new platform::PictureBox(t.client.MainForm->pic1, QStringLiteral("doomed"));
    QPointer<platform::PictureBox> guard(box);
    int round = 0;
    t.clock.onEvents = [&] {
        if (++round == 3)
            delete box;
    };
    EXPECT_FALSE(match::GrowPicture(t.client, box, 620, 400, 200, 180, 0, 0));
    EXPECT_TRUE(guard.isNull());
}

TEST(GrowPicture, TenStepsAtLeastTwentyMillisecondsApart)
{
    TestClient t;
    platform::PictureBox* box = t.client.MainForm->Pic_matchDetail;
    std::vector<std::pair<uint32_t, QRect>> steps;
    QRect last;
    t.clock.onEvents = [&] {
        if (box->geometry() != last && !box->isHidden()) {
            last = box->geometry();
            steps.emplace_back(t.clock.ms, last);
        }
    };
    const uint32_t start = t.clock.ms;
    EXPECT_TRUE(match::GrowPicture(t.client, box, 620, 400, 202, 184, 2, 180));
    EXPECT_EQ(box->geometry(), QRect(202, 184, 620, 400));
    EXPECT_FALSE(box->isHidden());
    EXPECT_GE(t.clock.ms - start, 200u);
    ASSERT_EQ(steps.size(), 9u); // the last step shows after the last wait
    EXPECT_EQ(steps[0].second, QRect(22, 180, 62, 40));
}

// ---- The match clock ----

struct ClockFixture : PanelFixture {
    static uint32_t At(int y, int mo, int d, int h, int mi, int s)
    {
        return static_cast<uint32_t>(
            QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc()).toSecsSinceEpoch());
    }
    void Start(uint32_t serverClock)
    {
        m.MatchPanelReady = -1;
        c.game.InputEnabled = -1;
        t.clock.ms = 5000;
        m.ServerClock = serverClock;
        m.ClockSyncTick = m.ClockStepTick = t.clock.ms;
    }
};

TEST_F(ClockFixture, CountdownsAcrossMidnightAndTheNewYear)
{
    const struct {
        const char* what;
        int16_t roomMode;
        uint32_t now;
        const char* start;
        uint8_t state;
        int32_t stage;
        const char* left;
    } cases[] = {
        {"a start just after the new year", 0, At(2026, 12, 31, 23, 59, 50), "01-01 00:00:10", 0, 20,
         "距离开赛时间：20秒"},
        {"a start just after midnight, time of day only", 1, At(2026, 5, 1, 23, 59, 50), "00:00:10", 0, 20,
         "距离开赛时间：20秒"},
        {"running since before the new year", 0, At(2027, 1, 1, 0, 0, 30), "12-31 23:59:30", 1, 540,
         "距离结束时间：9分"},
        {"running since before midnight", 1, At(2026, 5, 2, 0, 1, 0), "23:59:00", 1, 480,
         "距离结束时间：8分"},
        {"a start passed in state 0 shows 3 seconds", 0, At(2026, 5, 1, 20, 0, 5), "05-01 20:00:00", 0, 3,
         "距离开赛时间：3秒"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        m.RoomMatchMode = k.roomMode;
        List({Session(7, QString::fromLatin1(k.start), k.state, 0)});
        int16_t page = 1;
        ASSERT_TRUE(match::InitCurMatchShow(c, page));
        f.Pic_matchDetail->show();
        Start(k.now);
        match::MatchTimerTick(c);
        EXPECT_EQ(m.MatchList[1].ClockStage, k.stage);
        EXPECT_EQ(f.LblMathLeft[0].Caption, QString::fromUtf8(k.left));
        f.Pic_matchDetail->hide();
    }
}

TEST_F(ClockFixture, AdvancesOnceASecondAndGivesTheRefreshButtonBack)
{
    List({Session(7, QStringLiteral("05-01 20:00:00"))});
    Start(At(2026, 5, 1, 19, 0, 0));
    match::MatchTimerTick(c);
    EXPECT_EQ(f.LblServerTime.Caption, QStringLiteral("2026-05-01 19:00:00"));
    t.clock.Advance(1000);
    match::MatchTimerTick(c);
    EXPECT_EQ(f.LblServerTime.Caption, QStringLiteral("2026-05-01 19:00:01"));
    // Less than a second after the last step: nothing this tick.
    t.clock.Advance(500);
    match::MatchTimerTick(c);
    EXPECT_EQ(f.LblServerTime.Caption, QStringLiteral("2026-05-01 19:00:01"));
    t.clock.Advance(500);

    f.Pic_sortDetail->show();
    f.ImgRefresh.SetVisible(true);
    f.ImgRefresh.Enabled = false;
    m.SortRequestTick = t.clock.ms;
    t.clock.Advance(15000);
    match::MatchTimerTick(c);
    EXPECT_FALSE(f.ImgRefresh.Enabled);
    t.clock.Advance(1000);
    match::MatchTimerTick(c);
    EXPECT_TRUE(f.ImgRefresh.Enabled);
    EXPECT_EQ(f.ImgRefresh.Tag, QStringLiteral("0"));
    EXPECT_EQ(f.ImgRefresh.PictureId(), 552);
    EXPECT_EQ(m.SortRequestTick, 0u);
}

TEST_F(ClockFixture, AutomaticSignUpOnceWithinTheLead)
{
    List({Session(7, QStringLiteral("05-01 20:00:00"))});
    m.AutoSignLead = 60;
    Start(At(2026, 5, 1, 19, 58, 59)); // 61 s before
    match::MatchTimerTick(c);
    EXPECT_TRUE(Queued().empty());
    for (int i = 0; i < 3; ++i) {
        t.clock.Advance(1000);
        match::MatchTimerTick(c);
    }
    const auto frames = Queued();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(frames[0][3]), 72);
    EXPECT_EQ(IdOf(frames[0]), 7);
}

TEST_F(ClockFixture, TimeIsAskedForOnlyWithTheListOpen)
{
    List({Session(7, QStringLiteral("05-01 20:00:00"))});
    int16_t page = 1;
    ASSERT_TRUE(match::InitCurMatchShow(c, page));
    Start(At(2026, 5, 1, 19, 0, 0));
    t.clock.Advance(181000);
    match::MatchTimerTick(c);
    EXPECT_TRUE(Queued().empty());
    f.Pic_matchDetail->show();
    t.clock.Advance(1000);
    match::MatchTimerTick(c);
    const auto frames = Queued();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(frames[0][3]), 81);
}

TEST_F(ClockFixture, CaptionsOfARunningMatchRotateEveryFifteenSeconds)
{
    MatchInstance r = Session(7, QStringLiteral("05-01 20:00:00"), 1);
    r.SignedUp = 1;
    r.Points = 42;
    r.Place = 2;
    List({r});
    f.ImgShowMatch.Enabled = true;
    Start(At(2026, 5, 1, 20, 1, 0));
    match::MatchTimerTick(c);
    EXPECT_EQ(m.ShowMatchCaptions.size(), 5);
    EXPECT_EQ(f.ImgShowMatch.iCaption(), QStringLiteral("Kavelin.."));
    QStringList seen;
    for (int s = 0; s < 60; ++s) {
        t.clock.Advance(1000);
        match::MatchTimerTick(c);
        if (seen.isEmpty() || seen.back() != f.ImgShowMatch.iCaption())
            seen << f.ImgShowMatch.iCaption();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Kavelin.."), QStringLiteral("42积分"), QStringLiteral("第2名"),
                                 QStringLiteral("剩9分结束"), QStringLiteral("点击查看排名")}));
}

} // namespace
