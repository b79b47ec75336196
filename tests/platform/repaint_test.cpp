// What the graphic controls repaint: a setter that changes nothing posts no
// update, a change repaints the control's own rectangle, a paint event
// paints only what it reaches, and a label lays its text out only when
// something that shapes the text changed.
#include "platform/controls.h"
#include "support/paint_log.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::PaintLog;
using testing_support::SettlePainting;

namespace {

Picture Solid(int w, int h, QColor color, int id = 500)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(color);
    return {id, img};
}

// A shown surface with a tile, a label, a hidden image, a hidden label and
// a picture box; paint events are recorded from the moment it settled.
struct Table {
    GraphicSurface surface;
    Image tile{QStringLiteral("MJ_Image"), 0};
    Label number{QStringLiteral("Number")};
    Image hidden{QStringLiteral("Speak"), 0};
    Label hiddenText{QStringLiteral("LbProp")};
    PictureBox* box;
    PaintLog log;

    Table()
    {
        surface.resize(400, 300);
        for (GraphicControl* c : std::initializer_list<GraphicControl*>{&tile, &number, &hidden, &hiddenText})
            surface.Add(c);
        tile.Move(20, 20);
        tile.SetPicture(Solid(36, 50, Qt::white));
        number.Move(200, 20, 30, 20);
        number.SetCaption(QStringLiteral("8"));
        hidden.SetVisible(false);
        hidden.Move(100, 150);
        hidden.SetPicture(Solid(40, 40, Qt::red, 600));
        hiddenText.SetVisible(false);
        hiddenText.Move(100, 220, 200, 30);
        number.ZOrder(0);
        box = new PictureBox(&surface, QStringLiteral("Pic_matchDetail"));
        box->setGeometry(300, 200, 80, 80);
        box->SetPicture(Solid(80, 80, Qt::blue, 700));
        surface.show();
        SettlePainting();
        log.Watch(&surface);
        log.Watch(box);
    }
};

struct Step {
    const char* name;
    std::function<void(Table&)> act;
};
void PrintTo(const Step& s, std::ostream* os) { *os << s.name; }

} // namespace

class EqualSetter : public ::testing::TestWithParam<Step> {};

TEST_P(EqualSetter, PostsNoUpdate)
{
    Table t;
    GetParam().act(t);
    SettlePainting();
    EXPECT_EQ(t.log.paints.size(), 0u) << "painted " << t.log.PaintedOn(&t.surface).boundingRect().x() << ","
                                       << t.log.PaintedOn(&t.surface).boundingRect().y();
}

INSTANTIATE_TEST_SUITE_P(
    Controls, EqualSetter,
    ::testing::Values(
        Step{"MoveToWhereItIs", [](Table& t) { t.tile.Move(t.tile.Left, t.tile.Top, t.tile.Width, t.tile.Height); }},
        Step{"MoveKeepingTheSize", [](Table& t) { t.tile.Move(t.tile.Left, t.tile.Top); }},
        Step{"ShowAShownImage", [](Table& t) { t.tile.SetVisible(true); }},
        Step{"HideAHiddenImage", [](Table& t) { t.hidden.SetVisible(false); }},
        Step{"TheCaptionItShows", [](Table& t) { t.number.SetCaption(QStringLiteral("8")); }},
        Step{"ItsOwnPicture", [](Table& t) { t.tile.SetPicture(t.tile.GetPicture()); }},
        Step{"ACopyOfItsPicture",
             [](Table& t) {
                 const Picture copy{t.tile.PictureId(), t.tile.GetPicture().image.copy()};
                 t.tile.SetPicture(copy);
             }},
        Step{"TheFrontOneToTheFront", [](Table& t) { t.number.ZOrder(0); }},
        Step{"TheBackOneToTheBack", [](Table& t) { t.tile.ZOrder(1); }},
        Step{"AHiddenImageMovesAndChangesPicture",
             [](Table& t) {
                 t.hidden.Move(10, 200, 50, 50);
                 t.hidden.SetPicture(Solid(20, 20, Qt::green, 601));
                 t.hidden.ZOrder(0);
             }},
        Step{"AHiddenLabelChangesCaption", [](Table& t) { t.hiddenText.SetCaption(QStringLiteral("请等待")); }},
        Step{"ThePictureBoxPictureAgain", [](Table& t) { t.box->SetPicture(t.box->GetPicture()); }}),
    [](const ::testing::TestParamInfo<Step>& i) { return std::string(i.param.name); });

struct Change {
    const char* name;
    std::function<void(Table&)> act;
    QRect expected; // what must be repainted, and no more than a pixel around it
};
void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

class ChangingSetter : public ::testing::TestWithParam<Change> {};

TEST_P(ChangingSetter, RepaintsOnlyTheControlsRectangle)
{
    Table t;
    GetParam().act(t);
    SettlePainting();
    const QRegion painted = t.log.PaintedOn(&t.surface);
    EXPECT_TRUE(painted.contains(GetParam().expected)) << "the change itself is repainted";
    EXPECT_TRUE(QRegion(GetParam().expected.adjusted(-2, -2, 2, 2)).contains(painted.boundingRect()))
        << "painted " << painted.boundingRect().x() << "," << painted.boundingRect().y() << " "
        << painted.boundingRect().width() << "x" << painted.boundingRect().height();
    EXPECT_EQ(t.log.CountOn(t.box), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ChangingSetter,
    ::testing::Values(
        Change{"HideTheTile", [](Table& t) { t.tile.SetVisible(false); }, QRect(20, 20, 36, 50)},
        Change{"MoveTheTileAStep", [](Table& t) { t.tile.Move(30, 20); }, QRect(20, 20, 46, 50)},
        Change{"ANewCaption", [](Table& t) { t.number.SetCaption(QStringLiteral("7")); }, QRect(200, 20, 30, 20)},
        Change{"ThePicturesNextFrame",
               [](Table& t) { t.tile.SetPicture(Solid(36, 50, Qt::white, 501)); }, QRect(20, 20, 36, 50)},
        Change{"OtherPixelsUnderTheSameId",
               [](Table& t) { t.tile.SetPicture(Solid(36, 50, Qt::black)); }, QRect(20, 20, 36, 50)},
        Change{"ThePictureAfterItsStretchEnded",
               [](Table& t) {
                   // Stretched to another size, then the same picture
                   // again unstretched: the image takes its picture's size.
                   t.tile.Stretch = true;
                   t.tile.Move(20, 20, 30, 40);
                   t.tile.Stretch = false;
                   SettlePainting();
                   t.log.Clear();
                   t.tile.SetPicture(t.tile.GetPicture());
                   EXPECT_EQ(t.tile.Width, 36);
                   EXPECT_EQ(t.tile.Height, 50);
               },
               QRect(20, 20, 36, 50)},
        Change{"ShowTheHiddenImage", [](Table& t) { t.hidden.SetVisible(true); }, QRect(100, 150, 40, 40)},
        // A property set directly shows at the next setter, even one that
        // sets the value the control has.
        Change{"AColourSetDirectlyThenTheSameCaption",
               [](Table& t) {
                   t.number.ForeColor = 0xFF;
                   t.number.SetCaption(QStringLiteral("8"));
               },
               QRect(200, 20, 30, 20)},
        Change{"HiddenDirectlyThenHiddenAgain",
               [](Table& t) {
                   t.tile.Visible = false;
                   t.tile.SetVisible(false);
               },
               QRect(20, 20, 36, 50)},
        Change{"MovedDirectlyThenToTheSamePlace",
               [](Table& t) {
                   t.tile.Left = 30;
                   t.tile.Move(30, 20);
               },
               QRect(20, 20, 46, 50)}),
    [](const ::testing::TestParamInfo<Change>& i) { return std::string(i.param.name); });

namespace {

// A control that counts its paints.
class Counting : public GraphicControl {
public:
    using GraphicControl::GraphicControl;
    void Paint(QPainter& p) const override
    {
        ++paints;
        p.fillRect(PaintRect(), Qt::darkGreen);
    }
    mutable int paints = 0;
};

} // namespace

TEST(SurfacePaint, APaintEventPaintsOnlyTheControlsItReaches)
{
    GraphicSurface surface;
    surface.resize(300, 200);
    Counting left, right, hidden;
    for (Counting* c : {&left, &right, &hidden})
        surface.Add(c);
    left.Move(10, 10, 40, 40);
    right.Move(200, 10, 40, 40);
    hidden.Move(10, 10, 40, 40);
    hidden.SetVisible(false);
    surface.show();
    SettlePainting();
    ASSERT_GE(left.paints, 1);
    ASSERT_GE(right.paints, 1);
    EXPECT_EQ(hidden.paints, 0);

    left.paints = right.paints = 0;
    left.Refresh();
    SettlePainting();
    EXPECT_EQ(left.paints, 1);
    EXPECT_EQ(right.paints, 0);
    EXPECT_EQ(hidden.paints, 0);
}

struct BackCase {
    const char* name;
    QSize picture; // the back picture's size on a 200 x 150 surface
};
void PrintTo(const BackCase& c, std::ostream* os) { *os << c.name; }

class PartialPaint : public ::testing::TestWithParam<BackCase> {};

// A paint of part of the surface draws there exactly what a paint of the
// whole draws, and nothing elsewhere.
TEST_P(PartialPaint, DrawsThePartAsTheWholeWouldBe)
{
    GraphicSurface surface;
    surface.resize(200, 150);
    QImage back(GetParam().picture, QImage::Format_ARGB32);
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            back.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, (x * y) % 256));
    surface.BackPicture = {100, back};
    Image tile;
    Label text;
    surface.Add(&tile);
    surface.Add(&text);
    tile.Move(30, 30);
    tile.SetPicture(Solid(36, 50, Qt::white));
    text.Move(60, 40, 90, 60);
    text.SetCaption(QStringLiteral("请选择一个宝箱打开 12"));

    QImage whole(200, 150, QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::magenta);
    surface.render(&whole);
    const QRegion part = QRegion(25, 25, 40, 30) + QRegion(100, 90, 60, 50) + QRegion(0, 140, 10, 10);
    QImage partial(200, 150, QImage::Format_ARGB32_Premultiplied);
    partial.fill(Qt::magenta);
    surface.render(&partial, part.boundingRect().topLeft(), part);

    int wrong = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb want = part.contains(QPoint(x, y)) ? whole.pixel(x, y) : QColor(Qt::magenta).rgba();
            wrong += partial.pixel(x, y) != want ? 1 : 0;
        }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Surface, PartialPaint,
                         ::testing::Values(BackCase{"BackPictureOfTheSurfacesSize", {200, 150}},
                                           BackCase{"BackPictureStretched", {160, 120}}),
                         [](const ::testing::TestParamInfo<BackCase>& i) { return std::string(i.param.name); });

// ---- the label's text layout ----

namespace {

// Paints a label onto an image as its surface would, from a painter whose
// font is the application's.
QImage PaintLabel(const Label& l, QSize size = {220, 120})
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    l.Paint(p);
    return img;
}

struct Mutation {
    const char* name;
    std::function<void(Label&)> act;
    bool laysOut;
};
void PrintTo(const Mutation& m, std::ostream* os) { *os << m.name; }

} // namespace

class LabelLayout : public ::testing::TestWithParam<Mutation> {};

TEST_P(LabelLayout, LaysTheTextOutOnlyWhenWhatShapesItChanged)
{
    Label l(QStringLiteral("LbProp"));
    l.Move(10, 10, 150, 60);
    l.SetCaption(QStringLiteral("请等待玩家打开宝箱\n3"));
    PaintLabel(l);
    PaintLabel(l);
    ASSERT_EQ(l.LayoutCount(), 1) << "painting again reuses the layout";
    GetParam().act(l);
    PaintLabel(l);
    PaintLabel(l);
    EXPECT_EQ(l.LayoutCount(), GetParam().laysOut ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Label, LabelLayout,
    ::testing::Values(
        Mutation{"TheSameCaption", [](Label& l) { l.SetCaption(QStringLiteral("请等待玩家打开宝箱\n3")); }, false},
        Mutation{"AnotherCaption", [](Label& l) { l.SetCaption(QStringLiteral("请等待玩家打开宝箱\n2")); }, true},
        Mutation{"ACaptionSetDirectly", [](Label& l) { l.Caption = QStringLiteral("x"); }, true},
        Mutation{"AMoveOnly", [](Label& l) { l.Move(40, 70); }, false},
        Mutation{"AnotherWidth", [](Label& l) { l.Move(10, 10, 90); }, true},
        Mutation{"AnotherHeight", [](Label& l) { l.Move(10, 10, 150, 20); }, true},
        Mutation{"AnotherFontSize", [](Label& l) { l.FontSize = 16; }, true},
        Mutation{"BoldFont", [](Label& l) { l.FontBold = true; }, true},
        Mutation{"AnotherAlignment", [](Label& l) { l.Alignment = Label::Center; }, true},
        Mutation{"AnotherColour", [](Label& l) { l.ForeColor = 0xFF; }, false},
        Mutation{"AFilledBack", [](Label& l) { l.BackTransparent = false; }, false}),
    [](const ::testing::TestParamInfo<Mutation>& i) { return std::string(i.param.name); });

TEST(LabelText, AMegabyteCaptionIsLaidOutOnceForManyPaints)
{
    Label l(QStringLiteral("LbProp"));
    l.Move(0, 0, 200, 100);
    l.SetCaption(QStringLiteral("宝箱 word ").repeated((1 << 20) / 8));
    QElapsedTimer clock;
    clock.start();
    PaintLabel(l);
    const qint64 first = clock.restart();
    for (int i = 0; i < 20; ++i)
        PaintLabel(l);
    const qint64 twenty = clock.elapsed();
    EXPECT_EQ(l.LayoutCount(), 1);
    EXPECT_LT(twenty, first) << "twenty paints of the laid-out text cost less than laying it out once";
}

struct TextCase {
    const char* name;
    QString caption;
    QSizeF size;
    int alignment;
    float fontSize;
    bool bold;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class LabelPixels : public ::testing::TestWithParam<TextCase> {};

// The label draws the pixels QPainter::drawText draws for a word-wrapped,
// top-aligned caption in the label's rectangle.
TEST_P(LabelPixels, SameAsDrawText)
{
    const TextCase& c = GetParam();
    Label l(QStringLiteral("lbl"));
    l.Move(7.5f, 9.25f, static_cast<float>(c.size.width()), static_cast<float>(c.size.height()));
    l.Caption = c.caption;
    l.Alignment = c.alignment;
    l.FontSize = c.fontSize;
    l.FontBold = c.bold;
    l.ForeColor = 0x0000FF;
    const QImage drawn = PaintLabel(l);

    QImage want(drawn.size(), QImage::Format_ARGB32_Premultiplied);
    want.fill(Qt::white);
    {
        QPainter p(&want);
        QFont f = p.font();
        f.setPointSizeF(c.fontSize);
        f.setBold(c.bold);
        p.setFont(f);
        p.setPen(Qt::red);
        const int horizontal = c.alignment == Label::RightJustify ? Qt::AlignRight
                               : c.alignment == Label::Center    ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
        p.drawText(QRectF(7.5, 9.25, c.size.width(), c.size.height()), Qt::AlignTop | Qt::TextWordWrap | horizontal,
                   c.caption);
    }
    EXPECT_EQ(drawn, want);
    EXPECT_NE(want, [&] {
        QImage blank(drawn.size(), QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::white);
        return blank;
    }()) << "the case draws something";
}

INSTANTIATE_TEST_SUITE_P(
    Label, LabelPixels,
    ::testing::Values(
        TextCase{"ANumber", QStringLiteral("8"), {26, 26}, Label::Center, 16, true},
        TextCase{"ChineseWrapped", QStringLiteral("请选择一个宝箱打开，时间到了将自动打开"), {80, 100}, Label::LeftJustify, 9,
                 false},
        TextCase{"WordsWrappedRight", QStringLiteral("the quick brown fox jumps over the lazy dog"), {90, 100},
                 Label::RightJustify, 10, false},
        TextCase{"WordsWrappedCentred", QStringLiteral("the quick brown fox jumps over the lazy dog"), {90, 100},
                 Label::Center, 10, true},
        TextCase{"LineBreaks", QStringLiteral("请等待玩家打开宝箱\r\n12\n\nend"), {150, 100}, Label::Center, 12, false},
        TextCase{"TabsAndSpaces", QStringLiteral("a\tb  c   "), {150, 40}, Label::RightJustify, 9, false},
        TextCase{"AWordWiderThanTheLabel", QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789"), {60, 60},
                 Label::LeftJustify, 11, false},
        TextCase{"MoreLinesThanFit", QStringLiteral("one two three four five six seven eight nine ten"), {50, 30},
                 Label::Center, 9, false},
        TextCase{"ALargeFont", QStringLiteral("0.5"), {60, 30}, Label::RightJustify, 16, true}),
    [](const ::testing::TestParamInfo<TextCase>& i) { return std::string(i.param.name); });

// A surface with a picture source makes its back picture the first time it
// shows or paints, once, and not before.
namespace {
struct FirstUseCase {
    const char* name;
    std::function<void(GraphicSurface&)> use;
};
void PrintTo(const FirstUseCase& c, std::ostream* os) { *os << c.name; }

class BackPictureSourceTest : public ::testing::TestWithParam<FirstUseCase> {};
} // namespace

TEST_P(BackPictureSourceTest, MakesThePictureOnceAtFirstUse)
{
    GraphicSurface surface;
    surface.resize(40, 30);
    int made = 0;
    surface.BackPictureSource = [&made] {
        ++made;
        return Solid(40, 30, Qt::red);
    };
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(surface.BackPicture.isNull());
    GetParam().use(surface);
    GetParam().use(surface);
    EXPECT_EQ(made, 1);
    QImage shown(40, 30, QImage::Format_ARGB32_Premultiplied);
    surface.render(&shown);
    EXPECT_EQ(shown.pixelColor(20, 15), QColor(Qt::red));
}

INSTANTIATE_TEST_SUITE_P(Surface, BackPictureSourceTest,
                         ::testing::Values(FirstUseCase{"Show", [](GraphicSurface& s) { s.show(); }},
                                           FirstUseCase{"Paint",
                                                        [](GraphicSurface& s) {
                                                            QImage target(40, 30, QImage::Format_ARGB32);
                                                            s.render(&target);
                                                        }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackPictureSource, APictureSetBeforeFirstUseWins)
{
    GraphicSurface surface;
    surface.resize(40, 30);
    surface.BackPictureSource = [] { return Solid(40, 30, Qt::red); };
    surface.BackPicture = Solid(40, 30, Qt::blue);
    surface.show();
    EXPECT_EQ(surface.BackPicture.image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_FALSE(surface.BackPictureSource);
}
