// The match-info document: goods, room chip limits and match types read from
// GBK XML; fee texts and prize rows built from their strings; broken
// documents leave the tables as they were.
#include "match/match_info.h"

#include "platform/gbk.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace match;

namespace {

QByteArray Gbk(const QString& body)
{
    return platform::gbk::Encode(QStringLiteral("<?xml version=\"1.0\" encoding=\"GBK\"?>\n") + body);
}

// A worked example: two goods, two chip limits, one weekly match.
const QString kWorked = QStringLiteral(
    "<info>"
    "<item n=\"2\">"
    "<g1 id=\"1\" na=\"翡翠\" des=\"绿色的玉\" un=\"块\" sid=\"3\" price=\"100\" pricenorth=\"90\"/>"
    "<g2 id=\"15\" na=\"香烟\" des=\"一包烟\" un=\"包\" sid=\"4\" price=\"20\" pricenorth=\"18\"/>"
    "</item>"
    "<room_chip n=\"2\">"
    "<roomchipnum1 id=\"1\" num=\"500\"/>"
    "<roomchipnum2 id=\"other\" num=\"2000\"/>"
    "</room_chip>"
    "<matchinfo n=\"1\">"
    "<m1 id=\"7\" na=\"周赛\" rm=\"每周六开赛\" mtype=\"2\" ex=\"g:500;15:1\" ut=\"64\" utl=\"8\" des=\"周末的比赛\" "
    "rl=\"打满八局\" pz=\"1;g:1000|2;g:500;1:2\"/>"
    "</matchinfo>"
    "</info>");

MatchTables Loaded(const QString& body, int16_t mode = 0)
{
    MatchTables t;
    EXPECT_EQ(ReadMatchDocument(Gbk(body), mode, t), DocumentResult::Loaded);
    return t;
}

} // namespace

TEST(MatchDocument, TheWorkedDocumentFillsEveryField)
{
    const MatchTables t = Loaded(kWorked);

    ASSERT_EQ(CountOf(t.GoodsInfo), 2);
    EXPECT_EQ(t.GoodsInfo[0].id, 0);
    const GoodsItem& jade = t.GoodsInfo[1];
    EXPECT_EQ(jade.id, 1);
    EXPECT_EQ(jade.na, QStringLiteral("翡翠"));
    EXPECT_EQ(jade.des, QStringLiteral("绿色的玉"));
    EXPECT_EQ(jade.un, QStringLiteral("块"));
    EXPECT_EQ(jade.price, 100);
    EXPECT_EQ(jade.PicId, 568);
    const GoodsItem& smokes = t.GoodsInfo[2];
    EXPECT_EQ(smokes.id, 15);
    EXPECT_EQ(smokes.na, QStringLiteral("香烟"));
    EXPECT_EQ(smokes.un, QStringLiteral("包"));
    EXPECT_EQ(smokes.price, 20);
    EXPECT_EQ(smokes.PicId, 861);

    ASSERT_EQ(CountOf(t.ChipLimits), 2);
    EXPECT_EQ(t.ChipLimits[1].key, QStringLiteral("1"));
    EXPECT_EQ(t.ChipLimits[1].max, 500);
    EXPECT_EQ(t.ChipLimits[2].key, QStringLiteral("other"));
    EXPECT_EQ(t.ChipLimits[2].max, 2000);

    ASSERT_EQ(CountOf(t.MatchTypes), 1);
    const MatchType& m = t.MatchTypes[1];
    EXPECT_EQ(m.id, 7);
    EXPECT_EQ(m.na, QStringLiteral("周赛"));
    EXPECT_EQ(m.rm, QStringLiteral("每周六开赛"));
    EXPECT_EQ(m.mtype, 2);
    EXPECT_EQ(m.ex, QStringLiteral("g:500;15:1"));
    EXPECT_EQ(m.FeeText, QStringLiteral("500金币+1香烟"));
    EXPECT_EQ(m.utl, 8);
    EXPECT_EQ(m.ut, 64);
    EXPECT_EQ(m.des, QStringLiteral("周末的比赛"));
    EXPECT_EQ(m.rl, QStringLiteral("打满八局"));
    EXPECT_EQ(m.pz, QStringLiteral("1;g:1000|2;g:500;1:2"));
    const PrizeTable expected = {
        {QStringLiteral("第1名"), QStringLiteral("1000金币"), QString()},
        {QStringLiteral("第2名"), QStringLiteral("500金币+翡翠奖励×2"), QStringLiteral("2")},
    };
    EXPECT_EQ(m.PrizeRows, expected);
}

TEST(MatchDocument, PriceRegionTwoReadsTheNorthernPriceAndNeedsOnlyIt)
{
    EXPECT_EQ(Loaded(kWorked, 2).GoodsInfo[1].price, 90);

    const QString northOnly = QStringLiteral(
        "<r><item n=\"1\"><g1 id=\"3\" na=\"a\" des=\"\" un=\"\" sid=\"0\" pricenorth=\"7\"/></item>"
        "<matchinfo n=\"1\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"1\" ex=\"\" ut=\"0\" utl=\"0\" des=\"\" rl=\"\" pz=\"\"/>"
        "</matchinfo></r>");
    EXPECT_EQ(Loaded(northOnly, 2).GoodsInfo[1].price, 7);
    MatchTables t;
    EXPECT_EQ(ReadMatchDocument(Gbk(northOnly), 1, t), DocumentResult::Malformed);
}

TEST(MatchDocument, UnicodeDocumentsWithoutADeclarationReadToo)
{
    MatchTables t;
    ASSERT_EQ(ReadMatchDocument(kWorked.toUtf8(), 0, t), DocumentResult::Loaded);
    EXPECT_EQ(t.MatchTypes[1].na, QStringLiteral("周赛"));
}

TEST(MatchDocument, AMissingRoomChipEntryStaysEmpty)
{
    const MatchTables t = Loaded(QStringLiteral(
        "<r><room_chip n=\"3\"><roomchipnum1 id=\"1\" num=\"10\"/><roomchipnum3 id=\"3\" num=\"30\"/></room_chip>"
        "<matchinfo n=\"1\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"1\" ex=\"\" ut=\"0\" utl=\"0\" des=\"\" rl=\"\" "
        "pz=\"\"/></matchinfo></r>"));
    ASSERT_EQ(CountOf(t.ChipLimits), 3);
    EXPECT_EQ(t.ChipLimits[1].max, 10);
    EXPECT_EQ(t.ChipLimits[2].key, QString());
    EXPECT_EQ(t.ChipLimits[2].max, 0);
    EXPECT_EQ(t.ChipLimits[3].max, 30);
}

TEST(MatchDocument, SectionsThatAreAbsentKeepWhatAnEarlierLoadLeft)
{
    MatchTables t = Loaded(kWorked);
    const QString onlyMatches = QStringLiteral(
        "<r><matchinfo n=\"1\"><m1 id=\"9\" na=\"月赛\" rm=\"\" mtype=\"1\" ex=\"15:2\" ut=\"0\" utl=\"0\" des=\"\" "
        "rl=\"\" pz=\"1;15:3\"/></matchinfo></r>");
    ASSERT_EQ(ReadMatchDocument(Gbk(onlyMatches), 0, t), DocumentResult::Loaded);
    EXPECT_EQ(CountOf(t.GoodsInfo), 2);
    EXPECT_EQ(CountOf(t.ChipLimits), 2);
    EXPECT_EQ(t.MatchTypes[1].FeeText, QStringLiteral("2香烟"));
    EXPECT_EQ(t.MatchTypes[1].PrizeRows[0].prize, QStringLiteral("3包香烟"));

    // With an empty catalogue, goods in fees and prizes add nothing.
    MatchTables empty;
    ASSERT_EQ(ReadMatchDocument(Gbk(onlyMatches), 0, empty), DocumentResult::Loaded);
    EXPECT_EQ(empty.MatchTypes[1].FeeText, QString());
    EXPECT_EQ(empty.MatchTypes[1].PrizeRows[0].place, QStringLiteral("第1名"));
    EXPECT_EQ(empty.MatchTypes[1].PrizeRows[0].prize, QString());
}

TEST(MatchDocument, DocumentsWithoutMatchesEmptyTheMatchTypesOnly)
{
    const struct {
        const char* what;
        QByteArray xml;
    } cases[] = {
        {"not XML", QByteArray("this is no document <")},
        {"empty file", QByteArray()},
        {"no matchinfo section", Gbk(QStringLiteral("<r><room_chip n=\"1\"><roomchipnum1 id=\"5\" num=\"1\"/></room_chip></r>"))},
        {"matchinfo with n 0", Gbk(QStringLiteral("<r><matchinfo n=\"0\"/></r>"))},
        {"matchinfo not under the root", Gbk(QStringLiteral("<r><x><matchinfo n=\"1\"/></x></r>"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MatchTables t = Loaded(kWorked);
        EXPECT_EQ(ReadMatchDocument(c.xml, 0, t), DocumentResult::NoMatches);
        EXPECT_EQ(CountOf(t.MatchTypes), 0);
        EXPECT_EQ(CountOf(t.GoodsInfo), 2);
    }
    // A section that was there before the missing matches still counts.
    MatchTables t = Loaded(kWorked);
    ReadMatchDocument(cases[2].xml, 0, t);
    ASSERT_EQ(CountOf(t.ChipLimits), 1);
    EXPECT_EQ(t.ChipLimits[1].key, QStringLiteral("5"));
}

TEST(MatchDocument, ABrokenDocumentLeavesEveryTableAsItWas)
{
    const QString goodMatch = QStringLiteral(
        "<matchinfo n=\"1\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"1\" ex=\"\" ut=\"0\" utl=\"0\" des=\"\" rl=\"\" "
        "pz=\"\"/></matchinfo>");
    const struct {
        const char* what;
        QString body;
    } cases[] = {
        {"section without n", QStringLiteral("<r><item/>") + goodMatch + QStringLiteral("</r>")},
        {"negative count", QStringLiteral("<r><room_chip n=\"-1\"/>") + goodMatch + QStringLiteral("</r>")},
        {"count over the cap", QStringLiteral("<r><item n=\"30000\"/>") + goodMatch + QStringLiteral("</r>")},
        {"count beyond 16 bits", QStringLiteral("<r><item n=\"70000\"/>") + goodMatch + QStringLiteral("</r>")},
        {"missing goods entry", QStringLiteral("<r><item n=\"1\"/>") + goodMatch + QStringLiteral("</r>")},
        {"missing match entry", QStringLiteral("<r><matchinfo n=\"2\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"1\" "
                                               "ex=\"\" ut=\"0\" utl=\"0\" des=\"\" rl=\"\" pz=\"\"/></matchinfo></r>")},
        {"goods entry without sid",
         QStringLiteral("<r><item n=\"1\"><g1 id=\"1\" na=\"a\" des=\"\" un=\"\" price=\"1\"/></item>") + goodMatch +
             QStringLiteral("</r>")},
        {"sid beyond 16 bits",
         QStringLiteral("<r><item n=\"1\"><g1 id=\"1\" na=\"a\" des=\"\" un=\"\" sid=\"40000\" price=\"1\"/></item>") +
             goodMatch + QStringLiteral("</r>")},
        {"price beyond 32 bits",
         QStringLiteral("<r><item n=\"1\"><g1 id=\"1\" na=\"a\" des=\"\" un=\"\" sid=\"1\" price=\"3000000000\"/>"
                        "</item>") + goodMatch + QStringLiteral("</r>")},
        {"mtype not a number", QStringLiteral("<r><matchinfo n=\"1\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"2a\" ex=\"\" "
                                              "ut=\"0\" utl=\"0\" des=\"\" rl=\"\" pz=\"\"/></matchinfo></r>")},
        {"match entry without pz", QStringLiteral("<r><matchinfo n=\"1\"><m1 id=\"1\" na=\"x\" rm=\"\" mtype=\"1\" "
                                                  "ex=\"\" ut=\"0\" utl=\"0\" des=\"\" rl=\"\"/></matchinfo></r>")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MatchTables t = Loaded(kWorked);
        EXPECT_EQ(ReadMatchDocument(Gbk(c.body), 0, t), DocumentResult::Malformed);
        EXPECT_EQ(CountOf(t.GoodsInfo), 2);
        EXPECT_EQ(CountOf(t.ChipLimits), 2);
        ASSERT_EQ(CountOf(t.MatchTypes), 1);
        EXPECT_EQ(t.MatchTypes[1].na, QStringLiteral("周赛"));
    }
}

TEST(MatchDocument, LenientNumbersTakeTheLeadingNumberRoundedHalfToEven)
{
    const MatchTables t = Loaded(QStringLiteral(
        "<r><item n=\" 1x\"><g1 id=\" 2.5\" na=\"a\" des=\"\" un=\"\" sid=\"zz\" price=\"abc\"/></item>"
        "<matchinfo n=\"1\"><m1 id=\"3.5\" na=\"x\" rm=\"\" mtype=\" 2 \" ex=\"\" ut=\"12 people\" utl=\"\" des=\"\" "
        "rl=\"\" pz=\"\"/></matchinfo></r>"));
    EXPECT_EQ(t.GoodsInfo[1].id, 2);
    EXPECT_EQ(t.GoodsInfo[1].PicId, 569);
    EXPECT_EQ(t.GoodsInfo[1].price, 0);
    EXPECT_EQ(t.MatchTypes[1].id, 4);
    EXPECT_EQ(t.MatchTypes[1].mtype, 2);
    EXPECT_EQ(t.MatchTypes[1].ut, 12);
    EXPECT_EQ(t.MatchTypes[1].utl, 0);
    EXPECT_TRUE(t.MatchTypes[1].PrizeRows.empty());
}

TEST(MatchDocument, GoodsPicturesFollowTheGoodsId)
{
    const std::pair<int32_t, int16_t> cases[] = {{1, 568}, {2, 569}, {3, 567}, {4, 576}, {5, 577}, {6, 578},
                                                 {7, 570}, {8, 571}, {9, 855}, {15, 861}, {20, 866}, {21, 786},
                                                 {0, 786}, {-1, 786}};
    for (auto [id, pic] : cases)
        EXPECT_EQ(GoodsPicId(id), pic) << "goods id " << id;
}

TEST(MatchDocument, FeeTexts)
{
    std::vector<GoodsItem> goods(2);
    goods[1].id = 15;
    goods[1].na = QStringLiteral("香烟");
    goods[1].un = QStringLiteral("包");
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("g:500"), QStringLiteral("500金币")},
        {QStringLiteral("g:500;15:1"), QStringLiteral("500金币+1香烟")},
        {QStringLiteral(" 15:2 ; g:0"), QStringLiteral("2香烟+0金币")},
        {QStringLiteral(";g:5"), QString()},
        {QStringLiteral("g:100;x"), QStringLiteral("100金币")},
        {QStringLiteral("99:1;g:3"), QStringLiteral("3金币")},
        {QStringLiteral("G:3"), QString()},
        {QStringLiteral("g:1:2"), QString()},
        {QString(), QString()},
    };
    for (const auto& [ex, fee] : cases)
        EXPECT_EQ(BuildFeeText(ex, goods), fee) << qPrintable(ex);
}

TEST(MatchDocument, PrizeRows)
{
    std::vector<GoodsItem> goods(2);
    goods[1].id = 15;
    goods[1].na = QStringLiteral("香烟");
    goods[1].un = QStringLiteral("包");
    const QString e;
    const struct {
        QString pz;
        PrizeTable rows;
    } cases[] = {
        {QStringLiteral("1;g:1000|2;g:500;1:2"),
         {{QStringLiteral("第1名"), QStringLiteral("1000金币"), e},
          {QStringLiteral("第2名"), QStringLiteral("500金币+翡翠奖励×2"), QStringLiteral("2")}}},
        {QStringLiteral("3;g:0"), {{QStringLiteral("第3名"), e, e}}},
        {QStringLiteral("1;15:2;g:5"), {{QStringLiteral("第1名"), QStringLiteral("2包香烟+5金币"), e}}},
        // A row with only a place ends the prizes: it and later rows stay empty.
        {QStringLiteral("1;g:5|2|3;g:1"), {{QStringLiteral("第1名"), QStringLiteral("5金币"), e}, {}, {}}},
        // An empty second column keeps the place and ends the prizes.
        {QStringLiteral("4-10;|11;g:1"), {{QStringLiteral("第4-10名"), e, e}, {}}},
        // A column that is no pair ends its row; the next row still counts.
        {QStringLiteral("1;g:5;bad;g:7|2;g:1"),
         {{QStringLiteral("第1名"), QStringLiteral("5金币"), e}, {QStringLiteral("第2名"), QStringLiteral("1金币"), e}}},
        {QStringLiteral("|1;g:5"), {{}, {}}},
        {QString(), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildPrizeRows(c.pz, goods), c.rows) << qPrintable(c.pz);
}

TEST(MatchDocument, PrizeRowsStopAtTheirCap)
{
    QStringList rows;
    for (int i = 1; i <= kMaxPrizeRows + 50; ++i)
        rows << QStringLiteral("%1;g:1").arg(i);
    const PrizeTable t = BuildPrizeRows(rows.join(QLatin1Char('|')), {GoodsItem{}});
    ASSERT_EQ(static_cast<int>(t.size()), kMaxPrizeRows);
    EXPECT_EQ(t.back().place, QStringLiteral("第%1名").arg(kMaxPrizeRows));
}

TEST(MatchDocument, TheTableServersSampleDocumentLoads)
{
    QFile file(QStringLiteral(TABLESERVER_MATCH_INFO));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    MatchTables t;
    ASSERT_EQ(ReadMatchDocument(file.readAll(), 1, t), DocumentResult::Loaded);
    EXPECT_EQ(CountOf(t.GoodsInfo), 4);
    EXPECT_EQ(CountOf(t.ChipLimits), 3);
    ASSERT_EQ(CountOf(t.MatchTypes), 2);
    EXPECT_EQ(t.MatchTypes[1].na, QStringLiteral("梅花杯"));
    EXPECT_EQ(t.MatchTypes[1].PrizeRows[2].prize, QStringLiteral("1罐茶叶"));
    EXPECT_EQ(t.MatchTypes[2].FeeText, QStringLiteral("500金币+2香烟"));
}
