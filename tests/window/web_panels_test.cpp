// The two web panels of the table window (on panels that load nothing) and
// the opening of web pages in the user's browser.
#include "window/web_panels.h"

#include "support/test_client.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QApplication>
#include <gtest/gtest.h>

using testing_support::FakeWebPanel;
using testing_support::TestClient;

namespace {

struct Panels : TestClient {
    Panels() { window::LayoutPlayControls(client); }
    FakeWebPanel& first() { return *static_cast<FakeWebPanel*>(client.MainForm->WebBrowser1); }
    FakeWebPanel& second() { return *static_cast<FakeWebPanel*>(client.MainForm->WebBrowser2); }
    window::MainForm& f = *client.MainForm;
};

const QString kPage = QStringLiteral("http://127.0.0.1:8080/ad.html");

} // namespace

TEST(WebPanels, MadeHiddenOnTheTablePicture)
{
    Panels t;
    ASSERT_EQ(t.web.made.size(), 2u);
    EXPECT_EQ(t.f.WebBrowser1->objectName(), QStringLiteral("WebBrowser1"));
    EXPECT_EQ(t.f.WebBrowser2->objectName(), QStringLiteral("WebBrowser2"));
    EXPECT_EQ(t.f.WebBrowser1->parentWidget(), t.f.pic1);
    EXPECT_TRUE(t.f.WebBrowser1->isHidden());
    EXPECT_TRUE(t.f.WebBrowser2->isHidden());
}

struct LayoutCase {
    const char* name;
    float scale;
    QRectF bird;
    QRect panel;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class PanelLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PanelLayoutTest, FirstPanelLiesOverTheMascot)
{
    const LayoutCase& lc = GetParam();
    TestClient t;
    t.client.game.ScaleX = t.client.game.ScaleY = lc.scale;
    window::LayoutPlayControls(t.client);
    window::MainForm& f = *t.client.MainForm;
    EXPECT_TRUE(f.Bird.Visible);
    EXPECT_FLOAT_EQ(f.Bird.Left, static_cast<float>(lc.bird.x()));
    EXPECT_FLOAT_EQ(f.Bird.Top, static_cast<float>(lc.bird.y()));
    EXPECT_FLOAT_EQ(f.Bird.Width, static_cast<float>(lc.bird.width()));
    EXPECT_FLOAT_EQ(f.Bird.Height, static_cast<float>(lc.bird.height()));
    EXPECT_EQ(f.WebBrowser1->geometry(), lc.panel);
    EXPECT_TRUE(f.WebBrowser1->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    WebPanels, PanelLayoutTest,
    ::testing::Values(LayoutCase{"FullSize", 1.0f, {936, 680, 82, 80}, {938, 682, 82, 80}},
                      // 731.25 + 2 and 531.25 + 2 round to 733 and 533; 64.0625 and 62.5 round to 64 and 62.
                      LayoutCase{"SmallLayout", 0.78125f, {731.25, 531.25, 64.0625, 62.5}, {733, 533, 64, 62}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebPanels, FirstPanelShowsOverTheMascotOnceItsPageIsIn)
{
    Panels t;
    t.f.WebBrowser1->move(0, 0);
    t.f.WebBrowser1->Navigate(kPage);
    ASSERT_EQ(t.first().loads, QList<QUrl>{QUrl(kPage)});
    EXPECT_TRUE(t.f.WebBrowser1->isHidden()) << "hidden while loading";
    t.first().Complete();
    EXPECT_FALSE(t.f.WebBrowser1->isHidden());
    EXPECT_EQ(t.f.WebBrowser1->pos(), QPoint(938, 682));
    // In front of the other windowed controls of the table picture.
    QWidget* top = nullptr;
    for (QObject* child : t.f.pic1->children())
        if (auto* w = qobject_cast<QWidget*>(child))
            top = w;
    EXPECT_EQ(top, t.f.WebBrowser1);
}

TEST(WebPanels, AFailedFirstPanelStaysHiddenForGood)
{
    Panels t;
    t.f.WebBrowser1->Navigate(kPage);
    t.first().Complete();
    ASSERT_FALSE(t.f.WebBrowser1->isHidden());
    t.f.WebBrowser1->Navigate(kPage + QStringLiteral("?next"));
    t.first().Fail(404);
    EXPECT_TRUE(t.f.WebBrowser1->isHidden());
    EXPECT_EQ(t.client.window.WebNavError, -1);
    // A later page of the same panel completes: the panel stays hidden.
    t.f.WebBrowser1->Navigate(kPage);
    t.first().Complete();
    EXPECT_TRUE(t.f.WebBrowser1->isHidden());
}

TEST(WebPanels, SecondPanelHidesOnAnErrorOnly)
{
    Panels t;
    t.f.WebBrowser2->show();
    t.f.WebBrowser2->Navigate(kPage);
    t.second().Complete();
    EXPECT_FALSE(t.f.WebBrowser2->isHidden());
    t.second().Fail(-105);
    EXPECT_TRUE(t.f.WebBrowser2->isHidden());
    EXPECT_EQ(t.client.window.WebNavError, 0) << "the first panel's flag is its own";
}

struct AddressCase {
    const char* name;
    QString address;
    bool web;
};
void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.name; }

const AddressCase kAddresses[] = {
    {"Http", QStringLiteral("http://pay.example.com/charge?user=alice&sign=0a1b"), true},
    {"Https", QStringLiteral("https://example.com/vip"), true},
    {"HttpsUpperCaseScheme", QStringLiteral("HTTPS://example.com/"), true},
    {"Loopback", QStringLiteral("http://127.0.0.1:8080/a.html"), true},
    {"BlanksAround", QStringLiteral("  http://example.com/  "), true},
    {"File", QStringLiteral("file:///etc/passwd"), false},
    {"Ftp", QStringLiteral("ftp://example.com/a"), false},
    {"Script", QStringLiteral("javascript:alert(1)"), false},
    {"NoScheme", QStringLiteral("www.example.com"), false},
    {"LocalName", QStringLiteral("show.gamead"), false},
    {"NoHost", QStringLiteral("http://"), false},
    {"CommandLine", QStringLiteral("cmd.exe /c calc"), false},
    {"Empty", QString(), false},
};

class WebAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(WebAddressTest, OnlyWebAddressesOpenInTheBrowser)
{
    const AddressCase& ac = GetParam();
    TestClient t;
    EXPECT_EQ(window::OpenWebPage(t.client, ac.address), ac.web);
    if (ac.web) {
        ASSERT_EQ(t.shell.opened.size(), 1);
        EXPECT_EQ(t.shell.opened.front(), QUrl(ac.address.trimmed()));
    } else {
        EXPECT_TRUE(t.shell.opened.isEmpty());
    }
}

TEST_P(WebAddressTest, OnlyWebAddressesLoadInAPanel)
{
    const AddressCase& ac = GetParam();
    Panels t;
    int errors = 0;
    QObject::connect(t.f.WebBrowser2, &platform::WebPanel::NavigateError, [&errors] { ++errors; });
    t.f.WebBrowser2->show();
    t.f.WebBrowser2->Navigate(ac.address);
    EXPECT_EQ(t.second().loads.size(), ac.web ? 1 : 0);
    EXPECT_EQ(errors, 0) << "a refused address fails from the event loop, not inside Navigate";
    QApplication::processEvents();
    EXPECT_EQ(errors, ac.web ? 0 : 1);
    EXPECT_EQ(t.f.WebBrowser2->isHidden(), !ac.web);
}

INSTANTIATE_TEST_SUITE_P(WebPanels, WebAddressTest, ::testing::ValuesIn(kAddresses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpenWebPage, ReportsADesktopThatCannotOpenTheAddress)
{
    TestClient t;
    t.shell.opens = false;
    EXPECT_FALSE(window::OpenWebPage(t.client, QStringLiteral("https://example.com/")));
    EXPECT_EQ(t.shell.opened.size(), 1) << "asked once, no second way";
}
