// The prize exchange window: its pages of prizes, its links and how the
// table's jade-exchange button opens and closes it.
#include "service_fixture.h"

#include "services/exchange_form.h"
#include "services/web_links.h"

#include <gtest/gtest.h>

using namespace services;
using testing_support::ServiceTable;

namespace {

struct ExchangeTable : ServiceTable {
    ExchangeForm& Open()
    {
        ClickTable(f.ImgJadeExch);
        return *c.services.exchangeFrm;
    }
};

} // namespace

struct PageCase {
    const char* name;
    int clicksUp;
    int clicksDown;
    QString pageText;
    int firstPrize;   // prize shown in cell 1
    int filledCells;
};
void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class ExchangePages : public ::testing::TestWithParam<PageCase> {};

TEST_P(ExchangePages, ShowEightPrizesAPage)
{
    ExchangeTable t;
    ExchangeForm& x = t.Open();
    for (int i = 0; i < GetParam().clicksUp; ++i)
        ServiceTable::Click(&x, x.pageUp);
    for (int i = 0; i < GetParam().clicksDown; ++i)
        ServiceTable::Click(&x, x.pageDown);
    EXPECT_EQ(x.page.Caption, GetParam().pageText);
    const auto goods = ExchangeGoods();
    for (int cell = 1; cell <= 8; ++cell) {
        const int prize = GetParam().firstPrize + cell - 1;
        if (cell <= GetParam().filledCells) {
            EXPECT_EQ(x.exchangelist[cell].PictureId(), 867 + prize) << cell;
            EXPECT_EQ(x.title1[cell].Caption, goods[static_cast<std::size_t>(prize)].Texts[0]) << cell;
            const QStringList& texts = goods[static_cast<std::size_t>(prize)].Texts;
            EXPECT_EQ(x.title2[cell].Caption, texts.mid(1).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))
                << cell;
        } else {
            EXPECT_TRUE(x.exchangelist[cell].GetPicture().isNull()) << cell;
            EXPECT_TRUE(x.title1[cell].Caption.isEmpty()) << cell;
            EXPECT_TRUE(x.title2[cell].Caption.isEmpty()) << cell;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ExchangeForm, ExchangePages,
                         ::testing::Values(PageCase{"First", 0, 0, QStringLiteral("1/3"), 0, 8},
                                           PageCase{"Second", 1, 0, QStringLiteral("2/3"), 8, 8},
                                           PageCase{"LastHasFour", 2, 0, QStringLiteral("3/3"), 16, 4},
                                           PageCase{"UpStopsAtTheLast", 5, 0, QStringLiteral("3/3"), 16, 4},
                                           PageCase{"DownStopsAtTheFirst", 0, 3, QStringLiteral("1/3"), 0, 8},
                                           PageCase{"UpAndBack", 2, 1, QStringLiteral("2/3"), 8, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExchangeForm, PrizeOneShowsItsExtraLine)
{
    ExchangeTable t;
    ExchangeForm& x = t.Open();
    EXPECT_EQ(x.title1[2].Caption, QStringLiteral("手机话费-10元"));
    EXPECT_EQ(x.title2[2].Caption, QStringLiteral("翡翠200个\r\n1张手机充值卡10元\r\n"));
}

TEST(ExchangeForm, TheJadeButtonTogglesTheWindowWhichKeepsItsPage)
{
    ExchangeTable t;
    ExchangeForm& x = t.Open();
    EXPECT_TRUE(x.isVisible());
    ServiceTable::Click(&x, x.pageUp);
    t.ClickTable(t.f.ImgJadeExch);
    EXPECT_FALSE(x.isVisible());
    t.ClickTable(t.f.ImgJadeExch);
    EXPECT_TRUE(x.isVisible());
    EXPECT_EQ(x.page.Caption, QStringLiteral("2/3"));
    ServiceTable::Click(&x, x.Label_close);
    EXPECT_FALSE(x.isVisible());
}

TEST(ExchangeForm, MinimisingTheTableHidesIt)
{
    ExchangeTable t;
    ExchangeForm& x = t.Open();
    t.f.showMinimized();
    QTest::qWait(20);
    EXPECT_FALSE(x.isVisible());
}

TEST(ExchangeForm, LinksOpenTheExchangeAndRechargePages)
{
    ExchangeTable t;
    t.c.core.UserName = "player";
    t.c.core.UserKey = "secret";
    ExchangeForm& x = t.Open();
    const QPoint at = testing_support::CentreOf(x.exchange);
    QTest::mousePress(&x, Qt::LeftButton, {}, at);
    EXPECT_EQ(x.exchange.PictureId(), kExchangeLinkPressed);
    QTest::mouseRelease(&x, Qt::LeftButton, {}, at);
    EXPECT_EQ(x.exchange.PictureId(), kExchangeLinkNormal);
    ServiceTable::Click(&x, x.ImgOpenvip);
    EXPECT_EQ(t.t.shell.opened, (QList<QUrl>{QUrl(QStringLiteral("http://www.brannoch.example/duihuan")),
                                             QUrl(MemberRechargeLink("player", "secret"))}));
    EXPECT_TRUE(t.TakeSent().empty()) << "nothing goes to the game server";
}

TEST(ExchangeForm, HoverPicturesChangeOnlyWithTheState)
{
    ExchangeTable t;
    testing_support::MoveOver(t.f.pic1, testing_support::CentreOf(t.f.ImgJadeExch));
    EXPECT_EQ(t.f.ImgJadeExch.PictureId(), kJadeExchHover);
    EXPECT_EQ(t.f.ImgJadeExch.Tag, QStringLiteral("1"));
    ExchangeForm& x = t.Open();
    testing_support::MoveOver(&x, testing_support::CentreOf(x.ImgOpenvip));
    EXPECT_EQ(x.ImgOpenvip.PictureId(), kExchangeVipHover);
    testing_support::MoveOver(&x, QPoint(20, 400));
    EXPECT_EQ(x.ImgOpenvip.PictureId(), kExchangeVipNormal);
    EXPECT_EQ(x.ImgOpenvip.Tag, QStringLiteral("0"));
}

TEST(ExchangeForm, ThePressOnTheSurfaceDragsTheWindow)
{
    ExchangeTable t;
    ExchangeForm& x = t.Open();
    const QPoint before = x.pos();
    const QPoint from(20, 400);
    QTest::mousePress(&x, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(30, 12)), QPointF(x.mapToGlobal(from + QPoint(30, 12))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&x, &move);
    QTest::mouseRelease(&x, Qt::LeftButton, {}, from + QPoint(30, 12));
    EXPECT_EQ(x.pos(), before + QPoint(30, 12));
}
