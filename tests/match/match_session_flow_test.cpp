// A whole match session between the client's match code and the table
// server's match, in one process: the server's frames go to the client's
// handler, the client's commands (sign-up, time and ranking requests) leave
// through its own send path to the server.
#include "match_fixture.h"

#include "chat/talk_form.h"
#include "core/rings.h"
#include "match/time_texts.h"
#include "table.h"

#include <QFile>

namespace {

constexpr int64_t kEpoch = 1'800'000'000;
constexpr int32_t kMatchId = 101;

struct MatchSessionFlow : match_testing::MatchFixture {
    tableserver::Table table{[] {
        tableserver::TableConfig t;
        t.seed = 7;
        t.match.on = true;
        t.match.epochAtZero = kEpoch;
        t.match.signUpSeconds = 20;
        return t;
    }()};
    int64_t now = 0;
    std::vector<int> kinds; // the match kinds the client was given

    MatchSessionFlow()
    {
        match::MatchState& m = c.match;
        QFile doc(QStringLiteral(TABLESERVER_MATCH_INFO));
        EXPECT_TRUE(doc.open(QIODevice::ReadOnly));
        EXPECT_EQ(match::ReadMatchDocument(doc.readAll(), 1, m.tables), match::DocumentResult::Loaded);
        m.MatchInfoMd5 = QStringLiteral("announced");
        m.MatchInfoUrl = QStringLiteral("http://127.0.0.1/matches.xml");
        m.MatchDataReady = -1;
        // The list page is not drawn here: the panel counts as ready.
        m.MatchPanelReady = -1;
        m.RoomMatchMode = 2;
        c.game.UserInfos[0].Nickname = QStringLiteral("me");
    }

    void Deliver()
    {
        for (const tableserver::Outgoing& o : table.TakeOutgoing()) {
            if (o.seat != 0)
                continue;
            const int kind = o.frame[protocol::frame_byte::Kind];
            if (kind == protocol::MsgLoginReply) {
                c.core.EchoToken = {o.frame[260], o.frame[261]};
            } else if (protocol::IsMatchKind(kind)) {
                kinds.push_back(kind);
                match::HandleMatchFrame(c, o.frame);
                if (kind == protocol::MsgMatchList)
                    c.match.MatchInstances.at(1).TypeIndex = match::FindMatchType(c.match.tables.MatchTypes, kMatchId);
            }
        }
    }

    // What the client queued goes to the server.
    void Send()
    {
        while (c.core.SendRing.HasFrame()) {
            protocol::GameFrame f;
            std::copy_n(c.core.SendRing.FrontFrame(), protocol::kFrameSize, f.begin());
            c.core.SendRing.PopFrame();
            table.ClientFrame(0, f, now);
        }
        Deliver();
    }

    // Runs the table until `done` holds, the server acting for the silent client.
    template <typename Done>
    bool RunUntil(Done done)
    {
        for (int i = 0; i < 20000 && !done(); ++i) {
            const std::optional<int64_t> next = table.NextDeadline();
            now = next ? std::max(now + 1, *next) : now + 1000;
            table.Advance(now);
            Deliver();
        }
        return done();
    }

    match::MatchInstance& In() { return c.match.MatchInstances.at(1); }
    QString History() const
    {
        QString all;
        for (int i = 0; i < c.Talk->Text1->ListCount(); ++i)
            all += c.Talk->Text1->List(i);
        return all;
    }
};

} // namespace

TEST_F(MatchSessionFlow, SignUpPlayRankAndSeeTheChampion)
{
    ASSERT_EQ(table.Login("me", 0).seat, 0);
    Deliver();
    EXPECT_EQ(kinds, (std::vector<int>{82, 74, 81}));
    ASSERT_EQ(match::CountOf(c.match.MatchInstances), 1);
    const QString first = In().StartText;
    EXPECT_EQ(first, match::TimeNumToStr(static_cast<int32_t>(kEpoch + 20), 1, 2));
    EXPECT_EQ(c.match.ServerClock, static_cast<uint32_t>(kEpoch));

    match::SendMatchSign(c, kMatchId);
    Send();
    EXPECT_EQ(In().SignedUp, 1);
    EXPECT_EQ(In().SignCount, 1);
    EXPECT_TRUE(History().contains(QStringLiteral("报名(") + first + QStringLiteral(")：报名成功，请准时参赛")));
    EXPECT_FALSE(In().Prizes.front().place.isEmpty()); // the prize rows of the match type

    now = 5000;
    match::SendMatchTimeRequest(c);
    ASSERT_NE(c.match.TimeRequestTick, 0u);
    Send();
    EXPECT_EQ(c.match.ServerClock, static_cast<uint32_t>(kEpoch + 5));
    EXPECT_EQ(c.match.TimeRequestTick, 0u);

    // The session starts: the player is in it.
    ASSERT_TRUE(RunUntil([&] { return In().SessionState == 1; }));
    EXPECT_EQ(c.match.LastStartEndState, 1);
    EXPECT_TRUE(c.MainForm->ImgShowSort.Visible);
    EXPECT_TRUE(History().contains(first + QStringLiteral("比赛开始了！")));

    // A ranking of the four players, the client among them.
    match::SendSortRequest(c, kMatchId);
    Send();
    ASSERT_EQ(In().SortEntries.size(), 5u);
    EXPECT_GE(In().Place, 1);
    EXPECT_EQ(In().SortEntries[static_cast<std::size_t>(In().Place)].nickname, QStringLiteral("me"));

    // Two hands later it ends; the next session is announced and becomes
    // current, the champion is named.
    ASSERT_TRUE(RunUntil([&] { return table.Match().Sessions() == 1; }));
    EXPECT_EQ(In().LastStartText, first);
    EXPECT_FALSE(In().StartText.isEmpty());
    EXPECT_NE(In().StartText, first);
    EXPECT_EQ(In().SignedUp, 0);
    EXPECT_EQ(In().ChampionKnown, -1);
    EXPECT_EQ(In().ChampionStartText, first);
    EXPECT_TRUE(History().contains(first + QStringLiteral("比赛结束了！")));
    EXPECT_TRUE(History().contains(QStringLiteral("冠军(") + first + QStringLiteral(")：")));
    const std::vector<int> ending(kinds.end() - 4, kinds.end());
    EXPECT_EQ(ending, (std::vector<int>{78, 75, 83, 89}));
    // The list holds the next session and the result row of the last one.
    EXPECT_EQ(match::CountOf(c.match.MatchList), 2);
}
