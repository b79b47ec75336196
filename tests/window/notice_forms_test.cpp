// The false-win notice and the rules window: their text, hiding by a click
// anywhere on them, and rule.ini decoded whole whatever its bytes.
#include "window/notice_forms.h"

#include "platform/gbk.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void ClickAt(QWidget& w, QPoint at)
{
    QTest::mouseClick(&w, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

QPoint CentreOf(const platform::GraphicControl& control) { return control.PaintRect().center().toPoint(); }

// ---- the false-win notice ----

TEST(FalseWinNotice, ShowsItsTextOnItsBanner)
{
    TestClient t;
    window::ZhahuForm& z = *t.client.frmZhahu;
    z.show(); // the background is made when the window first shows
    EXPECT_EQ(z.size(), QSize(348, 63));
    EXPECT_EQ(z.BackPicture.resourceId, window::kZhahuBackground);
    EXPECT_EQ(z.Label1.Caption, QStringLiteral("当前番数不够！不能胡牌！"));
    EXPECT_EQ(z.Label1.ForeColor, 0x00FFFF);
    EXPECT_EQ(z.Label1.PaintRect(), QRectF(76, 24, 204, 16));
    EXPECT_EQ(z.Image1.PictureId(), window::kZhahuClose);
    EXPECT_EQ(z.Image1.PaintRect(), QRectF(332, 0, 16, 16));
}

TEST(FalseWinNotice, AClickAnywhereHidesItAndClearsItsFlag)
{
    TestClient probe;
    const window::ZhahuForm& shape = *probe.client.frmZhahu;
    const std::vector<std::pair<const char*, QPoint>> places = {
        {"banner", QPoint(20, 50)},
        {"text", CentreOf(shape.Label1)},
        {"close picture", CentreOf(shape.Image1)},
    };
    for (const auto& [name, at] : places) {
        TestClient t;
        window::ZhahuForm& z = *t.client.frmZhahu;
        t.client.game.ZhahuShown = -1;
        z.Show();
        QApplication::processEvents();
        ClickAt(z, at);
        EXPECT_FALSE(z.isVisible()) << name;
        EXPECT_EQ(t.client.game.ZhahuShown, 0) << name;
    }
}

// ---- the rules window ----

struct Rules : TestClient {
    QTemporaryDir dir;
    window::RuleForm& f = *client.FrmRule;

    Rules()
    {
        client.core.AppPath = dir.path();
        client.MainForm->setGeometry(100, 40, 1024, 768);
    }
    void Write(const QByteArray& bytes)
    {
        QFile file(dir.filePath(QStringLiteral("rule.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    void Open()
    {
        window::ShowRules(client);
        QApplication::processEvents();
    }
};

TEST(RulesWindow, ShowsTheFileDecodedWhole)
{
    const QString fffd(QChar(0xFFFD));
    const QByteArray rules = platform::gbk::Encode(QStringLiteral("一、胡牌\r\n二、杠牌\n"));
    const QByteArray big = platform::gbk::Encode(QStringLiteral("长")).repeated(20000) + "end";
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const std::vector<Case> cases = {
        {"GBK text ending in a line break", rules, QStringLiteral("一、胡牌\r\n二、杠牌\n")},
        {"empty file", QByteArray(), QString()},
        {"lead byte cut off at the end", QByteArray("ab\xD6", 3), QStringLiteral("ab") + fffd},
        {"only a lead byte", QByteArray("\xB9", 1), fffd},
        {"lead byte before a line break", QByteArray("\xD6\nx", 3), fffd + QStringLiteral("\nx")},
        {"pair the code page lacks", QByteArray("\xA2\xA0z", 3), fffd + QStringLiteral("z")},
        {"bytes that lead nothing", QByteArray("\x80" "a\xFF", 3), fffd + QStringLiteral("a") + fffd},
        {"longer than 32767 bytes", big, QStringLiteral("长").repeated(20000) + QStringLiteral("end")},
    };
    for (const Case& c : cases) {
        Rules t;
        t.Write(c.bytes);
        t.Open();
        EXPECT_EQ(t.f.Label1.Caption, QStringLiteral("Kavelin规则")) << c.name;
        EXPECT_EQ(t.f.LblInfo.Caption, c.text) << c.name;
    }
}

TEST(RulesWindow, WithoutTheFileItIsEmptyUnderItsDesignTitle)
{
    Rules t;
    t.Open();
    EXPECT_TRUE(t.f.isVisible());
    EXPECT_EQ(t.f.Label1.Caption, QStringLiteral("规则"));
    EXPECT_TRUE(t.f.LblInfo.Caption.isEmpty());
}

TEST(RulesWindow, ReadsTheFileOnceAndOpensCentredOverTheTable)
{
    Rules t;
    t.Write("first");
    t.Open();
    EXPECT_EQ(t.f.size(), QSize(337, 534));
    EXPECT_EQ(t.f.BackPicture.resourceId, window::kRuleBackground);
    const QRect main = t.client.MainForm->frameGeometry();
    EXPECT_EQ(t.f.pos(), QPoint(main.left() + (main.width() - 337) / 2, main.top() + (main.height() - 534) / 2));
    t.Write("second");
    t.Open();
    EXPECT_TRUE(t.f.isVisible());
    EXPECT_EQ(t.f.LblInfo.Caption, QStringLiteral("first"));
}

TEST(RulesWindow, AClickOnTheTextOrTheWindowHidesIt)
{
    for (const bool onText : {true, false}) {
        Rules t;
        t.Write("rules");
        t.Open();
        ClickAt(t.f, onText ? CentreOf(t.f.LblInfo) : QPoint(5, 5));
        EXPECT_FALSE(t.f.isVisible()) << onText;
    }
}

} // namespace
