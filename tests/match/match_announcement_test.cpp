// The match-info announcement (kind 80): its byte layout, the room settings it
// carries, the stored copy's check, the file-name rule, and the end of a
// download as the transfer reports it.
#include "match_fixture.h"

#include "core/rings.h"
#include "core/scheduler.h"
#include "platform/http_get.h"

using namespace match_testing;
using namespace testing_support;
using match::DecodeMatchInfoUrl;
using Outcome = platform::HttpReply::Outcome;

namespace {

const QString kMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");

} // namespace

TEST(MatchInfoLayout, TheSettingsFollowTheAddressWhereverItEnds)
{
    const QString url40 = QStringLiteral("http://127.0.0.1:8080/files/matches.xml");
    ASSERT_EQ(url40.size(), 39);
    const QString url40b = url40 + QStringLiteral("x");

    struct Case {
        const char* what;
        protocol::GameFrame frame;
        int afterUrl;
        bool settings;
        int region;
        uint32_t reserve;
    };
    auto frame = [](std::initializer_list<std::pair<int, int>> bytes) { return ServerFrame(80, bytes); };
    // An address of 40 characters: its NUL is byte 88, the region byte 90 and
    // the reserve bytes 92-95.
    protocol::GameFrame forty = Announcement(kMd5, url40b, 0, 0);
    forty[89] = 0x33; // the session byte: read past, not used
    forty[90] = 5;
    forty[91] = 0x44; // the VIP byte
    forty[92] = 0x10;
    forty[93] = 0x27;
    // An address through byte 255 whose next byte is no NUL: no settings.
    protocol::GameFrame full = frame({});
    for (int i = 48; i <= 256; ++i)
        full[static_cast<std::size_t>(i)] = 'a';
    // The same with byte 256 a NUL: region at 258, reserve at 260-263.
    protocol::GameFrame fullNul = full;
    fullNul[256] = 0;
    fullNul[258] = 3;
    fullNul[260] = 1;
    fullNul[263] = 0x80; // the top bit of an unsigned reserve
    // A lead byte at 255 takes byte 256: the settings then start after 257.
    protocol::GameFrame lead = fullNul;
    lead[255] = 0xB0;
    lead[256] = 0xA1;
    lead[257] = 0;
    lead[258] = 0;
    lead[259] = 4;
    lead[261] = 0xFF;
    lead[262] = 0;
    lead[263] = 0;
    lead[264] = 0;
    const Case cases[] = {
        {"forty characters", forty, 88, true, 5, 10000},
        {"through byte 255, no NUL", full, 256, false, 0, 0},
        {"through byte 255, NUL at 256", fullNul, 256, true, 3, 0x80000001u},
        {"lead byte at 255", lead, 257, true, 4, 0xFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const match::MatchInfoAnnouncement a = DecodeMatchInfoUrl(c.frame);
        EXPECT_EQ(a.afterUrl, c.afterUrl);
        EXPECT_EQ(a.hasSettings, c.settings);
        EXPECT_EQ(a.region, c.region);
        EXPECT_EQ(a.reserve, c.reserve);
    }
    EXPECT_EQ(DecodeMatchInfoUrl(forty).url, url40b);
    EXPECT_EQ(DecodeMatchInfoUrl(forty).md5, kMd5);
    EXPECT_EQ(DecodeMatchInfoUrl(full).url, QString(208, QLatin1Char('a')));
    EXPECT_TRUE(DecodeMatchInfoUrl(lead).url.endsWith(QStringLiteral("a啊")));
}

TEST(MatchInfoLayout, AnMd5FieldWithoutNulEndsAtByte47)
{
    protocol::GameFrame f = Announcement(QString(), QStringLiteral("http://h/a.xml"));
    for (int i = 16; i <= 47; ++i)
        f[static_cast<std::size_t>(i)] = 'F';
    const auto a = DecodeMatchInfoUrl(f);
    EXPECT_EQ(a.md5, QString(32, QLatin1Char('F')));
    EXPECT_EQ(a.url, QStringLiteral("http://h/a.xml"));
}

TEST(MatchInfoLayout, ReadsNothingPastTheFrameWhateverItHolds)
{
    // Every byte 0xFF: texts of lead bytes to the end of their fields.
    protocol::GameFrame f{};
    f.fill(0xFF);
    f[3] = 80;
    const auto a = DecodeMatchInfoUrl(f);
    EXPECT_LE(a.afterUrl + 7, 271);
    EXPECT_FALSE(a.hasSettings);
}

using MatchAnnouncement = MatchFixture;

TEST_F(MatchAnnouncement, RoomSettingsAreReadWithTheirDefaults)
{
    const struct {
        int region;
        uint32_t reserve;
        int16_t mode;
        double money;
    } cases[] = {{0, 0, 2, 200.0}, {1, 10000, 1, 10000.0}, {3, 0xFFFFFFFFu, 3, 4294967295.0}};
    for (const auto& k : cases) {
        Announce(kMd5, QStringLiteral("http://127.0.0.1/m.xml"), k.region, k.reserve);
        EXPECT_EQ(c.match.MatchPanelMode, k.mode);
        EXPECT_EQ(c.match.ReservedMoney, k.money);
    }
    // An address that runs through byte 255 with no NUL after it: the
    // settings keep their values.
    protocol::GameFrame full = Announcement(kMd5, QStringLiteral("http://h/") + QString(199, QLatin1Char('a')));
    full[256] = 'b';
    match::HandleMatchFrame(c, full);
    EXPECT_EQ(c.match.MatchPanelMode, 3);
    EXPECT_EQ(c.match.ReservedMoney, 4294967295.0);
}

TEST_F(MatchAnnouncement, NoAddressOrNoMd5SwitchesTheButtonsOffAndKeepsThePanelFlag)
{
    for (const auto& [md5, url] : {std::pair{QString(), QStringLiteral("http://h/m.xml")},
                                   std::pair{kMd5, QString()}, std::pair{QStringLiteral("   "), QStringLiteral("http://h/m.xml")}}) {
        ButtonsOn();
        c.match.MatchDataReady = -1;
        c.match.MatchPanelReady = -1;
        c.match.MatchInstances.resize(3);
        Announce(md5, url);
        EXPECT_TRUE(ButtonsOff());
        EXPECT_EQ(c.match.MatchDataReady, 0);
        EXPECT_EQ(c.match.MatchPanelReady, -1);
        EXPECT_EQ(match::CountOf(c.match.MatchInstances), 0);
        EXPECT_TRUE(t.http.requests.isEmpty());
    }
}

TEST_F(MatchAnnouncement, AStoredCopyWithTheAnnouncedMd5LoadsWithoutADownload)
{
    const QByteArray doc = SampleDocument();
    Store(QStringLiteral("m.xml"), doc);
    // Capitals in the announcement, a blank after the file name.
    Announce(Md5Of(doc).toUpper(), QStringLiteral("http://127.0.0.1:9/dir/m.xml "));
    EXPECT_TRUE(t.http.requests.isEmpty());
    EXPECT_EQ(c.match.MatchInfoFile, QStringLiteral("m.xml"));
    EXPECT_EQ(c.match.MatchDataReady, -1);
    EXPECT_EQ(c.match.MatchInfoLoaded, -1);
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    ASSERT_EQ(match::CountOf(c.match.tables.MatchTypes), 1);
    EXPECT_EQ(c.match.tables.MatchTypes[1].FeeText, QStringLiteral("500金币+1香烟"));
    EXPECT_EQ(match::GetMatchMode(c, 7), 2);
}

TEST_F(MatchAnnouncement, AStoredCopyThatDoesNotParseTurnsTheMatchesOff)
{
    const QByteArray broken = "<info><matchinfo n=\"1\"/></info>";
    Store(QStringLiteral("m.xml"), broken);
    c.match.MatchPanelReady = -1;
    Announce(Md5Of(broken), QStringLiteral("http://h/m.xml"));
    EXPECT_TRUE(t.http.requests.isEmpty());
    EXPECT_EQ(c.match.MatchDataReady, 0);
    EXPECT_EQ(c.match.MatchPanelReady, 0);
}

TEST_F(MatchAnnouncement, AnAddressEndingInASlashNamesNoFile)
{
    ButtonsOn();
    c.match.MatchPanelReady = -1;
    Announce(kMd5, QStringLiteral("http://h/dir/"));
    EXPECT_TRUE(t.http.requests.isEmpty());
    EXPECT_EQ(c.match.MatchInfoFile, QString());
    EXPECT_EQ(c.match.MatchPanelReady, 0);
    EXPECT_FALSE(ButtonsOff());
}

TEST_F(MatchAnnouncement, AMissingOrStaleCopyIsFetchedCheckedStoredAndLoaded)
{
    Store(QStringLiteral("m.xml"), SampleDocument(QStringLiteral("旧赛")));
    const QByteArray doc = SampleDocument();
    Announce(Md5Of(doc), QStringLiteral("http://127.0.0.1:9/m.xml"));
    ASSERT_EQ(t.http.requests, QStringList{QStringLiteral("http://127.0.0.1:9/m.xml")});
    EXPECT_EQ(c.match.MatchInfoDownloading, -1);
    EXPECT_EQ(c.match.MatchDataReady, 0);

    t.http.AnswerOk(doc);
    EXPECT_EQ(Read(QStringLiteral("m.xml")), doc);
    EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("data/matches/m.xml")});
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(c.match.MatchDataReady, -1);
    EXPECT_EQ(c.match.MatchInfoLoaded, -1);
    EXPECT_EQ(c.match.tables.MatchTypes[1].na, QStringLiteral("周赛"));
}

TEST_F(MatchAnnouncement, AFailedDownloadLeavesTheStoredCopyAndSwitchesTheDataOff)
{
    const QByteArray old = SampleDocument(QStringLiteral("旧赛"));
    const QByteArray doc = SampleDocument();
    platform::HttpReply wrongBody;
    wrongBody.outcome = Outcome::Ok;
    wrongBody.status = 200;
    wrongBody.body = SampleDocument(QStringLiteral("假赛"));
    platform::HttpReply empty = wrongBody;
    empty.body.clear();
    platform::HttpReply notFound;
    notFound.outcome = Outcome::BadStatus;
    notFound.status = 404;
    platform::HttpReply big;
    big.outcome = Outcome::TooLarge;
    platform::HttpReply late;
    late.outcome = Outcome::TimedOut;
    platform::HttpReply broken;
    broken.outcome = Outcome::Failed;
    const std::pair<const char*, platform::HttpReply> cases[] = {
        {"body with another MD5", wrongBody}, {"empty body", empty}, {"404", notFound},
        {"too large", big},                   {"timed out", late},   {"connection failed", broken},
    };
    for (const auto& [what, reply] : cases) {
        SCOPED_TRACE(what);
        Store(QStringLiteral("m.xml"), old);
        c.match.MatchPanelReady = -1;
        Announce(Md5Of(doc), QStringLiteral("http://h/m.xml"));
        ASSERT_TRUE(t.http.Busy());
        t.http.Answer(reply);
        EXPECT_EQ(Read(QStringLiteral("m.xml")), old);
        EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("data/matches/m.xml")});
        EXPECT_EQ(c.match.MatchInfoDownloading, 0);
        EXPECT_EQ(c.match.MatchDataReady, 0);
        EXPECT_EQ(c.match.MatchPanelReady, 0);
    }
}

TEST_F(MatchAnnouncement, ADownloadThatEndsWhileTheProgramClosesWritesNothing)
{
    const QByteArray doc = SampleDocument();
    Announce(Md5Of(doc), QStringLiteral("http://h/m.xml"));
    c.match.AppClosing = -1;
    t.http.AnswerOk(doc);
    EXPECT_TRUE(AllFiles().isEmpty());
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(c.match.MatchDataReady, 0);
}

TEST_F(MatchAnnouncement, AFetchedDocumentThatDoesNotParseIsKeptButSwitchesTheDataOff)
{
    const QByteArray broken = "<info><item n=\"1\"/><matchinfo n=\"1\"/></info>";
    Announce(Md5Of(broken), QStringLiteral("http://h/m.xml"));
    t.http.AnswerOk(broken);
    EXPECT_EQ(Read(QStringLiteral("m.xml")), broken);
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(c.match.MatchDataReady, 0);
    EXPECT_EQ(c.match.MatchInfoLoaded, 0);
}

TEST_F(MatchAnnouncement, ANewAnnouncementDropsTheRunningDownload)
{
    const QByteArray doc = SampleDocument();
    Announce(kMd5, QStringLiteral("http://h/old.xml"));
    ASSERT_TRUE(t.http.Busy());
    Announce(Md5Of(doc), QStringLiteral("http://h/m.xml"));
    EXPECT_EQ(t.http.cancelled, 1);
    EXPECT_EQ(t.http.requests.last(), QStringLiteral("http://h/m.xml"));
    t.http.AnswerOk(doc);
    EXPECT_EQ(c.match.MatchDataReady, -1);

    // A fresh copy announced while a download runs ends that download too.
    Announce(kMd5, QStringLiteral("http://h/other.xml"));
    ASSERT_TRUE(t.http.Busy());
    Announce(Md5Of(doc), QStringLiteral("http://h/m.xml"));
    EXPECT_FALSE(t.http.Busy());
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(c.match.MatchDataReady, -1);
}

TEST_F(MatchAnnouncement, InstanceStatesThatCameFirstGiveTheListRowsAfterTheDownload)
{
    const QByteArray doc = SampleDocument();
    Announce(Md5Of(doc), QStringLiteral("http://h/m.xml"));
    match::MatchInstance running;
    running.Id = 7;
    running.StartText = QStringLiteral("20:00:00");
    c.match.MatchInstances.push_back(running);
    c.match.MatchListReceived = -1;
    t.http.AnswerOk(doc);
    ASSERT_EQ(match::CountOf(c.match.MatchList), 1);
    EXPECT_EQ(c.match.MatchList[1].Id, 7);
}

TEST_F(MatchAnnouncement, InitMatchEndsTheDownloadAndKeepsTheRoomSettings)
{
    Store(QStringLiteral("m.xml"), SampleDocument());
    Announce(Md5Of(SampleDocument()), QStringLiteral("http://h/m.xml"), 2, 500);
    ASSERT_EQ(c.match.MatchDataReady, -1);
    Announce(kMd5, QStringLiteral("http://h/n.xml"), 2, 500);
    ASSERT_TRUE(t.http.Busy());

    match::InitMatch(c);
    EXPECT_FALSE(t.http.Busy());
    EXPECT_EQ(c.match.MatchInfoDownloading, 0);
    EXPECT_EQ(c.match.MatchInfoUrl, QString());
    EXPECT_EQ(c.match.MatchInfoMd5, QString());
    EXPECT_EQ(match::CountOf(c.match.tables.MatchTypes), 0);
    EXPECT_EQ(match::CountOf(c.match.tables.GoodsInfo), 0);
    EXPECT_EQ(match::CountOf(c.match.tables.ChipLimits), 1);
    EXPECT_EQ(c.match.MatchPanelMode, 2);
    EXPECT_EQ(c.match.ReservedMoney, 500.0);
    EXPECT_EQ(c.match.SortRowHeight, 28);
    EXPECT_EQ(c.match.SortPlaceColors[1], 0x00FF03u);
}

TEST_F(MatchAnnouncement, TheDispatcherHandsKind80ToTheMatchHandler)
{
    const QByteArray doc = SampleDocument();
    const protocol::GameFrame f = Announcement(Md5Of(doc), QStringLiteral("http://h/m.xml"));
    core::RecvRingAppend(c, f.data(), protocol::kFrameSize);
    for (int i = 0; i < 4 && t.http.requests.isEmpty(); ++i)
        core::TimerBong_Timer(c);
    EXPECT_EQ(t.http.requests, QStringList{QStringLiteral("http://h/m.xml")});
    EXPECT_FALSE(t.process.ended);
}

TEST(MatchFileName, OnlyPlainNamesOfOurOwnPass)
{
    const std::pair<const char*, bool> cases[] = {
        {"matches.xml", true},  {"M_2-b.v1.xml", true}, {"-x", true},           {"a", true},
        {"", false},            {".", false},           {"..", false},          {".hidden", false},
        {"a/b", false},         {"a\\b", false},        {"..\\..\\x", false},   {"a b", false},
        {"a%2f", false},        {"x:y", false},         {"tmp.xml", false},     {"TMP.XML", false},
        {"info.zq", false},     {"Tamsel.so", false},   {"chat.ini", false},    {"rule.ini", false},
        {"名字.xml", false},
    };
    for (const auto& [name, ok] : cases)
        EXPECT_EQ(match::IsPlainMatchFileName(QString::fromUtf8(name)), ok) << name;
    EXPECT_TRUE(match::IsPlainMatchFileName(QString(64, QLatin1Char('a'))));
    EXPECT_FALSE(match::IsPlainMatchFileName(QString(65, QLatin1Char('a'))));
}

TEST_F(MatchAnnouncement, AHostileAddressNeverWritesOutsideTheMatchFolder)
{
    const QByteArray doc = SampleDocument();
    const QString md5 = Md5Of(doc);
    const QStringList hostile = {
        QStringLiteral("http://h/..\\..\\evil.xml"),
        QStringLiteral("http://h/plugin\\tools\\Tamsel.so"),
        QStringLiteral("http://h/Tamsel.so"),
        QStringLiteral("http://h/a/.."),
        QStringLiteral("http://h/tmp.xml"),
        QStringLiteral("http://h/..%2f..%2fevil.xml"),
        QStringLiteral("file:///tmp/evil.xml"),
        QStringLiteral("ftp://h/evil.xml"),
        QStringLiteral("evil.xml"),
        QStringLiteral("http://h/") + QString(65, QLatin1Char('e')),
    };
    for (const QString& url : hostile) {
        SCOPED_TRACE(qPrintable(url));
        ButtonsOn();
        c.match.MatchPanelReady = -1;
        c.match.MatchDataReady = -1;
        Announce(md5, url);
        EXPECT_TRUE(t.http.requests.isEmpty());
        t.http.AnswerOk(doc); // nothing runs: no transfer was started
        EXPECT_EQ(c.match.MatchInfoFile, QString());
        EXPECT_EQ(c.match.MatchDataReady, 0);
        EXPECT_EQ(c.match.MatchPanelReady, 0);
        EXPECT_TRUE(ButtonsOff());
    }
    EXPECT_TRUE(AllFiles().isEmpty());

    // A query after the name: the last part is what is stored, in our folder.
    Announce(md5, QStringLiteral("http://h/get?f=../../x/y.xml"));
    t.http.AnswerOk(doc);
    EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("data/matches/y.xml")});
}
