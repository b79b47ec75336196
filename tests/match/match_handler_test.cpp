// The match frames as the handler takes them: sign-ups, sessions, places and
// rankings, the server clock, gold and notices, and the frames it refuses.
#include "match_fixture.h"

#include "chat/talk_form.h"
#include "core/messages.h"
#include "dispatch/dispatcher.h"
#include "match/match_handlers.h"
#include "platform/controls.h"

#include <QDateTime>
#include <QTimeZone>

using protocol::GameFrame;

namespace {

// A match frame built field by field, little-endian.
struct F {
    GameFrame f{};
    explicit F(int kind) { f[3] = static_cast<uint8_t>(kind); }
    F& N(int at, uint64_t v, int bytes = 4)
    {
        for (int i = 0; i < bytes; ++i)
            f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    F& B(int at, int v) { return N(at, static_cast<uint64_t>(v), 1); }
    F& T(int at, const QString& text)
    {
        const QByteArray b = platform::gbk::Encode(text);
        std::copy(b.begin(), b.end(), f.begin() + at);
        return *this;
    }
    operator const GameFrame&() const { return f; }
};

constexpr int32_t kId = 7;

// Seconds of a time of day on 2026-03-04 (UTC).
int32_t Day(int h, int m, int s = 0)
{
    return static_cast<int32_t>(QDateTime(QDate(2026, 3, 4), QTime(h, m, s), QTimeZone::utc()).toSecsSinceEpoch());
}

struct MatchHandler : match_testing::MatchFixture {
    match::MatchState& m = c.match;

    MatchHandler()
    {
        m.RoomMatchMode = 1; // "hh:mm:ss" texts
        m.MatchInfoMd5 = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");
        m.MatchInfoUrl = QStringLiteral("http://127.0.0.1/matches.xml");
        m.MatchDataReady = m.MatchPanelReady = -1;
        match::MatchType t;
        t.id = kId;
        t.na = QStringLiteral("周赛");
        t.PrizeRows = {{QStringLiteral("第1名"), QStringLiteral("1000金币"), QString()},
                       {QStringLiteral("第2-3名"), QStringLiteral("500金币"), QString()},
                       {QStringLiteral("第4-10名"), QStringLiteral("100金币"), QString()}};
        m.tables.MatchTypes.push_back(t);
    }

    void Take(const GameFrame& f) { match::HandleMatchFrame(c, f); }

    // Kind 82 with one instance of id 7 starting at `start`.
    void List(int32_t start, int32_t duration = 1800)
    {
        Take(F(82).B(16, 1).N(17, kId).N(21, static_cast<uint32_t>(start)).N(25, static_cast<uint32_t>(duration)).N(29, 20, 2));
        m.MatchInstances[1].TypeIndex = 1;
    }
    match::MatchInstance& In() { return m.MatchInstances.at(1); }

    QString History() const
    {
        QString all;
        for (int i = 0; i < c.Talk->Text1->ListCount(); ++i)
            all += c.Talk->Text1->List(i);
        return all;
    }
};

} // namespace

TEST_F(MatchHandler, TheListReplacesTheInstances)
{
    Take(F(82).B(16, 2).N(17, kId).N(21, static_cast<uint32_t>(Day(20, 0))).N(25, 3661).N(29, 30, 2)
             .N(31, 9).N(35, 0x80000000u).N(39, 60));
    ASSERT_EQ(match::CountOf(m.MatchInstances), 2);
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(In().DurationText, QStringLiteral("1小时1分1秒"));
    EXPECT_EQ(In().PrizeBase, 30);
    EXPECT_EQ(In().SortEntries.size(), 1u);
    EXPECT_EQ(m.MatchInstances[2].StartText, QString()); // no start: not listed
}

TEST_F(MatchHandler, AListWithoutEntriesHidesTheButtonsAndOneWithTooManyIsDropped)
{
    List(Day(20, 0));
    ButtonsOn();
    Take(F(82).B(16, 19).N(17, 99));
    EXPECT_EQ(In().Id, kId);
    EXPECT_FALSE(ButtonsOff());
    EXPECT_TRUE(m.MatchDataReady);

    Take(F(82).B(16, 0));
    EXPECT_EQ(In().Id, kId);
    EXPECT_TRUE(ButtonsOff());
    EXPECT_FALSE(m.MatchDataReady || m.MatchPanelReady || m.MatchInfoDownloading);
}

TEST_F(MatchHandler, ASignUpForTheCurrentSessionCountsAndShowsItsLine)
{
    List(Day(20, 0));
    t.clock.Advance(5000);
    Take(F(72).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 1).N(25, 48, 2).N(27, 3).T(31, QStringLiteral("报名成功")));
    EXPECT_EQ(In().SignCount, 48);
    EXPECT_EQ(In().SignedUp, 1);
    EXPECT_NE(In().SignTick, 0u);
    EXPECT_TRUE(History().contains(QStringLiteral("报名(20:00:00)：报名成功")));
    ASSERT_EQ(match::CountOf(m.MatchList), 1);
}

TEST_F(MatchHandler, ASignUpForTheNextSessionMakesItCurrentOnce)
{
    List(Day(20, 0));
    In().NextStartText = QStringLiteral("21:00:00");
    In().NextDuration = 600;
    In().NextDurationText = QStringLiteral("10分");
    Take(F(72).N(16, kId).N(20, static_cast<uint32_t>(Day(21, 0))).B(24, 1).N(25, 5, 2));
    EXPECT_EQ(In().StartText, QStringLiteral("21:00:00"));
    EXPECT_EQ(In().SignedUp, 1);
    EXPECT_EQ(In().SessionState, 0);
    EXPECT_EQ(In().SignCount, 5);
    // The next-session fields are spent: ending this session cannot bring it back.
    EXPECT_EQ(In().NextStartText, QString());
    EXPECT_EQ(In().Duration, 600);
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(21, 0))).B(24, 2));
    EXPECT_EQ(In().StartText, QString());
    EXPECT_EQ(In().LastStartText, QStringLiteral("21:00:00"));
}

TEST_F(MatchHandler, ALaterSessionJustAfterMidnightIsLater)
{
    List(Day(23, 59));
    m.ServerClock = static_cast<uint32_t>(Day(23, 58));
    // 00:01 of the next day: as plain texts it would sort before 23:59.
    Take(F(72).N(16, kId).N(20, static_cast<uint32_t>(Day(23, 59) + 120)).B(24, 1).N(25, 2, 2));
    EXPECT_EQ(In().StartText, QStringLiteral("00:01:00"));
    EXPECT_EQ(In().SignedUp, 1);
}

TEST_F(MatchHandler, SignUpRepliesThatChangeNothing)
{
    List(Day(20, 0));
    // Unconfirmed: only the line.
    Take(F(72).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 0).T(31, QStringLiteral("名额已满")));
    EXPECT_EQ(In().SignedUp, 0);
    EXPECT_TRUE(History().contains(QStringLiteral("名额已满")));
    // An earlier session: nothing changes, the line still shows.
    Take(F(72).N(16, kId).N(20, static_cast<uint32_t>(Day(19, 0))).B(24, 1).N(25, 9, 2).T(31, QStringLiteral("早场")));
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(In().SignCount, 0);
    EXPECT_TRUE(History().contains(QStringLiteral("报名(19:00:00)：早场")));
    // No such instance: no line.
    Take(F(72).N(16, 99).N(20, 0).B(24, 1).T(31, QStringLiteral("无此比赛")));
    EXPECT_FALSE(History().contains(QStringLiteral("无此比赛")));
}

TEST_F(MatchHandler, SignUpFramesBeforeThePanelIsReadyTakeTheMatchesOff)
{
    for (int kind : {72, 73}) {
        m.MatchPanelReady = 0;
        m.MatchDataReady = m.MatchInfoDownloading = -1;
        ButtonsOn();
        Take(F(kind).N(16, kId));
        EXPECT_TRUE(ButtonsOff()) << kind;
        EXPECT_FALSE(m.MatchDataReady || m.MatchInfoDownloading) << kind;
    }
}

TEST_F(MatchHandler, ASignOffClearsTheSignUp)
{
    List(Day(20, 0));
    In().SignedUp = 1;
    Take(F(73).N(16, kId).B(24, 1).T(25, QStringLiteral("已退赛")));
    EXPECT_EQ(In().SignedUp, 0);
    EXPECT_NE(In().SignTick, 0u); // at tick 0 too: the automatic sign-up does not sign up again
    EXPECT_TRUE(History().contains(QStringLiteral("已退赛")));
}

TEST_F(MatchHandler, StatesOrderTwoSessionsOfOneInstance)
{
    List(-1);
    m.MatchInfoLoaded = 0;
    Take(F(74).B(16, 2).N(17, kId).N(21, static_cast<uint32_t>(Day(21, 0))).N(26, kId).N(30, static_cast<uint32_t>(Day(20, 0))));
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(In().NextStartText, QStringLiteral("21:00:00"));
    EXPECT_EQ(In().SignedUp, 1);
    EXPECT_TRUE(m.MatchListReceived);
}

TEST_F(MatchHandler, StatesOrderSessionsAcrossMidnightByTheServerClock)
{
    List(-1);
    m.ServerClock = static_cast<uint32_t>(Day(23, 50));
    Take(F(74).B(16, 2).N(17, kId).N(21, static_cast<uint32_t>(Day(23, 59) + 120)).N(26, kId).N(30, static_cast<uint32_t>(Day(23, 59))));
    EXPECT_EQ(In().StartText, QStringLiteral("23:59:00"));
    EXPECT_EQ(In().NextStartText, QStringLiteral("00:01:00"));
}

TEST_F(MatchHandler, ARunningSignUpShowsTheRankingButtonAndTooManyStatesAreDropped)
{
    List(Day(20, 0));
    c.MainForm->ImgShowSort.SetVisible(false);
    Take(F(74).B(16, 29).N(17, kId).N(21, static_cast<uint32_t>(Day(20, 0))).B(25, 2));
    EXPECT_FALSE(m.MatchListReceived);
    EXPECT_EQ(In().SignedUp, 0);
    Take(F(74).B(16, 1).N(17, kId).N(21, static_cast<uint32_t>(Day(20, 0))).B(25, 2));
    EXPECT_EQ(In().SessionState, 1);
    EXPECT_TRUE(c.MainForm->ImgShowSort.Visible);
    EXPECT_EQ(c.MainForm->ListSort->Tag, QStringLiteral("7"));
}

TEST_F(MatchHandler, StatesWithoutTheDocumentAreIgnoredOrTakeTheMatchesOff)
{
    List(Day(20, 0));
    m.MatchDataReady = m.MatchInfoDownloading = 0;
    ButtonsOn();
    Take(F(74).B(16, 1).N(17, kId).N(21, static_cast<uint32_t>(Day(20, 0))));
    EXPECT_FALSE(ButtonsOff());
    EXPECT_EQ(In().SignedUp, 0);
    m.MatchDataReady = -1;
    m.MatchInfoMd5.clear();
    Take(F(74).B(16, 1).N(17, kId).N(21, static_cast<uint32_t>(Day(20, 0))));
    EXPECT_TRUE(ButtonsOff());
}

TEST_F(MatchHandler, AStartHoldsTheNextSessionBackUntilTheEnd)
{
    List(Day(20, 0));
    In().SignedUp = 1;
    In().Prizes = m.tables.MatchTypes[1].PrizeRows;
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 1).T(25, QStringLiteral("开赛")));
    EXPECT_EQ(m.LastStartEndState, 1);
    EXPECT_EQ(In().SessionState, 1);
    EXPECT_TRUE(c.MainForm->ImgShowSort.Visible);
    EXPECT_TRUE(History().contains(QStringLiteral("20:00:00比赛开始了！")));
    EXPECT_TRUE(History().contains(QStringLiteral("开赛")));

    Take(F(83).N(16, kId).N(20, static_cast<uint32_t>(Day(21, 0))).N(24, 600));
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(In().NextStartText, QStringLiteral("21:00:00"));
    EXPECT_EQ(m.LastStartEndState, 0);

    In().SignCount = 12;
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 2));
    EXPECT_TRUE(History().contains(QStringLiteral("20:00:00比赛结束了！")));
    EXPECT_EQ(In().LastStartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(In().LastSignCount, 12);
    EXPECT_EQ(In().LastPrizes, m.tables.MatchTypes[1].PrizeRows);
    EXPECT_EQ(In().StartText, QStringLiteral("21:00:00")); // promoted
    EXPECT_EQ(In().SignedUp, 0);
    EXPECT_EQ(In().NextStartText, QString());
}

TEST_F(MatchHandler, AStartWithoutThePlayerTakesTheSessionOffTheList)
{
    List(Day(20, 0));
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 1));
    EXPECT_EQ(In().StartText, QString());
    EXPECT_EQ(m.LastStartEndState, 0);
    Take(F(83).N(16, kId).N(20, static_cast<uint32_t>(Day(21, 0))).N(24, 600));
    EXPECT_EQ(In().StartText, QStringLiteral("21:00:00"));
    EXPECT_EQ(In().Duration, 600);
}

TEST_F(MatchHandler, AClosedSessionKeepsNothing)
{
    List(Day(20, 0));
    In().SignedUp = 1;
    In().SignCount = 4;
    c.MainForm->ImgShowSort.SetVisible(true);
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 3).T(25, QStringLiteral("人数不足")));
    EXPECT_EQ(In().SignCount, 0);
    EXPECT_EQ(In().SignedUp, 0);
    EXPECT_FALSE(c.MainForm->ImgShowSort.Visible);
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_TRUE(History().contains(QStringLiteral("人数不足")));
}

TEST_F(MatchHandler, AStartEndForAnotherSessionOnlyShowsItsText)
{
    List(Day(20, 0));
    Take(F(75).N(16, 99).N(20, static_cast<uint32_t>(Day(20, 0))).B(24, 1).T(25, QStringLiteral("别的比赛")));
    Take(F(75).N(16, kId).N(20, static_cast<uint32_t>(Day(19, 0))).B(24, 2).T(25, QStringLiteral("早场")));
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
    EXPECT_EQ(m.LastStartEndState, 0);
    EXPECT_TRUE(History().contains(QStringLiteral("别的比赛")));
    EXPECT_TRUE(History().contains(QStringLiteral("早场")));
}

TEST_F(MatchHandler, TheChampionOfTheSessionJustEndedBringsTwoNotices)
{
    List(Day(20, 0));
    In().LastStartText = QStringLiteral("19:00:00");
    const int before = c.MainForm->moveWord1->Waiting() + (c.MainForm->moveWord1->Current().serial > 0 ? 1 : 0);
    Take(F(89).N(16, kId).N(20, static_cast<uint32_t>(Day(19, 0))).T(24, QStringLiteral("高手")).T(56, QStringLiteral("1000金币")));
    EXPECT_EQ(In().ChampionKnown, -1);
    EXPECT_EQ(In().ChampionName, QStringLiteral("高手"));
    EXPECT_TRUE(History().contains(QStringLiteral("冠军(19:00:00)：高手")));
    EXPECT_TRUE(History().contains(QStringLiteral("冠军奖励：1000金币")));
    EXPECT_TRUE(History().contains(QStringLiteral("下一场比赛开始接受报名!")));
    const int after = c.MainForm->moveWord1->Waiting() + (c.MainForm->moveWord1->Current().serial > 0 ? 1 : 0);
    EXPECT_EQ(after - before, 2);
    EXPECT_EQ(match::CountOf(m.MatchList), 2); // the session and the result row
}

TEST_F(MatchHandler, SignCountsAndPrizeBasesOfTheCurrentSessionOnly)
{
    List(Day(20, 0));
    Take(F(87).N(16, kId).N(20, static_cast<uint32_t>(Day(21, 0))).N(24, 30, 2));
    EXPECT_EQ(In().SignCount, 0);
    Take(F(87).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 30, 2).N(26, 5));
    EXPECT_EQ(In().SignCount, 30);
    Take(F(87).N(16, 99).N(20, 0).N(24, 31, 2));
    EXPECT_EQ(In().SignCount, 30);
    EXPECT_EQ(match::CountOf(m.MatchList), 1);
}

TEST_F(MatchHandler, PlacesAndTheSummaryLabels)
{
    List(Day(20, 0));
    In().SignCount = 48;
    Take(F(77).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 0).N(28, 150));
    EXPECT_EQ(c.MainForm->LblSortInfo[0].Caption, QStringLiteral("无排名"));
    EXPECT_EQ(c.MainForm->LblSortInfo[1].Caption, QStringLiteral("150"));
    Take(F(77).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 3).N(28, 170));
    Take(F(77).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 0).N(28, 175));
    EXPECT_EQ(In().Place, 3); // a place of 0 keeps the old one
    EXPECT_EQ(c.MainForm->LblSortInfo[0].Caption, QStringLiteral("3/48"));
    EXPECT_TRUE(c.MainForm->ImgShowSort.Visible);
    // Another session of the instance changes nothing.
    Take(F(77).N(16, kId).N(20, static_cast<uint32_t>(Day(19, 0))).N(24, 1).N(28, 9));
    EXPECT_EQ(In().Place, 3);
}

TEST_F(MatchHandler, TheResultNamesThePrizeOfThePlace)
{
    List(Day(20, 0));
    In().Prizes = m.tables.MatchTypes[1].PrizeRows;
    Take(F(78).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 3).N(28, 10));
    EXPECT_TRUE(History().contains(QStringLiteral("恭喜您在20:00:00开始的比赛中取得第3名!")));
    EXPECT_TRUE(History().contains(QStringLiteral("获得500金币!")));
    EXPECT_FALSE(c.MainForm->ImgRefresh.Visible);
    // Place 0: no prize row matches, no lines.
    const QString before = History();
    Take(F(78).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 0).N(28, 10));
    EXPECT_EQ(History(), before);
    EXPECT_EQ(c.MainForm->LblSortInfo[0].Caption, QStringLiteral("无排名"));
}

TEST_F(MatchHandler, RankingFramesFillTheBoardPageByPage)
{
    List(Day(20, 0));
    c.game.UserInfos[0].Nickname = QStringLiteral("玩家4");
    c.MainForm->Pic_sortDetail->SetVisible(true);
    auto ranking = [&](int first, int n) {
        F f(79);
        f.N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, static_cast<uint64_t>(first), 2).N(26, static_cast<uint64_t>(n), 2);
        for (int k = 0; k < n; ++k)
            f.T(28 + 36 * k, QStringLiteral("玩家%1").arg(first + k)).N(60 + 36 * k, static_cast<uint64_t>(1000 - first - k));
        Take(f);
    };
    window::MainForm& form = *c.MainForm;
    ranking(1, 6);
    EXPECT_EQ(In().Place, 4);
    EXPECT_EQ(In().Points, 996);
    EXPECT_FALSE(form.LblshowPage[1].Visible);
    EXPECT_FALSE(form.ImgUppage[1].Visible);
    EXPECT_EQ(form.LblSortInfo[2].Caption, QStringLiteral("3")); // 999 - 996
    ranking(7, 6);
    EXPECT_TRUE(form.ImgDownpage[1].Visible);
    EXPECT_EQ(form.LblshowPage[1].Caption, QStringLiteral("1/2"));
    const std::size_t drawn = m.SortPrint.Lines.size();
    ranking(13, 6);
    ranking(19, 6);
    EXPECT_EQ(form.LblshowPage[1].Caption, QStringLiteral("1/3"));
    EXPECT_EQ(m.SortPrint.Lines.size(), drawn); // not redrawn
    ranking(1, 3);
    EXPECT_EQ(In().SortEntries.size(), 4u);
}

TEST_F(MatchHandler, TheServerClockIsTakenWhileTheDocumentIsThere)
{
    t.clock.Advance(777);
    m.TimeRequestTick = 5;
    Take(F(81).N(16, 1'800'000'000));
    EXPECT_EQ(m.ServerClock, 1'800'000'000u);
    EXPECT_EQ(m.TimeRequestTick, 0u);
    EXPECT_EQ(m.ClockSyncTick, m.ClockStepTick);
    m.MatchDataReady = 0;
    m.TimeRequestTick = 9;
    Take(F(81).N(16, 5));
    EXPECT_EQ(m.ServerClock, 1'800'000'000u);
    EXPECT_EQ(m.TimeRequestTick, 9u);
    Take(F(90).N(16, 60));
    EXPECT_EQ(m.AutoSignLead, 60);
    Take(F(90).N(16, 0));
    EXPECT_EQ(m.AutoSignLead, 0);
}

TEST_F(MatchHandler, GoldChangesNeverGoBelowZero)
{
    c.game.UserInfos[0].Coins = 300;
    Take(F(91).N(17, 500, 8).T(25, QStringLiteral("奖励%d金币，共%D")));
    EXPECT_EQ(c.game.UserInfos[0].Coins, 800);
    EXPECT_EQ(c.MainForm->Cash[0].Caption, QStringLiteral("800金币"));
    EXPECT_TRUE(History().contains(QStringLiteral("奖励500金币，共500")));
    Take(F(91).B(16, 1).N(17, 5000, 8).T(25, QStringLiteral("扣除%d")));
    EXPECT_EQ(c.game.UserInfos[0].Coins, 0);
    EXPECT_EQ(c.MainForm->Cash[0].Caption, QStringLiteral("0金币"));
    EXPECT_TRUE(History().contains(QStringLiteral("扣除5000")));

    c.game.UserInfos[0].Account = "me";
    c.game.UserInfos[2].Account = "robot2";
    c.game.UserInfos[2].Coins = 100;
    Take(F(92).N(17, 40, 8).T(25, QStringLiteral("robot2")));
    EXPECT_EQ(c.game.UserInfos[2].Coins, 140);
    EXPECT_EQ(c.MainForm->Cash[2].Caption, QStringLiteral("140金币"));
    Take(F(92).N(17, 40, 8).T(25, QStringLiteral("me")));
    EXPECT_EQ(c.game.UserInfos[0].Coins, 0);
}

TEST_F(MatchHandler, IgnoredKindsChangeNothing)
{
    List(Day(20, 0));
    const QString before = History();
    for (int kind : {76, 84, 96, 97, 98, 99}) {
        F f(kind);
        std::fill(f.f.begin() + 16, f.f.end(), 0xFF);
        Take(f);
    }
    EXPECT_EQ(History(), before);
    EXPECT_EQ(In().StartText, QStringLiteral("20:00:00"));
}

TEST_F(MatchHandler, StandingsClearTheSeatsAndShowTheTable)
{
    c.game.GamePhase = 3;
    c.game.Players[1].SeatBit = 2;
    c.core.SeatNames[1] = "x";
    m.RoomMatchMode = 2;
    c.MainForm->TimerKeepAlive->SetEnabled(true);
    c.core.SchedWatch.On = true;
    match::MsgDecode_47(c, F(47).N(16, 12).N(24, 1).T(28, QStringLiteral("甲")).N(48, 30).N(52, 2));
    EXPECT_EQ(c.MainForm->lbl_matchinfo[2].Caption, QStringLiteral("12"));
    EXPECT_EQ(m.MatchStandings[0].username, QStringLiteral("甲"));
    EXPECT_EQ(m.MatchStandings[0].match_sort, 2);
    EXPECT_EQ(c.game.GamePhase, 0);
    EXPECT_EQ(c.game.Players[1].SeatBit, 0);
    EXPECT_TRUE(c.core.SeatNames[1].isEmpty());
    EXPECT_FALSE(c.MainForm->TimerKeepAlive->Enabled());
    EXPECT_FALSE(c.core.SchedWatch.On);
}

TEST_F(MatchHandler, MalformedFramesTakeTheDispatchersFailurePath)
{
    List(Day(20, 0));
    const GameFrame frames[] = {
        F(72).N(16, 0x80000007u).B(24, 1),
        F(79).N(16, kId).N(20, static_cast<uint32_t>(Day(20, 0))).N(24, 1, 2).N(26, 7, 2),
        F(47).N(24, 5),
        F(81).N(16, 0xFFFFFFFFu),
    };
    for (const GameFrame& f : frames) {
        testing_support::TestClient fresh;
        fresh.client.match.MatchDataReady = fresh.client.match.MatchPanelReady = -1;
        fresh.client.core.RecvRing.Append(f.data(), protocol::kFrameSize);
        core::ReadMsg(fresh.client);
        dispatch::DispatchServerMsg(fresh.client, fresh.client.core.CurMsg);
        EXPECT_EQ(fresh.dialogs.texts, QStringList{QStringLiteral("fail control%1 ").arg(f[3])}) << int(f[3]);
        EXPECT_TRUE(fresh.process.ended) << int(f[3]);
    }
}
